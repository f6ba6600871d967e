// Runs the dialog's tests inside one application object, as the program runs its dialog.

#include <QApplication>
#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless unless the caller asks for a display (QT_QPA_PLATFORM=xcb to watch the tests).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The file dialog remembers its last folder in the user's configuration; keep that out of the
    // user's own.
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());

    ::testing::InitGoogleTest(&argc, argv);
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Ambersel_Test"));
    return RUN_ALL_TESTS();
}
