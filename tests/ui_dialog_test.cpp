// The main dialog as the operator meets it: layout, keyboard, the file dialog, Calculate and its
// error reports, and the details behind a result. Every test builds its own dialog; modal windows
// are driven by watchers it owns.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "dialog_test_support.h"
#include "test_files.h"
#include "ui/ambersel_test_dlg.h"
#include "ui/chart_view.h"
#include "ui/details_window.h"
#include "ui/dialog_template.h"

namespace ambersel::testing {
namespace {

const QString kPass = QStringLiteral("PASS : F = 0.1210");

QString resultShown(const QWidget& dialog) {
    return dialog.findChild<QLabel*>(ui::IDC_RESULT)->text();
}
QString pathShown(const QWidget& dialog) {
    return dialog.findChild<QLineEdit*>(ui::IDC_FILEPATH)->text();
}
QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}
bool showActive(CAmbersel_TestDlg& dialog) {
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog);
}

TEST(DialogUnits, AreRoundedToTheNearestPixelOneCoordinateAtATime) {
    // With 7 x 14 pixel base units: a quarter pixel is rounded down, a half and three quarters up;
    // converting the bottom edge and subtracting the top would make the path field 24 pixels high.
    EXPECT_EQ(ui::toPixels(ui::DialogRect{263, 48, 50, 16}, {7, 14}), QRect(460, 84, 88, 28));
    EXPECT_EQ(ui::toPixels(ui::DialogRect{64, 9, 249, 14}, {7, 14}), QRect(112, 16, 436, 25));
    EXPECT_EQ(ui::toPixels(ui::DialogSize{320, 71}, {7, 14}), QSize(560, 124));
    EXPECT_EQ(ui::mulDiv(-50, 7, 4), -88) << "a negative half is not rounded away from zero";
    EXPECT_EQ(ui::mulDiv(50, 7, -4), -88) << "a negative denominator does not turn the sign";
    EXPECT_EQ(ui::mulDiv(INT_MAX, 3, 4), 1610612735) << "the product overflowed";
    EXPECT_EQ(ui::baseUnitsFromMetrics(385, 14), (ui::DialogBaseUnits{7, 14}));
    EXPECT_EQ(ui::baseUnitsFromMetrics(395, 14), (ui::DialogBaseUnits{8, 14}))
        << "7.596 pixels per letter were truncated";
}

TEST(Dialog, LaysOutItsTemplateInUnitsOfTheApplicationFont) {
    const QFont original = QApplication::font();
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPixelSize(21);
    for (const QFont& font : {original, large}) {
        SCOPED_TRACE(font.toString().toStdString());
        QApplication::setFont(font);
        CAmbersel_TestDlg dialog;
        QApplication::setFont(original);
        const ui::DialogBaseUnits units = ui::dialogBaseUnits(font);

        EXPECT_EQ(dialog.size(), toPixels(ui::kTestDialogSize, units));
        EXPECT_TRUE(dialog.minimumSize() == dialog.size() && dialog.maximumSize() == dialog.size())
            << "the frame can be resized";
        EXPECT_TRUE(dialog.windowIcon().availableSizes().contains(QSize(32, 32)));
        EXPECT_EQ(dialog.windowFlags() & ~Qt::WindowType_Mask,
                  Qt::CustomizeWindowHint | Qt::WindowTitleHint)
            << "the frame has window buttons";
        EXPECT_TRUE(dialog.findChild<QLabel*>(ui::IDC_RESULT)->alignment() & Qt::AlignHCenter);
        // What the operator sees, in dialog units of the dialog's font: each control where the
        // layout puts it, saying what it says; the result line centred across the dialog's width.
        const struct {
            const char* id;
            ui::DialogRect place;
            const char* text;
        } controls[] = {
            {ui::IDC_BROWSE, {9, 9, 50, 14}, "File"},   {ui::IDC_FILEPATH, {64, 9, 249, 14}, ""},
            {ui::IDC_RESULT, {7, 33, 306, 8}, ""},      {ui::IDCANCEL, {7, 48, 50, 16}, "Cancel"},
            {ui::IDOK, {263, 48, 50, 16}, "Calculate"},
        };
        for (const auto& control : controls) {
            SCOPED_TRACE(control.id);
            const QWidget* shown = dialog.findChild<QWidget*>(control.id);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->geometry(), toPixels(control.place, units));
            EXPECT_EQ(shown->property("text").toString(), QString::fromUtf8(control.text));
            EXPECT_TRUE(dialog.rect().contains(shown->geometry())) << "cut off by the frame";
        }
        EXPECT_TRUE(dialog.findChild<QLineEdit*>(ui::IDC_FILEPATH)->isReadOnly());
        EXPECT_TRUE(dialog.findChild<QPushButton*>(ui::IDOK)->isDefault());
    }
}

