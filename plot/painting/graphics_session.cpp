#include <QFile>
#include <QGuiApplication>
#include <QMessageLogContext>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "plot/painting/pictures.h"

namespace ambersel::plot {
namespace {

std::string g_programName;

// Qt's messages go to standard error with the program's name.
void forwardQtMessage(QtMsgType /*type*/, const QMessageLogContext& /*context*/,
                      const QString& message) {
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

// Qt wants a runtime folder and, where the environment names none (CI, a service account, sudo),
// makes /tmp/runtime-USER and leaves it there. The drawing gets a private one instead, removed
// with it.
class RuntimeFolder {
  public:
    RuntimeFolder() {
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            m_folder.emplace();
            if (m_folder->isValid()) {
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_folder->path()));
            }
        }
    }
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;
    ~RuntimeFolder() {
        if (m_folder) {
            qunsetenv("XDG_RUNTIME_DIR");
        }
    }

  private:
    std::optional<QTemporaryDir> m_folder;
};

}  // namespace

struct GraphicsSession::Toolkit {
    explicit Toolkit(const std::string& programName)
        : name(programName.c_str(), programName.c_str() + programName.size() + 1) {}

    MessageRoute route;
    RuntimeFolder runtime;
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
