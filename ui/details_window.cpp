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

#include "report/painting/pdf_report.h"
#include "report/painting/picture_painting.h"
#include "report/record_document.h"
#include "report/report_file.h"
#include "results/result_text.h"

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
                                     text(marginMeaning(m_record.margin))),
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