TEST(Dialog, StartsOnCalculateAndTabsInTemplateOrder) {
    CAmbersel_TestDlg dialog;
    ASSERT_TRUE(showActive(dialog));
    for (const char* focus : {ui::IDOK, ui::IDCANCEL, ui::IDC_BROWSE, ui::IDC_FILEPATH, ui::IDOK}) {
        ASSERT_EQ(QApplication::focusWidget(), dialog.findChild<QWidget*>(focus)) << focus;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST(Dialog, AnswersTheKeyboardAndACloseRequest) {
    const auto press = [](const char* focus, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return [=](QDialog& dialog) {
            QWidget* control = dialog.findChild<QWidget*>(focus);
            control->setFocus(Qt::TabFocusReason);
            QTest::keyClick(control, key, modifiers);
        };
    };
    const struct {
        const char* name;
        std::function<void(QDialog&)> act;
        int calculateRuns;
        const char* opened;  // the modal windows that came up
        bool dialogOpen;
    } rows[] = {
        {"Enter in the path field runs Calculate", press(ui::IDC_FILEPATH, Qt::Key_Return), 1, "",
         true},
        {"Enter on File opens the file dialog instead", press(ui::IDC_BROWSE, Qt::Key_Return), 0,
         "QFileDialog", true},
        {"Esc ends the dialog", press(ui::IDOK, Qt::Key_Escape), 0, "", false},
        {"Enter on Cancel ends the dialog instead", press(ui::IDCANCEL, Qt::Key_Return), 0, "",
         false},
        {"a close request ends the dialog", [](QDialog& dialog) { dialog.close(); }, 0, "", false},
        {"the path field takes neither typing nor pasting",
         [&](QDialog& dialog) {
             press(ui::IDC_FILEPATH, Qt::Key_X)(dialog);
             press(ui::IDC_FILEPATH, Qt::Key_V, Qt::ControlModifier)(dialog);
         },
         0, "", true},
    };
    QApplication::clipboard()->setText(QStringLiteral("/elsewhere/other.ASC"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int runs = 0;
        CAmbersel_TestDlg dialog([&runs](std::u16string_view) {
            ++runs;
            return CalculationOutcome::withResultLine(u"PASS : F = 0.5000");
        });
        ASSERT_TRUE(showActive(dialog));
        EXPECT_EQ(whileWatching(dialog, {}, [&] { row.act(dialog); }),
                  QString::fromLatin1(row.opened));
        EXPECT_EQ(runs, row.calculateRuns);
        EXPECT_EQ(dialog.isVisible(), row.dialogOpen);
        EXPECT_EQ(pathShown(dialog), QString());
    }
}

TEST(FileDialog, OpensAndListsAscFilesInAnyLetterCase) {
    const TemporaryFolder folder;
    for (const char* name : {"x.asc", "Y.ASC", "z.txt"}) {
        folder.write(name, "");
    }
    std::filesystem::create_directory(folder.path() / "sub");
    const QString base = qPath(folder.path());
    CAmbersel_TestDlg dialog;
    ASSERT_TRUE(showActive(dialog));
    QStringList listed;
    const auto look = [&](QWidget& modal) {
        auto* files = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->nameFilters(),
                  QStringList{QStringLiteral("Frequency-Level list (*.ASC)")});
        const auto* view = files->findChild<QListView*>(QStringLiteral("listView"));
        const auto* model = files->findChild<QFileSystemModel*>();
        ASSERT_TRUE(view != nullptr && model != nullptr);
        // The folder is read in the background; the list is complete once it has been.
        bool loaded = false;
        QObject::connect(model, &QFileSystemModel::directoryLoaded, files,
                         [&](const QString& path) { loaded = loaded || path == base; });
        files->setDirectory(base);
        const auto rows = [&] { return view->model()->rowCount(view->rootIndex()); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded && rows() > 0; }));
        for (int row = 0; row < rows(); ++row) {
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
    };
    ASSERT_EQ(pressing(dialog, ui::IDC_BROWSE, look), QStringLiteral("QFileDialog"));
    listed.sort(Qt::CaseInsensitive);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("sub"), QStringLiteral("x.asc"),
                                   QStringLiteral("Y.ASC")}));
}

