// The main dialog as the operator meets it: layout, keyboard, the file dialog, Calculate and its
// error reports. Every test builds its own dialog; modal windows are driven by watchers it owns.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_files.h"
#include "ui/ambersel_test_dlg.h"
#include "ui/dialog_units.h"
#include "ui/resource.h"
#include "ui_test_support.h"

namespace {

using ambersel::CalculationOutcome;
using ambersel::testing::acknowledgeMessageBox;
using ambersel::testing::dismiss;
using ambersel::testing::MessageBoxSeen;
using ambersel::testing::TemporaryFolder;
using ambersel::testing::typeFileName;
using ambersel::testing::whileWatching;
namespace id = ambersel::ui;

const QString kError = QStringLiteral("Error in the input file");

template <typename Widget = QWidget>
Widget* control(const QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        ADD_FAILURE() << "no control " << name;
    }
    return widget;
}

QString resultShown(const QWidget& dialog) {
    return control<QLabel>(dialog, id::IDC_RESULT)->text();
}
QString pathShown(const QWidget& dialog) {
    return control<QLineEdit>(dialog, id::IDC_FILEPATH)->text();
}

QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A Calculate command that counts its runs and remembers what it was given.
struct FakeCalculation {
    int runs = 0;
    std::u16string lastPath;
    std::function<CalculationOutcome()> outcome = [] {
        return CalculationOutcome::withResultLine(u"PASS : F = 0.5000");
    };

    CAmbersel_TestDlg::Calculation command() {
        return [this](std::u16string_view path) {
            ++runs;
            lastPath = path;
            return outcome();
        };
    }
};

// The dialog on screen with the keyboard focus, as the program shows it.
bool showActive(CAmbersel_TestDlg& dialog) {
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog);
}

// Presses File and, in the file dialog, types `name` into the name box and presses Enter. The name
// is taken relative to `folder` when one is given, as the operator types a bare name.
void chooseFile(CAmbersel_TestDlg& dialog, const QString& name, const QString& folder = {}) {
    const QString opened = whileWatching(dialog, typeFileName(name, folder), [&] {
        QTest::mouseClick(control<QPushButton>(dialog, id::IDC_BROWSE), Qt::LeftButton);
    });
    EXPECT_EQ(opened, QStringLiteral("QFileDialog"));
}

// Presses Calculate; a message box it opens is recorded and acknowledged.
MessageBoxSeen calculate(CAmbersel_TestDlg& dialog) {
    MessageBoxSeen seen;
    whileWatching(dialog, acknowledgeMessageBox(seen), [&] {
        QTest::mouseClick(control<QPushButton>(dialog, id::IDOK), Qt::LeftButton);
    });
    return seen;
}

class ApplicationFont {
  public:
    explicit ApplicationFont(const QFont& font) : m_saved(QApplication::font()) {
        QApplication::setFont(font);
    }
    ~ApplicationFont() { QApplication::setFont(m_saved); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

  private:
    QFont m_saved;
};

TEST(Dialog, LaysOutItsControlsInUnitsOfTheApplicationFont) {
    struct Expected {
        const char* name;
        const char* text;
        ambersel::ui::DialogRect rect;
    };
    // The template as the operator measures it, in dialog units.
    const Expected controls[] = {
        {id::IDOK, "Calculate", {263, 48, 50, 16}}, {id::IDCANCEL, "Cancel", {7, 48, 50, 16}},
        {id::IDC_RESULT, "", {7, 33, 306, 8}},      {id::IDC_BROWSE, "File", {9, 9, 50, 14}},
        {id::IDC_FILEPATH, "", {64, 9, 249, 14}},
    };
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPixelSize(21);
    struct FontRow {
        const char* name;
        QFont font;
    };
    const FontRow fonts[] = {{"the default font", QApplication::font()},
                             {"a large desktop font", large}};
    for (const FontRow& row : fonts) {
        SCOPED_TRACE(row.name);
        const ApplicationFont applicationFont(row.font);
        const ambersel::ui::DialogBaseUnits units = ambersel::ui::dialogBaseUnits(row.font);
        CAmbersel_TestDlg dialog;
        ASSERT_TRUE(showActive(dialog));

        EXPECT_EQ(dialog.windowTitle(),
                  QStringLiteral("Ambersel Test Calculator (R&S file format)"));
        const QSize client = toPixels(ambersel::ui::DialogSize{320, 71}, units);
        EXPECT_EQ(dialog.size(), client);
        EXPECT_EQ(dialog.minimumSize(), client) << "the frame can be made smaller";
        EXPECT_EQ(dialog.maximumSize(), client) << "the frame can be made larger";
        for (const Expected& expected : controls) {
            SCOPED_TRACE(expected.name);
            const QWidget* widget = control(dialog, expected.name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->geometry(), toPixels(expected.rect, units));
        }
        for (const Expected& expected : controls) {
            if (const auto* button = qobject_cast<QPushButton*>(control(dialog, expected.name))) {
                EXPECT_EQ(button->text(), QString::fromLatin1(expected.text));
                EXPECT_TRUE(button->shortcut().isEmpty()) << expected.name << " has a mnemonic";
            }
        }
        EXPECT_EQ(resultShown(dialog), QString());
        EXPECT_TRUE(control<QLabel>(dialog, id::IDC_RESULT)->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(pathShown(dialog), QString());
    }
}

TEST(Dialog, HasAFixedFrameWithoutWindowButtonsAndCarriesItsIcon) {
    CAmbersel_TestDlg dialog;
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "the window system adds its own buttons";
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    const QList<QSize> sizes = dialog.windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32))) << "no 32 x 32 window icon";
}

