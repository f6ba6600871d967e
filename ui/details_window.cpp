#include "ui/details_window.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

#include "report/picture_painting.h"
#include "report/report_file.h"
#include "report/report_tables.h"
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

void setRow(QTableWidget& table, int row, const QStringList& cells, std::size_t firstNumberColumn) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setTextAlignment(static_cast<std::size_t>(column) < firstNumberColumn
                                   ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
    }
}

}  // namespace

DetailsWindow::DetailsWindow(report::ListRecord record,
                             std::variant<report::ReportHeading, std::string> heading,
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
    if (m_record.picture) {
        // Laid out for a report page; on a screen, a size that leaves room for the tables, drawn
        // at the screen's own resolution.
        constexpr double kShownWidth = 680;
        const plot::Size laidOut = m_record.picture->layout.canvas;
        const QSizeF shown(kShownWidth, kShownWidth * laidOut.height / laidOut.width);
        const qreal ratio = devicePixelRatioF();
        QPixmap picture((shown * ratio).toSize());
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            report::paintPicture(painter, *m_record.picture, QRectF(QPointF(0, 0), shown));
        }
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setObjectName(QStringLiteral("picture"));
        pictureLabel->setPixmap(picture);
        layout->addWidget(pictureLabel, 0, Qt::AlignHCenter);
    }
    auto* tables = new QHBoxLayout;
    for (const auto& [caption, table] :
         {std::pair{QStringLiteral("Where F comes from"),
                    shownTable(report::bandTable(m_record), "bands")},
          std::pair{QStringLiteral("Largest contributors"),
                    shownTable(report::contributorTable(m_record), "contributors")}}) {
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

QTableWidget* DetailsWindow::shownTable(const report::ReportTable& content, const char* name) {
    QStringList heads;
    for (const std::string& head : content.heads) {
        heads << text(head);
    }
    auto* table = tableWithColumns(heads, static_cast<int>(content.rows.size()), this);
    table->setObjectName(QString::fromLatin1(name));
    for (std::size_t row = 0; row < content.rows.size(); ++row) {
        QStringList cells;
        for (const std::string& cell : content.rows[row]) {
            cells << text(cell);
        }
        setRow(*table, static_cast<int>(row), cells, content.firstNumberColumn);
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
    const auto* heading = std::get_if<report::ReportHeading>(&m_heading);
    std::optional<std::string> failure;
    if (!format) {
        failure = "a report file ends in .pdf or .html";
    } else if (heading == nullptr) {
        failure = std::get<std::string>(m_heading);
    } else {
        failure = report::writeReport(target, *format, *heading, {m_record});
    }
    if (failure) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("The report could not be written: %1")
                            .arg(QString::fromStdString(*failure)),
                        QMessageBox::Ok, this);
        box.exec();
    }
}

}  // namespace ambersel::ui
