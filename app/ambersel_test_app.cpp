#include "app/ambersel_test_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QString>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/ambersel_test_dlg.h"

namespace {

// The executable's name, for a start that hands over no argv[0] at all.
constexpr const char* kProgramName = "Ambersel_Test";
// Lets a desktop match the window to the installed desktop entry and its icon.
constexpr const char* kDesktopFileName = "org.ambersel.TestCalculator";

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

// Whether the toolkit will find a display to open the window on. On Linux that takes an X11 or a
// Wayland server, unless QT_QPA_PLATFORM names a platform that needs none (offscreen, vnc,
// linuxfb); without one the toolkit aborts the process with a message of its own.
bool displayAvailable() {
#ifdef __linux__
    const std::string_view platform = environment("QT_QPA_PLATFORM");
    if (!platform.empty() && !platform.starts_with("xcb") && !platform.starts_with("wayland")) {
        return true;
    }
    return !environment("DISPLAY").empty() || !environment("WAYLAND_DISPLAY").empty();
#else
    return true;
#endif
}

}  // namespace

int CAmbersel_TestApp::Run(int argc, char** argv) {
    std::string programPath = kProgramName;
    if (argc > 0 && argv != nullptr && argv[0] != nullptr && argv[0][0] != '\0') {
        programPath = argv[0];
    }
    const QString programName = QFileInfo(QString::fromLocal8Bit(programPath)).fileName();
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "%s: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY "
                     "is set); start it in a desktop session or over ssh -X, or evaluate a list "
                     "with ambersel-eval LIST.ASC\n",
                     programName.toLocal8Bit().constData());
        return kNoDisplay;
    }
    // The toolkit keeps referring to both for as long as it runs.
    int toolkitArgc = 1;
    char* toolkitArgv[] = {programPath.data(), nullptr};
    QApplication application(toolkitArgc, toolkitArgv);
    // Starting the toolkit has set the C library's locale from the environment. This is the one
    // place the project sets it back, for numbers only: the core converts numbers without the C
    // library, but the toolkit, its plugins and what they load may call printf or strtod, which
    // under a desktop language with a decimal comma would read "1.5" as 1. The command-line
    // evaluator needs no such step: nothing it runs after starting the toolkit for its pictures
    // converts numbers through the C library.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(programName);
    QApplication::setApplicationVersion(QStringLiteral(AMBERSEL_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    InitInstance();
    return 0;
}

void CAmbersel_TestApp::InitInstance() {
    CAmbersel_TestDlg dialog;
    // Closing by any means is handled alike, so how the dialog closed does not matter.
    DoModal(dialog);
}

int CAmbersel_TestApp::DoModal(CAmbersel_TestDlg& dialog) {
    return dialog.exec();
}