TEST(Dialog, StartsOnCalculateAndTabsThroughTheTemplateOrder) {
    struct Row {
        const char* name;
        Qt::KeyboardModifiers modifiers;
        std::vector<const char*> focusAfterEachTab;
    };
    const Row rows[] = {
        {"Tab goes Calculate, Cancel, File, path field and round again",
         Qt::NoModifier,
         {id::IDCANCEL, id::IDC_BROWSE, id::IDC_FILEPATH, id::IDOK}},
        {"Shift+Tab goes the other way round",
         Qt::ShiftModifier,
         {id::IDC_FILEPATH, id::IDC_BROWSE, id::IDCANCEL, id::IDOK}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CAmbersel_TestDlg dialog;
        ASSERT_TRUE(showActive(dialog));
        ASSERT_EQ(QApplication::focusWidget(), control(dialog, id::IDOK));
        EXPECT_TRUE(control<QPushButton>(dialog, id::IDOK)->isDefault());
        for (const char* expected : row.focusAfterEachTab) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, row.modifiers);
            ASSERT_EQ(QApplication::focusWidget(), control(dialog, expected)) << expected;
        }
    }
}

TEST(Dialog, EnterRunsCalculateUnlessAnotherButtonHasTheFocus) {
    struct Row {
        const char* name;
        const char* focus;
        Qt::Key key;
        int calculateRuns;
        bool fileDialogOpened;
        bool dialogOpen;
    };
    const Row rows[] = {
        {"Enter on the path field runs Calculate", id::IDC_FILEPATH, Qt::Key_Return, 1, false,
         true},
        {"keypad Enter on the path field runs Calculate", id::IDC_FILEPATH, Qt::Key_Enter, 1, false,
         true},
        {"Enter on Calculate runs it and keeps the dialog", id::IDOK, Qt::Key_Return, 1, false,
         true},
        {"Enter on File opens the file dialog instead", id::IDC_BROWSE, Qt::Key_Return, 0, true,
         true},
        {"Enter on Cancel ends the dialog instead", id::IDCANCEL, Qt::Key_Return, 0, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCalculation calculation;
        CAmbersel_TestDlg dialog(calculation.command());
        ASSERT_TRUE(showActive(dialog));
        QWidget* target = control(dialog, row.focus);
        target->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), target);

        const QString opened =
            whileWatching(dialog, dismiss(), [&] { QTest::keyClick(target, row.key); });

        EXPECT_EQ(calculation.runs, row.calculateRuns);
        EXPECT_EQ(opened == QStringLiteral("QFileDialog"), row.fileDialogOpened);
        EXPECT_EQ(dialog.isVisible(), row.dialogOpen);
    }
}

