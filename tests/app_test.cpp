// The program from start to end: what reaches the toolkit, the program's name, the locale numbers
// are read and written in, and the dialog as the only window.

#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ambersel_test_app.h"
#include "dialog_test_support.h"
#include "test_files.h"
#include "ui/ambersel_test_dlg.h"

namespace ambersel::testing {
namespace {

// The program, worked by `whileOpen` from inside its dialog's modal loop; the dialog is then closed
// with Esc, as an operator would.
class WorkedApp : public CAmbersel_TestApp {
  public:
    explicit WorkedApp(std::function<void(QDialog&)> whileOpen)
        : m_whileOpen(std::move(whileOpen)) {}

    bool worked = false;  // whether `whileOpen` ran

  protected:
    int DoModal(CAmbersel_TestDlg& dialog) override {
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            worked = true;
            m_whileOpen(dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        return CAmbersel_TestApp::DoModal(dialog);
    }

  private:
    std::function<void(QDialog&)> m_whileOpen;
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
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        const char* toolkitSees;  // the only argument the toolkit is handed
        const char* programName;  // the title of the program's message boxes
    };
    const Row rows[] = {
        {"a missing display plugin, right-to-left layout, a list file and a help request",
         {"/usr/bin/Ambersel_Test", "-platform", "no-such-platform", "-reverse", "/tmp/list.ASC",
          "--help"},
         "/usr/bin/Ambersel_Test",
         "Ambersel_Test"},
        {"a renamed copy", {"./ambersel-lab"}, "./ambersel-lab", "ambersel-lab"},
        {"no argv[0] at all", {}, "Ambersel_Test", "Ambersel_Test"},
        {"an empty argv[0]", {""}, "Ambersel_Test", "Ambersel_Test"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WorkedApp app([&](QDialog& dialog) {
            EXPECT_EQ(QApplication::arguments(), QStringList{QString::fromLatin1(row.toolkitSees)});
            EXPECT_EQ(QApplication::applicationName(), QString::fromLatin1(row.programName));
            EXPECT_EQ(QApplication::layoutDirection(), Qt::LeftToRight);
            EXPECT_EQ(dialog.findChild<QLineEdit*>(ui::IDC_FILEPATH)->text(), QString());
            EXPECT_EQ(
                std::ranges::count_if(QApplication::topLevelWidgets(),
                                      [](const QWidget* window) { return window->isVisible(); }),
                1)
                << "the dialog is not the only window";
        });
        EXPECT_EQ(run(app, row.arguments), 0);
        EXPECT_TRUE(app.worked);
    }
}

// Where the toolkit would abort for want of a display, the program says so and ends instead.
TEST(Program, WithoutADisplaySaysSoAndEnds) {
    struct Kept {  // puts the variables back as they were
        const char* name;
        std::optional<QByteArray> value;
    };
    std::vector<Kept> kept;
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        kept.push_back({name, qEnvironmentVariableIsSet(name)
                                  ? std::optional<QByteArray>(qgetenv(name))
                                  : std::nullopt});
        qunsetenv(name);
    }
    for (const char* platform : {"", "xcb", "wayland"}) {
        SCOPED_TRACE(platform);
        qputenv("QT_QPA_PLATFORM", platform);
        WorkedApp app([](QDialog&) {});
        EXPECT_EQ(run(app, {"Ambersel_Test"}), CAmbersel_TestApp::kNoDisplay);
        EXPECT_FALSE(app.worked);
    }
    for (const Kept& variable : kept) {
        if (variable.value) {
            qputenv(variable.name, *variable.value);
        } else {
            qunsetenv(variable.name);
        }
    }
}

TEST(Program, ReadsAndWritesNumbersWithAPointUnderAGermanDesktop) {
    struct Restore {  // puts the environment's LC_ALL and the C library's locale back
        QByteArray environment = qgetenv("LC_ALL");
        std::string locale = std::setlocale(LC_ALL, nullptr);
        ~Restore() {
            qputenv("LC_ALL", environment);
            std::setlocale(LC_ALL, locale.c_str());
        }
    } const restore;
    // The desktop's language as the toolkit finds it in the environment and hands it to the C
    // library when it starts (only the first time in a process, so it is set here as well).
    qputenv("LC_ALL", "de_DE.UTF-8");
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/install-deps generates it)";
    }
    const TemporaryFolder folder;
    const QString list =
        QString::fromStdString(folder.write("list.ASC", "1000.0,100.00\n").string());
    WorkedApp app([&](QDialog& dialog) {
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
        chooseFile(dialog, list);
        EXPECT_EQ(calculate(dialog).text, QString());
        EXPECT_EQ(dialog.findChild<QLabel*>(ui::IDC_RESULT)->text(),
                  QStringLiteral("PASS : F = 0.1210"));
    });
    EXPECT_EQ(run(app, {"Ambersel_Test"}), 0);
    EXPECT_TRUE(app.worked);
}

}  // namespace
}  // namespace ambersel::testing
