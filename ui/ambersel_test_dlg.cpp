#include "ui/ambersel_test_dlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <utility>

#include "files/list_reading.h"
#include "plot/layout/spectrum_chart.h"
#include "report/list_record.h"
#include "ui/details_window.h"
#include "ui/dialog_template.h"
#include "ui/dialog_units.h"
#include "ui/resource.h"

namespace {

using ambersel::ui::ControlKind;
using ambersel::ui::DialogItem;

std::u16string_view utf16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// A modal message box with only an OK button, titled with the program's name.
void showMessage(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, owner);
    // A box sized to its text alone is too narrow for the title bar to show the program's name
    // beside the window buttons. Room for the name in a bold title font and for about six
    // buttons' worth of decoration keeps it readable.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const QFontMetrics metrics(titleFont);
        const int titleWidth = metrics.horizontalAdvance(box.windowTitle()) + 6 * metrics.height();
        grid->addItem(new QSpacerItem(titleWidth, 0), grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

}  // namespace

CAmbersel_TestDlg::CAmbersel_TestDlg(Calculation calculation, QWidget* parent)
    : QDialog(parent),
      m_hIcon(QString::fromLatin1(ambersel::ui::IDR_MAINFRAME)),
      m_calculation(std::move(calculation)) {
    // The program's own window with its own taskbar entry, not a dialog of some other window; a
    // title bar without close, minimise or maximise buttons, on a frame that cannot be resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QString::fromUtf8(ambersel::ui::kTestDialogCaption));
    // The dialog's own font is the application's default font unless a theme gives dialogs another;
    // either way it is the font the controls are drawn in.
    const ambersel::ui::DialogBaseUnits units = ambersel::ui::dialogBaseUnits(font());
    setFixedSize(toPixels(ambersel::ui::kTestDialogSize, units));
    createControls(units);
    OnInitDialog();
}

CAmbersel_TestDlg::~CAmbersel_TestDlg() = default;

void CAmbersel_TestDlg::createControls(ambersel::ui::DialogBaseUnits units) {
    for (const DialogItem& item : ambersel::ui::kTestDialogItems) {
        QWidget* control = nullptr;
        switch (item.kind) {
            case ControlKind::DefaultPushButton:
            case ControlKind::PushButton: {
                auto* button = new QPushButton(QString::fromUtf8(item.text), this);
                // Enter presses the focused button, and the default button from anywhere else.
                button->setAutoDefault(true);
                button->setDefault(item.kind == ControlKind::DefaultPushButton);
                control = button;
                break;
            }
            case ControlKind::CentredText: {
                auto* label = new QLabel(this);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                label->setText(QString::fromUtf8(item.text));
                m_resultControl = label;
                control = label;
                break;
            }
            case ControlKind::ReadOnlyEdit: {
                auto* edit = new QLineEdit(QString::fromUtf8(item.text), this);
                edit->setReadOnly(true);
                m_filePathControl = edit;
                control = edit;
                break;
            }
        }
        control->setObjectName(QString::fromLatin1(item.id));
        control->setGeometry(toPixels(item.rect, units));
    }
    // Creation order is the tab order; the buttons' handlers are bound by their names.
    connect(findChild<QPushButton*>(ambersel::ui::IDOK), &QPushButton::clicked, this,
            [this] { dispatch(&CAmbersel_TestDlg::OnCalculate); });
    connect(findChild<QPushButton*>(ambersel::ui::IDCANCEL), &QPushButton::clicked, this,
            [this] { dispatch(&CAmbersel_TestDlg::OnCancelButton); });
    connect(findChild<QPushButton*>(ambersel::ui::IDC_BROWSE), &QPushButton::clicked, this,
            [this] { dispatch(&CAmbersel_TestDlg::OnBrowseFile); });
}

void CAmbersel_TestDlg::OnInitDialog() {
    setWindowIcon(m_hIcon);
    DoDataExchange();
    findChild<QPushButton*>(ambersel::ui::IDOK)->setFocus(Qt::OtherFocusReason);
}

void CAmbersel_TestDlg::DoDataExchange() {
    m_resultControl->setText(m_strResult);
    m_filePathControl->setText(m_strFilePath);
    // Like a freshly filled edit field, the path shows from its start.
    m_filePathControl->setCursorPosition(0);
}

void CAmbersel_TestDlg::dispatch(void (CAmbersel_TestDlg::*handler)()) {
    try {
        try {
            (this->*handler)();
        } catch (const std::bad_alloc&) {
            reportFailure(
                QStringLiteral("The command could not be completed: there is not enough memory."));
        } catch (const std::exception& failure) {
            reportFailure(QStringLiteral("The command could not be completed: %1")
                              .arg(QString::fromLocal8Bit(failure.what())));
        } catch (...) {
            reportFailure(QStringLiteral(
                "The command could not be completed because of an unexpected error."));
        }
    } catch (...) {
        // Even the report failed, most likely for want of memory: the terminal is all that is left.
        std::fputs("Ambersel_Test: a command failed and could not be reported\n", stderr);
    }
}

void CAmbersel_TestDlg::reportFailure(const QString& text) {
    showMessage(this, QMessageBox::Critical, text);
}

void CAmbersel_TestDlg::OnBrowseFile() {
    // The toolkit's own dialog rather than the desktop's, so that it behaves alike everywhere.
    QFileDialog fileDialog(this);
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted; Calculate then reports it.
    fileDialog.setFileMode(QFileDialog::AnyFile);
    fileDialog.setNameFilter(QStringLiteral("Frequency-Level list (*.ASC)"));
    // The pattern matches the extension in any letter case: lists come as x.ASC and as x.asc.
    fileDialog.setFilter(fileDialog.filter() & ~QDir::CaseSensitive);
    fileDialog.setDefaultSuffix(QStringLiteral("ASC"));
    if (fileDialog.exec() != QDialog::Accepted) {
        return;
    }
    const QStringList chosen = fileDialog.selectedFiles();
    if (chosen.isEmpty()) {
        return;
    }
    m_strFilePath = QDir::toNativeSeparators(chosen.first());
    DoDataExchange();
}

void CAmbersel_TestDlg::OnCalculate() {
    m_strResult.clear();
    m_shownList.reset();
    DoDataExchange();
    ambersel::CalculationOutcome outcome = m_calculation(utf16View(m_strFilePath));
    if (outcome.isOpenFailure()) {
        showMessage(this, QMessageBox::Warning, QStringLiteral("Error in the input file"));
        return;
    }
    m_shownList = ShownList{
        outcome.takeList(),
        ambersel::report::reportHeadingNow(QCoreApplication::applicationVersion().toStdString()),
        outcome.stamp()};
    m_shownList->list.name = m_strFilePath.toStdString();
    m_strResult = QString::fromStdU16String(outcome.resultLine());
    DoDataExchange();
}

void CAmbersel_TestDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_shownList || m_strResult.isEmpty()) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu"));
    const QAction* details = menu.addAction(QStringLiteral("Details\u2026"));
    connect(details, &QAction::triggered, this,
            [this] { dispatch(&CAmbersel_TestDlg::OnDetails); });
    menu.exec(event->globalPos());
}

void CAmbersel_TestDlg::OnDetails() {
    // The facts of a file written since Calculate read it would vouch for a list it no longer
    // holds: the record then says so and gives none.
    ambersel::EvaluatedList& list = m_shownList->list;
    const std::optional<std::filesystem::path> path =
        ambersel::listFilePath(utf16View(m_strFilePath));
    list.facts = path ? ambersel::factsOfReadFile(*path, m_shownList->stamp) : std::nullopt;
    list.factsWithheld = !list.facts;
    ambersel::plot::Chart chart =
        ambersel::plot::spectrumChart({ambersel::report::listFileName(list), &list.analysis});
    auto* window = new ambersel::ui::DetailsWindow(ambersel::report::recordOf(list),
                                                   std::move(chart), m_shownList->heading, this);
    window->show();
}

void CAmbersel_TestDlg::OnCancelButton() {
    reject();
}