TEST(Dialog, EscCancelAndACloseRequestEndIt) {
    struct Row {
        const char* name;
        std::function<void(CAmbersel_TestDlg&)> act;
    };
    const Row rows[] = {
        {"Esc",
         [](CAmbersel_TestDlg&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"Esc in the path field",
         [](CAmbersel_TestDlg& dialog) {
             QWidget* path = control(dialog, id::IDC_FILEPATH);
             path->setFocus(Qt::TabFocusReason);
             QTest::keyClick(path, Qt::Key_Escape);
         }},
        {"the Cancel button",
         [](CAmbersel_TestDlg& dialog) {
             QTest::mouseClick(control<QPushButton>(dialog, id::IDCANCEL), Qt::LeftButton);
         }},
        {"the window system's close request", [](CAmbersel_TestDlg& dialog) { dialog.close(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCalculation calculation;
        CAmbersel_TestDlg dialog(calculation.command());
        ASSERT_TRUE(showActive(dialog));

        row.act(dialog);

        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(calculation.runs, 0);
    }
}

TEST(Dialog, PathFieldCannotBeEdited) {
    const TemporaryFolder folder;
    const QString chosen = qPath(folder.write("list.ASC", "1000,100\n"));
    struct Row {
        const char* name;
        std::function<void(QLineEdit&)> attempt;
    };
    const Row rows[] = {
        {"typing", [](QLineEdit& field) { QTest::keyClicks(&field, QStringLiteral("x.ASC")); }},
        {"pasting",
         [](QLineEdit& field) {
             QApplication::clipboard()->setText(QStringLiteral("/elsewhere/other.ASC"));
             QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCalculation calculation;
        CAmbersel_TestDlg dialog(calculation.command());
        ASSERT_TRUE(showActive(dialog));
        chooseFile(dialog, chosen);
        auto* field = control<QLineEdit>(dialog, id::IDC_FILEPATH);
        field->setFocus(Qt::TabFocusReason);

        row.attempt(*field);

        EXPECT_EQ(field->text(), chosen);
        calculate(dialog);
        EXPECT_EQ(calculation.lastPath, chosen.toStdU16String());
    }
}

TEST(FileDialog, IsAnOpenDialogForAscListsInAnyLetterCase) {
    const TemporaryFolder folder;
    for (const char* name : {"x.asc", "Y.ASC", "w.AsC", "z.txt", "v.ASC.bak", "ASC"}) {
        folder.write(name, "");
    }
    std::filesystem::create_directory(folder.path() / "sub");

    CAmbersel_TestDlg dialog;
    ASSERT_TRUE(showActive(dialog));
    QStringList listed;
    QStringList filterShown;
    bool native = true;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QString suffix;
    const auto look = [&](QWidget& modal) {
        auto* files = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(files, nullptr);
        native = !files->testOption(QFileDialog::DontUseNativeDialog);
        mode = files->acceptMode();
        suffix = files->defaultSuffix();
        const auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i) {
            filterShown << types->itemText(i);
        }
        const auto* view = files->findChild<QListView*>(QStringLiteral("listView"));
        const auto* model = files->findChild<QFileSystemModel*>();
        ASSERT_NE(view, nullptr);
        ASSERT_NE(model, nullptr);
        // The folder is read in the background; the list is complete once it has been.
        bool loaded = false;
        QObject::connect(
            model, &QFileSystemModel::directoryLoaded, files,
            [&](const QString& path) { loaded = loaded || path == qPath(folder.path()); });
        files->setDirectory(qPath(folder.path()));
        const auto rows = [&] { return view->model()->rowCount(view->rootIndex()); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded && rows() > 0; }));
        for (int row = 0; row < rows(); ++row) {
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        }
        files->reject();
    };
    ASSERT_EQ(whileWatching(dialog, look,
                            [&] {
                                QTest::mouseClick(control<QPushButton>(dialog, id::IDC_BROWSE),
                                                  Qt::LeftButton);
                            }),
              QStringLiteral("QFileDialog"));
    EXPECT_FALSE(native) << "the desktop's own dialog behaves differently on every desktop";
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(suffix, QStringLiteral("ASC"));
    EXPECT_EQ(filterShown, QStringList{QStringLiteral("Frequency-Level list (*.ASC)")});
    listed.sort(Qt::CaseInsensitive);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("sub"), QStringLiteral("w.AsC"),
                                   QStringLiteral("x.asc"), QStringLiteral("Y.ASC")}));
}

TEST(FileDialog, StoresTheChosenPathAndKeepsTheVerdictUntilCalculate) {
    const TemporaryFolder folder;
    const QString base = qPath(folder.path());
    const QString first = qPath(folder.write("first.ASC", "1000,100\n"));
    const QString existing = qPath(folder.write("second.asc", "1000,120\n"));
    struct Row {
        const char* name;
        std::optional<QString> typed;  // none: the file dialog is cancelled
        QString typedIn;  // the folder the name is typed in, when it is not a full path
        QString expected;
    };
    const Row rows[] = {
        {"an existing file is stored with its full path", existing, {}, existing},
        {"a bare name is taken in the dialog's folder", QStringLiteral("second.asc"), base,
         existing},
        {"a missing file is accepted",
         base + QStringLiteral("/missing.asc"),
         {},
         base + QStringLiteral("/missing.asc")},
        {"a name typed without extension gets .ASC", QStringLiteral("new"), base,
         base + QStringLiteral("/new.ASC")},
        {"Cancel changes nothing", std::nullopt, {}, first},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CAmbersel_TestDlg dialog;
        ASSERT_TRUE(showActive(dialog));
        chooseFile(dialog, first);
        ASSERT_EQ(calculate(dialog).text, QString());
        ASSERT_EQ(resultShown(dialog), QStringLiteral("PASS : F = 0.1210"));

        const QString opened = whileWatching(
            dialog, row.typed ? typeFileName(*row.typed, row.typedIn) : dismiss(), [&] {
                QTest::mouseClick(control<QPushButton>(dialog, id::IDC_BROWSE), Qt::LeftButton);
            });

        EXPECT_EQ(opened, QStringLiteral("QFileDialog"));
        EXPECT_EQ(pathShown(dialog), row.expected);
        EXPECT_EQ(resultShown(dialog), QStringLiteral("PASS : F = 0.1210"))
            << "the verdict of the first file went before Calculate";
    }
}