// The message box Calculate shows, with its program's name as title and an OK button.
QString report(QMessageBox::Icon icon, const QString& text) {
    return QStringLiteral("%1 Ambersel_Test: %2 [%3]").arg(icon).arg(text).arg(QMessageBox::Ok);
}

// One operator's session with one dialog: the file dialog stores the chosen path, and Calculate
// shows the verdict of the file as it is then or reports why there is none; the dialog carries on.
TEST(Dialog, StoresTheChosenFileAndShowsItsVerdictOrWhyThereIsNone) {
    const TemporaryFolder folder;
    const QString list = qPath(folder.write("list.ASC", "1000,100\n"));
    const QString missing = qPath(folder.path() / "missing.asc");
    std::function<void()> beforeReading;
    CAmbersel_TestDlg dialog([&](std::u16string_view path) {
        if (beforeReading) {
            beforeReading();
        }
        return calculateFromFile(path);
    });
    ASSERT_TRUE(showActive(dialog));
    QString box;
    const auto choose = [&](const QString& name) {
        return [&, name] {
            box.clear();
            EXPECT_EQ(chooseFile(dialog, name), QStringLiteral("QFileDialog"));
        };
    };
    const auto press = [&](const std::function<void()>& before = {}) {
        return [&, before] {
            beforeReading = before;
            box = calculate(dialog);
        };
    };
    // `report`: the message box that came up; empty: none did.
    struct Step {
        const char* name;
        std::function<void()> act;
        QString path, line, report;
    };
    const QString blank;
    const QString kFail = QStringLiteral("FAIL : F = 1.2104");
    const QString kUnreadable =
        report(QMessageBox::Warning, QStringLiteral("Error in the input file"));
    const QString kFailed = QStringLiteral("The command could not be completed");
    const Step steps[] = {
        {"Calculate before any file is chosen", press(), blank, blank, kUnreadable},
        {"a name typed without extension gets .ASC", choose(qPath(folder.path() / "list")), list,
         blank, blank},
        {"Calculate on a passing list", press(), list, kPass, blank},
        {"a standard exception from the calculation", press([] { throw std::runtime_error("-"); }),
         list, blank, report(QMessageBox::Critical, kFailed + ": -")},
        {"the next Calculate after it", press(), list, kPass, blank},
        {"something thrown that is no standard exception", press([] { throw 42; }), list, blank,
         report(QMessageBox::Critical, kFailed + " because of an unexpected error.")},
        {"the list changed since", press([&] { folder.write("list.ASC", "1000,120\n"); }), list,
         kFail, blank},
        {"Cancel in the file dialog changes nothing", choose(blank), list, kFail, blank},
        {"a missing file is accepted and the verdict stays until Calculate", choose(missing),
         missing, kFail, blank},
        {"Calculate on the missing file blanks the line", press(), missing, blank, kUnreadable},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(pathShown(dialog) + " | " + resultShown(dialog) + " | " + box,
                  step.path + " | " + step.line + " | " + step.report);
        EXPECT_TRUE(dialog.isVisible());
    }
}

// The details behind the result line: offered in a context menu only while a line is shown, and
// showing the list that gave that line.

