#include <QGuiApplication>
#include <QMessageLogContext>
#include <QString>

#include <cstdio>
#include <cstring>
#include <vector>

#include "plot/painting/pictures.h"

namespace ambersel::plot {
namespace {

std::string g_programName;

// Qt's messages go to standard error with the program's name, except its notes about the runtime
// folder it makes for itself when the environment names none (as under CI or a service account):
// they say nothing about the picture and would read like a problem with the list.
void forwardQtMessage(QtMsgType type, const QMessageLogContext& /*context*/,
                      const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg &&
        message.startsWith(QStringLiteral("QStandardPaths: "))) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", g_programName.c_str(), message.toLocal8Bit().constData());
}

class MessageRoute {
  public:
    MessageRoute() : m_previous(qInstallMessageHandler(forwardQtMessage)) {}
    MessageRoute(const MessageRoute&) = delete;
    MessageRoute& operator=(const MessageRoute&) = delete;
    ~MessageRoute() { qInstallMessageHandler(m_previous); }

  private:
    QtMessageHandler m_previous;
};

}  // namespace

struct GraphicsSession::Toolkit {
    explicit Toolkit(const std::string& programName)
        : name(programName.c_str(), programName.c_str() + programName.size() + 1) {}

    MessageRoute route;
    // The application object keeps references to these for its whole life.
    std::vector<char> name;
    int argc = 1;
    char* argv[2] = {name.data(), nullptr};
    QGuiApplication application{argc, argv};
};

GraphicsSession::GraphicsSession(const std::string& programName) {
    g_programName = programName;
    // Pictures are drawn offscreen: no display is needed or used, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    m_toolkit = std::make_unique<Toolkit>(programName);
}

GraphicsSession::~GraphicsSession() = default;

}  // namespace ambersel::plot