TEST(Calculate, ShowsTheVerdictOfTheFileAsItIsNowOrReportsTheError) {
    const TemporaryFolder folder;
    const std::filesystem::path list = folder.path() / "list.ASC";
    struct Step {
        const char* name;
        std::function<void(CAmbersel_TestDlg&)> before;
        QString expectedLine;  // empty: the error is reported
    };
    const Step steps[] = {
        {"before any file was chosen", [](CAmbersel_TestDlg&) {}, {}},
        {"a passing list",
         [&](CAmbersel_TestDlg& dialog) {
             chooseFile(dialog, qPath(folder.write(list, "1000,100\n")));
         },
         QStringLiteral("PASS : F = 0.1210")},
        {"the unchanged file gives the same line", [](CAmbersel_TestDlg&) {},
         QStringLiteral("PASS : F = 0.1210")},
        {"the changed file gives its new line",
         [&](CAmbersel_TestDlg&) { folder.write(list, "1000,120\n"); },
         QStringLiteral("FAIL : F = 1.2104")},
        {"the deleted file: the old line goes and the error is reported",
         [&](CAmbersel_TestDlg&) { std::filesystem::remove(list); },
         {}},
    };
    QString shownWhileCalculating = QStringLiteral("(not run)");
    CAmbersel_TestDlg* shown = nullptr;
    CAmbersel_TestDlg dialog([&](std::u16string_view path) {
        shownWhileCalculating = resultShown(*shown);
        return ambersel::calculateFromFile(path);
    });
    shown = &dialog;
    ASSERT_TRUE(showActive(dialog));
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before(dialog);

        const MessageBoxSeen box = calculate(dialog);

        EXPECT_EQ(shownWhileCalculating, QString()) << "the previous line stayed during the run";
        EXPECT_EQ(resultShown(dialog), step.expectedLine);
        EXPECT_TRUE(dialog.isVisible());
        if (step.expectedLine.isEmpty()) {
            EXPECT_EQ(box.text, kError);
            EXPECT_EQ(box.title, QStringLiteral("Ambersel_Test"));
            EXPECT_EQ(box.icon, QMessageBox::Warning);
            EXPECT_EQ(box.buttons, static_cast<int>(QMessageBox::Ok)) << "not only an OK button";
        } else {
            EXPECT_EQ(box.text, QString()) << "a message box came up";
        }
    }
}

TEST(Calculate, AFailingCommandIsReportedAndTheDialogCarriesOn) {
    struct Row {
        const char* name;
        std::function<void()> fail;
    };
    const Row rows[] = {
        {"memory exhaustion", [] { throw std::bad_alloc(); }},
        {"a standard exception", [] { throw std::runtime_error("disk gone"); }},
        {"something that is no standard exception", [] { throw 42; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeCalculation calculation;
        CAmbersel_TestDlg dialog(calculation.command());
        ASSERT_TRUE(showActive(dialog));
        ASSERT_EQ(calculate(dialog).text, QString());
        ASSERT_EQ(resultShown(dialog), QStringLiteral("PASS : F = 0.5000"));

        calculation.outcome = [&]() -> CalculationOutcome {
            row.fail();
            return CalculationOutcome::openFailure();
        };
        const MessageBoxSeen report = calculate(dialog);

        EXPECT_EQ(report.icon, QMessageBox::Critical);
        EXPECT_EQ(report.title, QStringLiteral("Ambersel_Test"));
        EXPECT_FALSE(report.text.isEmpty());
        EXPECT_NE(report.text, kError) << "reported as an unreadable file";
        EXPECT_EQ(resultShown(dialog), QString());
        EXPECT_TRUE(dialog.isVisible());

        calculation.outcome = [] {
            return CalculationOutcome::withResultLine(u"FAIL : F = 2.0000");
        };
        EXPECT_EQ(calculate(dialog).text, QString());
        EXPECT_EQ(resultShown(dialog), QStringLiteral("FAIL : F = 2.0000"));
    }
}

}  // namespace
