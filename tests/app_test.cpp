// The program from start to end: what reaches the toolkit, the program's name, the locale numbers
// are read and written in, and the dialog as the only window.

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ambersel_test_app.h"
#include "test_files.h"
#include "ui/ambersel_test_dlg.h"
#include "ui/resource.h"
#include "ui_test_support.h"

namespace {

using ambersel::testing::acknowledgeMessageBox;
using ambersel::testing::MessageBoxSeen;
using ambersel::testing::TemporaryFolder;
using ambersel::testing::typeFileName;
using ambersel::testing::whileWatching;

// What the running program looked like while its dialog was open.
struct Observed {
    bool dialogShown = false;
    QStringList toolkitArguments;
    QString applicationName;
    QString caption;
    Qt::LayoutDirection direction = Qt::RightToLeft;
    QString pathShown;
    int visibleWindows = 0;
    std::string numericLocale;
    double parsedHalf = 0.0;
    std::string printedHalf;
    QString resultShown;
};

// The program, observed from inside its dialog's modal loop. `whileOpen` may work the dialog; the
// dialog is then closed with Esc, as an operator would.
class ObservedApp : public CAmbersel_TestApp {
  public:
    using Work = std::function<void(CAmbersel_TestDlg&)>;
    explicit ObservedApp(Work whileOpen = {}) : m_whileOpen(std::move(whileOpen)) {}

    Observed observed;

