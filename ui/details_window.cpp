#include "ui/details_window.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

#include "report/report_file.h"
#include "report/report_text.h"

namespace ambersel::ui {
namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(report::printableText(utf8));
}

QTableWidget* tableWithColumns(const QStringList& columns, int rows, QWidget* parent) {
    auto* table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

// Shows every cell whole: a table of a few rows needs no scroll bars.
void fitToContents(QTableWidget& table) {
    table.resizeColumnsToContents();
    const int frame = 2 * table.frameWidth();
    table.setMinimumSize(
        table.verticalHeader()->width() + table.horizontalHeader()->length() + frame,
        table.horizontalHeader()->height() + table.verticalHeader()->length() + frame);
}

void setRow(QTableWidget& table, int row, const QStringList& cells) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                           : Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
    }
}

}  // namespace

DetailsWindow::DetailsWindow(report::ListRecord record, report::ReportHeading heading,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_record(std::move(record)), m_heading(std::move(heading)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("DetailsWindow"));
    setWindowTitle(QStringLiteral("Details: %1").arg(text(m_record.name)));

    auto* layout = new QVBoxLayout(this);
    auto* line = new QLabel(QStringLiteral("<b>%1</b>&nbsp;&nbsp;&nbsp;Margin %2: %3")
                                .arg(text(m_record.resultLine), text(marginText(m_record.margin)),
                                     text(report::marginMeaning(m_record.margin))),
                            this);
    line->setObjectName(QStringLiteral("verdict"));
    layout->addWidget(line);
    if (!m_record.picturePng.empty()) {
        QPixmap picture;
        picture.loadFromData(reinterpret_cast<const uchar*>(m_record.picturePng.data()),
                             static_cast<uint>(m_record.picturePng.size()), "PNG");
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setObjectName(QStringLiteral("picture"));
        // Drawn for a report page; on a screen, a size that leaves room for the tables.
        constexpr int kShownWidth = 680;
        pictureLabel->setPixmap(picture.scaledToWidth(kShownWidth, Qt::SmoothTransformation));
        layout->addWidget(pictureLabel, 0, Qt::AlignHCenter);
    }
    auto* tables = new QHBoxLayout;
    for (const auto& [caption, table] :
         {std::pair{QStringLiteral("Where F comes from"), bandTable()},
          std::pair{QStringLiteral("Largest contributors"), contributorTable()}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(caption, this));
        column->addWidget(table);
        tables->addLayout(column);
    }
    layout->addLayout(tables);

    auto* save = new QPushButton(QStringLiteral("Save report\u2026"), this);
    save->setObjectName(QStringLiteral("saveReport"));
    connect(save, &QPushButton::clicked, this, &DetailsWindow::saveReport);
    layout->addWidget(save, 0, Qt::AlignRight);
}

QTableWidget* DetailsWindow::bandTable() {
    auto* table = tableWithColumns(
        {QStringLiteral("Band"), QStringLiteral("Points"), QStringLiteral("Sum of terms"),
         QStringLiteral("Share of F"), QStringLiteral("Margin without the band")},
        static_cast<int>(m_record.bands.size()), this);
    table->setObjectName(QStringLiteral("bands"));
    int row = 0;
    for (const BandShare& band : m_record.bands) {
        setRow(*table, row++,
               {text(report::bandText(band)), QString::number(band.pointCount),
                text(roundedText(band.sumOfTerms, 6)), text(report::percentText(band.share)),
                text(marginText(band.marginWithout))});
    }
    fitToContents(*table);
    return table;
}

QTableWidget* DetailsWindow::contributorTable() {
    auto* table = tableWithColumns(
        {QStringLiteral("Point"), QStringLiteral("Frequency"), QStringLiteral("Level (dB\u00B5V)"),
         QStringLiteral("Term"), QStringLiteral("Share of F")},
        static_cast<int>(m_record.heaviest.size()), this);
    table->setObjectName(QStringLiteral("contributors"));
    int row = 0;
    for (const RankedPoint& ranked : m_record.heaviest) {
        setRow(*table, row++,
               {QString::number(ranked.index + 1),
                text(frequencyText(ranked.point.frequency, report::kFrequencyDigits)),
                text(decimalsText(ranked.point.level, 2)), text(roundedText(ranked.term, 6)),
                text(report::percentText(shareOfFigure(ranked.term, m_record.verdict.figure)))});
    }
    fitToContents(*table);
    return table;
}

void DetailsWindow::saveReport() {
    QFileDialog fileDialog(this, QStringLiteral("Save report"));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setNameFilters(
        {QStringLiteral("PDF report (*.pdf)"), QStringLiteral("HTML report (*.html)")});
    fileDialog.setDefaultSuffix(QStringLiteral("pdf"));
    connect(&fileDialog, &QFileDialog::filterSelected, &fileDialog, [&](const QString& filter) {
        fileDialog.setDefaultSuffix(filter.contains(QStringLiteral("html"))
                                        ? QStringLiteral("html")
                                        : QStringLiteral("pdf"));
    });
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) {
        return;
    }
    const std::filesystem::path target(fileDialog.selectedFiles().first().toStdU16String());
    const std::optional<report::ReportFormat> format = report::reportFormatOf(target);
    const std::optional<std::string> failure =
        format ? report::writeReport(target, *format, m_heading, {m_record})
               : std::optional<std::string>("a report file ends in .pdf or .html");
    if (failure) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("The report could not be written: %1")
                            .arg(QString::fromStdString(*failure)),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

}  // namespace ambersel::ui
