#pragma once

// Helpers for the tests of the dialog: driving the modal windows (the file dialog, message boxes,
// the context menu) whose event loops would otherwise block a test, and readable QStrings in
// failure messages.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <ostream>

#include "ui/resource.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ambersel::testing {

using ModalAction = std::function<void(QWidget& modal)>;

// Runs `trigger`, which may open a modal window or a popup menu over `owner` and wait for it to
// close. A watcher hands the first such window to `action` (if any) and then closes it, as Cancel
// would, should it still be open; any further modal window (say, a warning the first one shows)
// is closed at once, so that a test fails instead of hanging. Returns the classes of the modal
// windows seen, e.g. "QFileDialog" or "QFileDialog QMessageBox".
inline QString whileWatching(QWidget& owner, const ModalAction& action,
                             const std::function<void()>& trigger) {
    QStringList seen;
    QPointer<QWidget> first;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &owner, [&] {
        QWidget* modal = QApplication::activePopupWidget() != nullptr
                             ? QApplication::activePopupWidget()
                             : QApplication::activeModalWidget();
        if (modal == nullptr || modal == &owner || modal == first || !modal->isVisible()) {
            return;
        }
        seen << QString::fromLatin1(modal->metaObject()->className());
        if (seen.size() > 1) {
            modal->close();
            return;
        }
        first = modal;
        // The action runs from the modal window's own loop, where the watcher goes on watching.
        QTimer::singleShot(0, modal, [&action, modal] {
            if (action) {
                action(*modal);
            }
            if (modal->isVisible()) {
                modal->close();
            }
        });
    });
    watcher.start(10);
    trigger();
    return seen.join(QLatin1Char(' '));
}

// Presses the button `name` of `dialog` while watching, as whileWatching() does, for a modal window
// to hand to `action`.
inline QString pressing(QWidget& dialog, const char* name, const ModalAction& action = {}) {
    return whileWatching(dialog, action, [&] {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    });
}

// Presses File and, in the file dialog, types `name` into the name box and presses Enter; an empty
// name cancels the file dialog. Returns the modal windows seen.
inline QString chooseFile(QWidget& dialog, const QString& name) {
    return pressing(dialog, ambersel::ui::IDC_BROWSE, [&](QWidget& modal) {
        auto* box = modal.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (box != nullptr && !name.isEmpty()) {
            box->setText(name);
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
}

// Presses Calculate; a message box it opens is closed and returned as "icon title: text [buttons]",
// in QMessageBox's numbers. Empty when none came up.
inline QString calculate(QWidget& dialog) {
    QString seen;
    pressing(dialog, ambersel::ui::IDOK, [&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            seen = QStringLiteral("%1 %2: %3 [%4]")
                       .arg(box->icon())
                       .arg(box->windowTitle(), box->text())
                       .arg(box->standardButtons().toInt());
        }
    });
    return seen;
}

}  // namespace ambersel::testing