  protected:
    int DoModal(CAmbersel_TestDlg& dialog) override {
        auto* look = new QTimer(&dialog);
        look->setSingleShot(true);
        QObject::connect(look, &QTimer::timeout, &dialog, [this, &dialog] {
            observe(dialog);
            if (m_whileOpen) {
                m_whileOpen(dialog);
                observed.resultShown =
                    dialog.findChild<QLabel*>(QString::fromLatin1(ambersel::ui::IDC_RESULT))
                        ->text();
            }
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        look->start(0);
        return CAmbersel_TestApp::DoModal(dialog);
    }

  private:
    void observe(const CAmbersel_TestDlg& dialog) {
        observed.dialogShown = dialog.isVisible();
        observed.toolkitArguments = QApplication::arguments();
        observed.applicationName = QApplication::applicationName();
        observed.caption = dialog.windowTitle();
        observed.direction = QApplication::layoutDirection();
        observed.pathShown =
            dialog.findChild<QLineEdit*>(QString::fromLatin1(ambersel::ui::IDC_FILEPATH))->text();
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            observed.visibleWindows += window->isVisible() ? 1 : 0;
        }
        observed.numericLocale = std::setlocale(LC_NUMERIC, nullptr);
        observed.parsedHalf = std::strtod("0.5", nullptr);
        char printed[16];
        std::snprintf(printed, sizeof printed, "%0.4f", 0.5);
        observed.printedHalf = printed;
    }

    Work m_whileOpen;
};

// Sets an environment variable for one test and puts back what was there.
class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const char* value) : m_name(name) {
        if (const char* previous = std::getenv(name)) {
            m_previous = previous;
        }
        ::setenv(name, value, 1);
    }
    ~EnvironmentVariable() {
        if (m_previous) {
            ::setenv(m_name.c_str(), m_previous->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

  private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// Puts the C library's locale back as it was.
class SavedLocale {
  public:
    SavedLocale() : m_saved(std::setlocale(LC_ALL, nullptr)) {}
    ~SavedLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
    SavedLocale(const SavedLocale&) = delete;
    SavedLocale& operator=(const SavedLocale&) = delete;

  private:
    std::string m_saved;
};

int run(CAmbersel_TestApp& app, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return app.Run(static_cast<int>(arguments.size()), argv.data());
}

TEST(Program, IgnoresItsArgumentsAndIsNamedAfterItsExecutable) {
    const std::string program = "/usr/bin/Ambersel_Test";
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        const char* toolkitSees;  // the only argument the toolkit is handed
        const char* programName;  // the title of the program's message boxes
    };
    const Row rows[] = {
        {"no arguments", {program}, "/usr/bin/Ambersel_Test", "Ambersel_Test"},
        {"a list file", {program, "/tmp/list.ASC"}, "/usr/bin/Ambersel_Test", "Ambersel_Test"},
        {"a display plugin that does not exist here",
         {program, "-platform", "no-such-platform"},
         "/usr/bin/Ambersel_Test",
         "Ambersel_Test"},
        {"a window title",
         {program, "-qwindowtitle", "Something else"},
         "/usr/bin/Ambersel_Test",
         "Ambersel_Test"},
        {"right-to-left layout", {program, "-reverse"}, "/usr/bin/Ambersel_Test", "Ambersel_Test"},
        {"a style sheet that does not exist",
         {program, "-stylesheet", "/none.qss"},
         "/usr/bin/Ambersel_Test",
         "Ambersel_Test"},
        {"a help request", {program, "--help"}, "/usr/bin/Ambersel_Test", "Ambersel_Test"},
        {"a renamed copy",
         {"./ambersel-lab", "-style", "windows"},
         "./ambersel-lab",
         "ambersel-lab"},
        {"no argv[0] at all", {}, "Ambersel_Test", "Ambersel_Test"},
        {"an empty argv[0]", {""}, "Ambersel_Test", "Ambersel_Test"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ObservedApp app;

        EXPECT_EQ(run(app, row.arguments), 0);

        const Observed& seen = app.observed;
        EXPECT_TRUE(seen.dialogShown);
        EXPECT_EQ(seen.toolkitArguments, QStringList{QString::fromLatin1(row.toolkitSees)});
        EXPECT_EQ(seen.applicationName, QString::fromLatin1(row.programName));
        EXPECT_EQ(seen.caption, QStringLiteral("Ambersel Test Calculator (R&S file format)"));
        EXPECT_EQ(seen.direction, Qt::LeftToRight);
        EXPECT_EQ(seen.pathShown, QString());
        EXPECT_EQ(seen.visibleWindows, 1) << "the dialog is not the only window";
    }
}

TEST(Program, ReadsAndWritesNumbersAlikeUnderACommaLocale) {
    // The desktop's language as the toolkit finds it in the environment and hands it to the C
    // library when it starts (only the first time in a process, so it is set here as well).
    const EnvironmentVariable german("LC_ALL", "de_DE.UTF-8");
    const SavedLocale saved;
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    ASSERT_EQ(std::strtod("0,5", nullptr), 0.5) << "not a comma locale, so this proves nothing";
    const TemporaryFolder folder;
    const QString list =
        QString::fromStdString(folder.write("list.ASC", "1000.0,100.00\n").string());
    MessageBoxSeen box;
    ObservedApp app([&](CAmbersel_TestDlg& dialog) {
        whileWatching(dialog, typeFileName(list), [&] {
            QTest::mouseClick(
                dialog.findChild<QPushButton*>(QString::fromLatin1(ambersel::ui::IDC_BROWSE)),
                Qt::LeftButton);
        });
        whileWatching(dialog, acknowledgeMessageBox(box), [&] {
            QTest::mouseClick(
                dialog.findChild<QPushButton*>(QString::fromLatin1(ambersel::ui::IDOK)),
                Qt::LeftButton);
        });
    });

    EXPECT_EQ(run(app, {"Ambersel_Test"}), 0);

    const Observed& seen = app.observed;
    ASSERT_TRUE(seen.dialogShown);
    EXPECT_EQ(seen.numericLocale, "C");
    EXPECT_EQ(seen.parsedHalf, 0.5);
    EXPECT_EQ(seen.printedHalf, "0.5000");
    EXPECT_EQ(seen.resultShown, QStringLiteral("PASS : F = 0.1210"));
    EXPECT_EQ(box.text, QString()) << "a message box came up";
}

}  // namespace
