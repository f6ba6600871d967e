#include "ui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <utility>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ambersel::testing {

namespace {

void closeModal(QWidget& modal) {
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
        dialog->reject();
    } else {
        modal.close();
    }
}

}  // namespace

ModalWatcher::ModalWatcher(QWidget& owner, Action action)
    : QObject(&owner),
      m_owner(owner),
      m_action(std::move(action)),
      m_poller(new QTimer(this)),
      m_closer(new QTimer(this)) {
    m_poller->setInterval(10);
    connect(m_poller, &QTimer::timeout, this, &ModalWatcher::poll);
    m_closer->setInterval(10);
    connect(m_closer, &QTimer::timeout, this, &ModalWatcher::closeOthers);
    m_poller->start();
}

void ModalWatcher::stop() {
    m_poller->stop();
    m_closer->stop();
}

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == &m_owner || !modal->isVisible()) {
        return;
    }
    m_poller->stop();
    m_seen = QString::fromLatin1(modal->metaObject()->className());
    const QPointer<QWidget> guard(modal);
    m_acting = modal;
    m_closer->start();
    m_action(*modal);
    m_closer->stop();
    m_acting = nullptr;
    if (guard && guard->isVisible()) {
        closeModal(*guard);
    }
}

void ModalWatcher::closeOthers() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == &m_owner || modal == m_acting || !modal->isVisible()) {
        return;
    }
    m_seen += QLatin1Char(' ') + QString::fromLatin1(modal->metaObject()->className());
    closeModal(*modal);
}

QString whileWatching(QWidget& owner, ModalWatcher::Action action,
                      const std::function<void()>& trigger) {
    auto* watcher = new ModalWatcher(owner, std::move(action));
    trigger();
    watcher->stop();
    const QString seen = watcher->seen();
    watcher->deleteLater();
    return seen;
}

ModalWatcher::Action acknowledgeMessageBox(MessageBoxSeen& seen) {
    return [&seen](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr) {
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = static_cast<int>(box->standardButtons());
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        }
    };
}

ModalWatcher::Action dismiss() {
    return [](QWidget& modal) {
        if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
            dialog->reject();
        }
    };
}

ModalWatcher::Action typeFileName(QString name, QString folder) {
    return [name = std::move(name), folder = std::move(folder)](QWidget& modal) {
        auto* files = qobject_cast<QFileDialog*>(&modal);
        if (files == nullptr) {
            return;
        }
        if (!folder.isEmpty()) {
            files->setDirectory(folder);
        }
        if (auto* nameBox = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            nameBox->setText(name);
            QTest::keyClick(nameBox, Qt::Key_Return);
        }
    };
}

}  // namespace ambersel::testing
