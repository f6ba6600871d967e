#include "ui/details_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "report/painting/pdf_report.h"
#include "report/painting/picture_painting.h"
#include "report/record_document.h"
#include "report/report_file.h"
#include "report/report_format.h"
#include "results/result_text.h"
#include "ui/chart_view.h"

namespace ambersel::ui {
namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(printableText(utf8));
}

QTableWidget* tableWithColumns(const QStringList& columns, int rows, QWidget* parent) {
    auto* table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

// Shows every cell whole: a table of a few rows needs no scroll bars. It may grow wider, not
// taller.
void fitToContents(QTableWidget& table) {
    table.resizeColumnsToContents();
    const int frame = 2 * table.frameWidth();
    table.setMinimumWidth(table.verticalHeader()->width() + table.horizontalHeader()->length() +
                          frame);
    table.setFixedHeight(table.horizontalHeader()->sizeHint().height() +
                         table.verticalHeader()->length() + frame);
    table.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

// Where the Save dialog starts: the user's documents folder, or, where the user has none, the
// home folder.
QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// `name` with the extension of the report format that `filter` names.
QString withExtensionOf(const QString& filter, const QString& name) {
    const bool html = filter.contains(QStringLiteral("html"));
    const std::optional<report::ReportFormat> format =
        report::reportFormatOf(std::filesystem::path(name.toStdString()));
    if (!format || (*format == report::ReportFormat::Html) == html) {
        return name;
    }
    return QFileInfo(name).completeBaseName() +
           (html ? QStringLiteral(".html") : QStringLiteral(".pdf"));
}

void setRow(QTableWidget& table, int row, const std::vector<report::Cell>& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(text(cells[column].text));
        item->setTextAlignment(cells[column].kind == report::CellKind::Number
                                   ? Qt::AlignRight | Qt::AlignVCenter
                                   : Qt::AlignLeft | Qt::AlignVCenter);
        table.setItem(row, static_cast<int>(column), item);
    }
}

}  // namespace

DetailsWindow::DetailsWindow(report::ListRecord record, plot::Chart chart,
                             std::variant<report::ReportHeading, std::string> heading,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(std::move(record)), m_heading(std::move(heading)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Details: %1").arg(text(m_record.name)));

    auto* layout = new QVBoxLayout(this);
    auto* line = new QLabel(QStringLiteral("<b>%1</b>&nbsp;&nbsp;&nbsp;Margin %2: %3")
                                .arg(text(m_record.resultLine), text(marginText(m_record.margin)),
                                     text(marginMeaning(m_record.margin))),
                            this);
    line->setObjectName(QStringLiteral("verdict"));
    layout->addWidget(line);
    auto* picture = new ChartView(std::move(chart), this);
    picture->setObjectName(QStringLiteral("picture"));
    layout->addWidget(picture, 1);
    auto* tables = new QHBoxLayout;
    for (const auto& [caption, table] :
         {std::pair{QStringLiteral("Where F comes from"),
                    shownTable(report::bandTable(m_record), "bands")},
          std::pair{QStringLiteral("Largest contributors"),
                    shownTable(report::contributorTable(m_record), "contributors")}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(caption, this));
        column->addWidget(table);
        // Each table as wide as its columns need, and what is left shared alike.
        tables->addLayout(column);
    }
    layout->addLayout(tables);
    fitTables();

    auto* save = new QPushButton(QStringLiteral("Save report\u2026"), this);
    save->setObjectName(QStringLiteral("saveReport"));
    connect(save, &QPushButton::clicked, this, &DetailsWindow::saveReport);
    layout->addWidget(save, 0, Qt::AlignRight);
    // As large as the layout would like, within the screen that shows it.
    const QSize available = (parent != nullptr ? parent->screen() : screen())->availableSize();
    resize(sizeHint().boundedTo(available).expandedTo(minimumSizeHint()));
}

void DetailsWindow::fitTables() {
    const auto shown = findChildren<QTableWidget*>();
    int tallest = 0;
    for (QTableWidget* table : shown) {
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        fitToContents(*table);
        tallest = std::max(tallest, table->minimumHeight());
    }
    // Both tables as tall as the taller, so that their rows line up.
    for (QTableWidget* table : shown) {
        table->setFixedHeight(tallest);
    }
}

void DetailsWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitTables();
    }
}

QTableWidget* DetailsWindow::shownTable(const report::Table& content, const char* name) {
    QStringList heads;
    for (const std::string& head : content.heads) {
        heads << text(head);
    }
    auto* table = tableWithColumns(heads, static_cast<int>(content.rows.size()), this);
    table->setObjectName(QString::fromLatin1(name));
    for (std::size_t row = 0; row < content.rows.size(); ++row) {
        setRow(*table, static_cast<int>(row), content.rows[row]);
    }
    return table;
}

void DetailsWindow::saveReport() {
    QFileDialog fileDialog(this, QStringLiteral("Save report"));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setNameFilters(
        {QStringLiteral("PDF report (*.pdf)"), QStringLiteral("HTML report (*.html)")});
    fileDialog.setDefaultSuffix(QStringLiteral("pdf"));
    fileDialog.setDirectory(documentsFolder());
    // The record names the list in UTF-8, which is how this platform's paths are held.
    fileDialog.selectFile(QString::fromStdString(
        report::proposedReportName(m_record.name, report::ReportFormat::Pdf).string()));
    connect(&fileDialog, &QFileDialog::filterSelected, &fileDialog, [&](const QString& filter) {
        fileDialog.setDefaultSuffix(filter.contains(QStringLiteral("html"))
                                        ? QStringLiteral("html")
                                        : QStringLiteral("pdf"));
        // The proposed name, or one typed, follows the format chosen.
        const QStringList chosen = fileDialog.selectedFiles();
        if (!chosen.isEmpty()) {
            fileDialog.selectFile(withExtensionOf(filter, QFileInfo(chosen.first()).fileName()));
        }
    });
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::filesystem::path target(fileDialog.selectedFiles().first().toStdU16String());
    const auto* heading = std::get_if<report::ReportHeading>(&m_heading);
    const std::optional<std::string> failure =
        heading == nullptr
            ? std::get<std::string>(m_heading)
            : report::writeReportFile(target, report::reportDocument(*heading, {m_record}),
                                      *heading, &report::pdfReport);
    if (failure) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("The report could not be written: %1")
                            .arg(QString::fromStdString(*failure)),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

}  // namespace ambersel::ui
