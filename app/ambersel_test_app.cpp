#include "app/ambersel_test_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QString>

#include <clocale>
#include <string>

#include "ui/ambersel_test_dlg.h"

namespace {

// The executable's name, for a start that hands over no argv[0] at all.
constexpr const char* kProgramName = "Ambersel_Test";
// Lets a desktop match the window to the installed desktop entry and its icon.
constexpr const char* kDesktopFileName = "org.ambersel.TestCalculator";

}  // namespace

int CAmbersel_TestApp::Run(int argc, char** argv) {
    std::string programPath = kProgramName;
    if (argc > 0 && argv != nullptr && argv[0] != nullptr && argv[0][0] != '\0') {
        programPath = argv[0];
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
    QApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(programPath)).fileName());
    QApplication::setApplicationVersion(QStringLiteral(AMBERSEL_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));

    if (InitInstance()) {
        return QApplication::exec();
    }
    return 0;
}

bool CAmbersel_TestApp::InitInstance() {
    CAmbersel_TestDlg dialog;
    // Closing by any means is handled alike, so how the dialog closed does not matter.
    DoModal(dialog);
    return false;
}

int CAmbersel_TestApp::DoModal(CAmbersel_TestDlg& dialog) {
    return dialog.exec();
}
