// The details behind the dialog's result line: offered in a context menu only while a line is
// shown, and showing the list that gave that line.

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "dialog_test_support.h"
#include "test_files.h"
#include "ui/ambersel_test_dlg.h"
#include "ui/details_window.h"

namespace ambersel::testing {
namespace {

// Opens the dialog's context menu as the right mouse button does, triggers the entry `choose` if
// it is there, and returns the entries the menu offered; none when no menu came up.
QStringList contextMenu(QWidget& dialog, const QString& choose = {}) {
    QStringList entries;
    QTimer watcher;
    watcher.setSingleShot(true);
    QObject::connect(&watcher, &QTimer::timeout, &dialog, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : menu->actions()) {
            entries << action->text();
            if (action->text() == choose) {
                action->trigger();
            }
        }
        menu->close();
    });
    watcher.start(50);
    const QPoint inside(dialog.width() / 2, dialog.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, dialog.mapToGlobal(inside));
    QApplication::sendEvent(&dialog, &event);
    return entries;
}

const QString kDetails = QStringLiteral("Details\u2026");

TEST(Details, AreOfferedOnlyWhileALineIsShownAndShowItsList) {
    const TemporaryFolder folder;
    std::string list;
    for (int point = 0; point < 30; ++point) {
        list += std::to_string(150000 + point * 1000000) + "," + std::to_string(40 + point) + "\n";
    }
    const QString path = QString::fromStdString(folder.write("scan.ASC", list).string());
    CAmbersel_TestDlg dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_EQ(contextMenu(dialog), QStringList()) << "offered before any line was shown";

    EXPECT_EQ(chooseFile(dialog, path), QStringLiteral("QFileDialog"));
    EXPECT_EQ(calculate(dialog), QString());
    ASSERT_EQ(contextMenu(dialog, kDetails), QStringList{kDetails});
    auto* window = dialog.findChild<ui::DetailsWindow*>();
    ASSERT_NE(window, nullptr);
    const QString verdict = window->findChild<QLabel*>(QStringLiteral("verdict"))->text();
    EXPECT_TRUE(verdict.contains(dialog.findChild<QLabel*>(ui::IDC_RESULT)->text()))
        << verdict.toStdString();
    EXPECT_TRUE(verdict.contains(QStringLiteral(" dB"))) << verdict.toStdString();
    const auto* picture = window->findChild<QLabel*>(QStringLiteral("picture"));
    ASSERT_NE(picture, nullptr) << "the details show no picture";
    EXPECT_GE(picture->pixmap().width(), 600);
    EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("contributors"))->rowCount(), 10);
    // 150 kHz to 29.15 MHz spans the decades from 100 kHz to 100 MHz.
    EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("bands"))->rowCount(), 3);
    window->close();

    std::filesystem::remove(path.toStdString());
    EXPECT_TRUE(calculate(dialog).contains(QStringLiteral(": Error in the input file [")));
    EXPECT_EQ(contextMenu(dialog), QStringList()) << "offered with the line blank";
}

}  // namespace
}  // namespace ambersel::testing
