// The program from start to end: what reaches the toolkit, the program's name, the locale numbers
// are read and written in, and the dialog as the only window.

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <functional>
#include <string>
#include <vector>

#include "app/ambersel_test_app.h"
#include "ui/ambersel_test_dlg.h"
#include "ui/resource.h"

namespace ambersel::testing {
namespace {

// The program, worked by `whileOpen` from inside its dialog's modal loop; the dialog is then closed
// with Esc, as an operator would.
class WorkedApp : public CAmbersel_TestApp {
  public:
    explicit WorkedApp(std::function<void(QDialog&)> whileOpen) : whileOpen(std::move(whileOpen)) {}

    std::function<void(QDialog&)> whileOpen;
    bool worked = false;  // whether `whileOpen` ran

  protected:
    int DoModal(CAmbersel_TestDlg& dialog) override {
        QTimer::singleShot(0, &dialog, [this, &dialog] {
            worked = true;
            whileOpen(dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        return CAmbersel_TestApp::DoModal(dialog);
    }
};

int run(CAmbersel_TestApp& app, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return app.Run(static_cast<int>(arguments.size()), argv.data());
}

// Under a German desktop, whose decimal comma the toolkit hands to the C library when it starts
// (only the first time in a process, so it is set here as well), and without a display server.
// The environment is this program's own: it holds no other test.
TEST(Program, IgnoresItsArgumentsIsNamedAfterItsExecutableAndReadsNumbersWithAPoint) {
    qputenv("LC_ALL", "de_DE.UTF-8");
    // Where de_DE.UTF-8 is missing (scripts/install-deps generates it), this stays the C locale.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    // The toolkit is handed only `toolkitSees` (nullptr: no toolkit is started); `programName` is
    // the title of the program's message boxes.
    const struct {
        const char *name, *platform;
        std::vector<std::string> arguments;
        const char *toolkitSees, *programName;
    } rows[] = {
        {"a missing display plugin, right-to-left layout, a list file and a help request",
         "offscreen",
         {"/usr/bin/Ambersel_Test", "-platform", "no-such-platform", "-reverse", "/tmp/list.ASC",
          "--help"},
         "/usr/bin/Ambersel_Test",
         "Ambersel_Test"},
        {"a renamed copy", "offscreen", {"./ambersel-lab"}, "./ambersel-lab", "ambersel-lab"},
        {"no argv[0] at all", "offscreen", {}, "Ambersel_Test", "Ambersel_Test"},
        {"an empty argv[0]", "offscreen", {""}, "Ambersel_Test", "Ambersel_Test"},
        // Where the toolkit would abort for want of a display, the program says so and ends.
        {"the default platform without a display", "", {"Ambersel_Test"}, nullptr, nullptr},
        {"X11 without a display", "xcb", {"Ambersel_Test"}, nullptr, nullptr},
        {"Wayland without a display", "wayland", {"Ambersel_Test"}, nullptr, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        qputenv("QT_QPA_PLATFORM", row.platform);
        WorkedApp app([&](QDialog& dialog) {
            EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
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
        const bool shown = row.toolkitSees != nullptr;
        EXPECT_EQ(run(app, row.arguments), shown ? 0 : CAmbersel_TestApp::kNoDisplay);
        EXPECT_EQ(app.worked, shown);
    }
}

}  // namespace
}  // namespace ambersel::testing
