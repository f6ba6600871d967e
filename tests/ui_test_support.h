#pragma once

// Helpers for the tests of the dialog and the program: driving the modal windows (the file
// dialog, message boxes) whose event loops would otherwise block a test, and readable QStrings in
// failure messages.

#include <QObject>
#include <QString>

#include <functional>
#include <ostream>

class QTimer;
class QWidget;

void PrintTo(const QString& text, std::ostream* out);

namespace ambersel::testing {

// Polls the toolkit for a modal window other than `owner` and hands the first one it sees to the
// action, once. Any further modal window that comes up meanwhile (say, a warning the first one
// shows) is noted and closed, and so is the first one should the action leave it open: a test then
// fails instead of hanging. The watcher is a child of `owner`, so it cannot outlive the dialog of
// the test that made it.
class ModalWatcher : public QObject {
  public:
    using Action = std::function<void(QWidget& modal)>;

    ModalWatcher(QWidget& owner, Action action);

    void stop();
    // The classes of the modal windows seen, e.g. "QFileDialog" or "QFileDialog QMessageBox".
    const QString& seen() const { return m_seen; }

  private:
    void poll();
    void closeOthers();

    QWidget& m_owner;
    Action m_action;
    QTimer* m_poller;  // owned by this watcher
    QTimer* m_closer;  // owned by this watcher; runs while the action does
    QWidget* m_acting = nullptr;
    QString m_seen;
};

// Runs `trigger`, which may open a modal window over `owner` and wait for it to close, with a
// watcher that hands that window to `action`; the watcher looks no further once `trigger` returns.
// Returns the classes of the modal windows that came up, as ModalWatcher::seen() gives them.
QString whileWatching(QWidget& owner, ModalWatcher::Action action,
                      const std::function<void()>& trigger);

// What a message box showed.
struct MessageBoxSeen {
    QString title;
    QString text;
    int icon = 0;     // QMessageBox::Icon
    int buttons = 0;  // QMessageBox::StandardButtons
};

// Records the message box it is given and presses its OK button.
ModalWatcher::Action acknowledgeMessageBox(MessageBoxSeen& seen);

// Closes whatever modal window it is given, as its Cancel button or Esc would.
ModalWatcher::Action dismiss();

// In a file dialog: types `name` into the name box, in `folder` first if one is given, and
// presses Enter.
ModalWatcher::Action typeFileName(QString name, QString folder = {});

}  // namespace ambersel::testing