// Opens the dialog's context menu as the right mouse button does, triggers the entry `choose` if
// it is there, and returns the entries the menu offered; none when no menu came up.
QStringList contextMenu(QWidget& dialog, const QString& choose = {}) {
    QStringList entries;
    const QPoint inside(dialog.width() / 2, dialog.height() / 2);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, dialog.mapToGlobal(inside));
    const auto offered = [&](QWidget& menu) {
        for (QAction* action : menu.actions()) {
            entries << action->text();
            if (action->text() == choose) {
                action->trigger();
            }
        }
    };
    whileWatching(dialog, offered, [&] { QApplication::sendEvent(&dialog, &event); });
    return entries;
}

const QString kDetails = QStringLiteral("Details\u2026");

TEST(Details, AreOfferedOnlyWhileALineIsShownAndShowItsList) {
    const TemporaryFolder folder;
    std::string list;
    for (int point = 0; point < 30; ++point) {
        list += std::to_string(150000 + point * 1000000) + "," + std::to_string(40 + point) + "\n";
    }
    const QString path = qPath(folder.write("scan.ASC", list));
    constexpr std::int64_t kWritten = 1796622355;
    const auto writtenAt =
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds{std::chrono::seconds{kWritten}});
    std::filesystem::last_write_time(path.toStdString(), writtenAt);
    CAmbersel_TestDlg dialog;
    ASSERT_TRUE(showActive(dialog));

    EXPECT_EQ(contextMenu(dialog), QStringList()) << "offered before any line was shown";

    EXPECT_EQ(chooseFile(dialog, path), QStringLiteral("QFileDialog"));
    EXPECT_EQ(calculate(dialog), QString());
    ASSERT_EQ(contextMenu(dialog, kDetails), QStringList{kDetails});
    auto* window = dialog.findChild<ui::DetailsWindow*>();
    ASSERT_NE(window, nullptr);
    const QString verdict = window->findChild<QLabel*>(QStringLiteral("verdict"))->text();
    EXPECT_TRUE(verdict.contains(resultShown(dialog))) << verdict.toStdString();
    EXPECT_TRUE(verdict.contains(QStringLiteral(" dB"))) << verdict.toStdString();
    ASSERT_NE(window->findChild<ui::ChartView*>(QStringLiteral("picture")), nullptr)
        << "the details show no picture";
    EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("contributors"))->rowCount(), 10);
    // 150 kHz to 29.15 MHz spans the decades from 100 kHz to 100 MHz.
    EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("bands"))->rowCount(), 3);
    ASSERT_TRUE(window->record().file.has_value()) << "the record names no file facts";
    EXPECT_EQ(window->record().file->size, list.size());
    EXPECT_EQ(window->record().file->sha256,
              "913b9101e3f498c8397a8e93d8a3115530646d1eb5bdc6cc9c56c14eecc902a1");
    EXPECT_EQ(window->record().file->modifiedSeconds, kWritten);
    window->close();

    // Facts of a file written since Calculate read it would vouch for a list it no longer holds;
    // a time put back after the write cannot make them do so.
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::app) << "1000,100\n";
    std::filesystem::last_write_time(path.toStdString(), writtenAt);
    ASSERT_EQ(contextMenu(dialog, kDetails), QStringList{kDetails});
    window = dialog.findChildren<ui::DetailsWindow*>().last();
    EXPECT_FALSE(window->record().file.has_value()) << "facts of the changed file";
    EXPECT_TRUE(window->record().fileWrittenAfterReading);
    window->close();

    std::filesystem::remove(path.toStdString());
    EXPECT_TRUE(calculate(dialog).contains(QStringLiteral(": Error in the input file [")));
    EXPECT_EQ(contextMenu(dialog), QStringList()) << "offered with the line blank";
}

}  // namespace
}  // namespace ambersel::testing

// All the tests run inside one application object, as the program runs its dialog.
int main(int argc, char** argv) {
    // Headless unless the caller asks for a display (QT_QPA_PLATFORM=xcb to watch the tests).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The file dialog remembers its last folder in the user's configuration; keep that out of
    // theirs.
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    // Without a runtime folder named, the toolkit would make /tmp/runtime-USER and leave it, even
    // when this program only lists its tests for the build.
    const QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Ambersel_Test"));
    return RUN_ALL_TESTS();
}
