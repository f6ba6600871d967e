#include "report/pdf_report.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHashSeed>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <numeric>

#include "report/picture_painting.h"
#include "report/report_tables.h"
#include "report/report_text.h"
#include "report/report_time.h"

namespace ambersel::report {
namespace {

// Page geometry in points; the writer's own units are ten times finer, so that glyphs are placed
// by their exact advances.
constexpr int kResolution = 720;
constexpr double kUnitsPerPoint = kResolution / 72.0;
constexpr double kMargin = 42;
constexpr double kCellPaddingX = 5;  // wider than a space, so no two cells' texts run together
constexpr double kCellPaddingY = 1.8;
constexpr double kGapAfterTable = 10;
constexpr double kLargestPictureHeight = 250;

const QColor kPass(0x11, 0x68, 0x1f);
const QColor kFail(0xa1, 0x12, 0x12);
const QColor kRule(0x99, 0x99, 0x99);

QString qText(const std::string& utf8) {
    return QString::fromStdString(printableText(utf8));
}

// A face of the report. Shaping would join "fi" into one glyph, which text taken from the page
// then gives as one character, so a search for "file" misses it; Latin text needs no shaping.
QFont reportFont(const char* family, double points, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return font;
}

class PageWriter {
  public:
    PageWriter(QPdfWriter& writer, QPainter& painter)
        : m_writer(writer),
          m_painter(painter),
          m_body(reportFont("DejaVu Sans", 8.5)),
          m_bold(reportFont("DejaVu Sans", 8.5, true)),
          m_mono(reportFont("DejaVu Sans Mono", 8.2)) {
        m_width = m_painter.viewport().width();
        m_bottom = m_painter.viewport().height();
    }

    void newPage() {
        if (m_page > 0) {
            m_writer.newPage();
        }
        ++m_page;
        m_y = 0;
        m_painter.setFont(reportFont("DejaVu Sans", 7));
        m_painter.setPen(QColor(0x66, 0x66, 0x66));
        m_painter.drawText(QRectF(0, m_bottom + u(12), m_width, u(12)), Qt::AlignRight,
                           QStringLiteral("Ambersel test report, page %1").arg(m_page));
    }

    // A text across the page, wrapped where it must be (a list's name may be long).
    void heading(const std::string& text, double points, const QColor& colour) {
        const QFont font = reportFont("DejaVu Sans", points, true);
        const QRectF room(0, 0, m_width, m_bottom);
        const QRectF needed =
            QFontMetricsF(font, &m_writer).boundingRect(room, Qt::TextWrapAnywhere, qText(text));
        ensureRoom(needed.height());
        m_painter.setFont(font);
        m_painter.setPen(colour);
        m_painter.drawText(QRectF(0, m_y, m_width, needed.height()), Qt::TextWrapAnywhere,
                           qText(text));
        m_y += needed.height() + u(points * 0.3);
    }

    void picture(const RecordPicture& picture) {
        paintPicture(m_painter, picture, pictureFrame(picture.layout.canvas));
    }

    void lot(const LotPage& lot) {
        paintDrawing(m_painter, lot.pictureSize, lot.drawPicture, pictureFrame(lot.pictureSize));
        const double lineHeight = QFontMetricsF(m_mono, &m_writer).lineSpacing();
        for (const std::string& line : lot.figures) {
            ensureRoom(lineHeight);
            m_painter.setFont(m_mono);
            m_painter.setPen(QColor(Qt::black));
            m_painter.drawText(QRectF(0, m_y, m_width, lineHeight), Qt::TextWrapAnywhere,
                               qText(line));
            m_y += lineHeight;
        }
        m_y += u(kGapAfterTable);
    }

    // `rowColour` gives a row's text colour in its second column (a result line), or black.
    void table(const ReportTable& table, const std::vector<QColor>& rowColour = {}) {
        const std::vector<double> widths = columnWidths(table);
        if (!table.heads.empty()) {
            ensureRoom(2 * rowHeight(table.heads, widths, true));
            drawRow(table, table.heads, widths, true, {});
        }
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            const double height = rowHeight(table.rows[row], widths, table.heads.empty());
            if (m_y + height > m_bottom && !table.heads.empty()) {
                newPage();
                drawRow(table, table.heads, widths, true, {});
            }
            ensureRoom(height);
            drawRow(table, table.rows[row], widths, false,
                    row < rowColour.size() ? rowColour[row] : QColor(Qt::black));
        }
        m_y += u(kGapAfterTable);
    }

  private:
    static double u(double points) { return points * kUnitsPerPoint; }

    // Where the next picture of `image`'s size goes: as wide as the page, unless that would push
    // a list's tables onto a second page.
    QRectF pictureFrame(plot::Size image) {
        const double height =
            std::min(m_width * image.height / image.width, u(kLargestPictureHeight));
        const double width = height * image.width / image.height;
        ensureRoom(height);
        const QRectF frame((m_width - width) / 2, m_y, width, height);
        m_y += height + u(kGapAfterTable);
        return frame;
    }

    void ensureRoom(double height) {
        if (m_y + height > m_bottom && m_y > 0) {
            newPage();
        }
    }

    const QFont& fontOf(const ReportTable& table, const std::vector<std::string>& cells,
                        std::size_t column, bool head) const {
        const bool labelled = table.heads.empty();
        if (head || (labelled && column == 0)) {
            return m_bold;
        }
        return labelled && cells[0] == kSha256Label ? m_mono : m_body;
    }

    double textWidth(const QFont& font, const std::string& text) const {
        return QFontMetricsF(font, &m_writer).horizontalAdvance(qText(text));
    }

    // Each column as wide as its widest cell; the first (names, bands) or, in a table of facts,
    // the values take what is left of the page and wrap when that is not enough.
    std::vector<double> columnWidths(const ReportTable& table) const {
        const std::size_t count = table.heads.empty() ? 2 : table.heads.size();
        std::vector<double> widths(count, 0);
        const auto measure = [&](const std::vector<std::string>& cells, bool head) {
            for (std::size_t column = 0; column < cells.size() && column < count; ++column) {
                widths[column] = std::max(
                    widths[column], textWidth(fontOf(table, cells, column, head), cells[column]) +
                                        u(2 * kCellPaddingX + 1));
            }
        };
        measure(table.heads, true);
        for (const auto& row : table.rows) {
            measure(row, false);
        }
        const std::size_t flexible = table.heads.empty() ? 1 : 0;
        const double others = std::accumulate(widths.begin(), widths.end(), 0.0) - widths[flexible];
        if (table.heads.empty() || others + widths[flexible] > m_width) {
            widths[flexible] = m_width - others;
        }
        return widths;
    }

    double rowHeight(const std::vector<std::string>& cells, const std::vector<double>& widths,
                     bool labelled) const {
        double height = 0;
        for (std::size_t column = 0; column < cells.size() && column < widths.size(); ++column) {
            const QFont& font = labelled && column == 0 ? m_bold : m_body;
            const QRectF room(0, 0, widths[column] - u(2 * kCellPaddingX), m_bottom);
            height =
                std::max(height, QFontMetricsF(font, &m_writer)
                                     .boundingRect(room, Qt::TextWrapAnywhere, qText(cells[column]))
                                     .height());
        }
        return height + u(2 * kCellPaddingY);
    }

    void drawRow(const ReportTable& table, const std::vector<std::string>& cells,
                 const std::vector<double>& widths, bool head, const QColor& resultColour) {
        const double height = rowHeight(cells, widths, head || table.heads.empty());
        double x = 0;
        for (std::size_t column = 0; column < cells.size() && column < widths.size(); ++column) {
            const QRectF cell(x, m_y, widths[column], height);
            m_painter.setPen(QPen(kRule, u(0.5)));
            m_painter.drawRect(cell);
            const bool number = !head && column >= table.firstNumberColumn;
            const bool result = !head && !table.heads.empty() && column == 1;
            m_painter.setFont(fontOf(table, cells, column, head));
            m_painter.setPen(result ? resultColour : QColor(Qt::black));
            m_painter.drawText(cell.adjusted(u(kCellPaddingX), u(kCellPaddingY), -u(kCellPaddingX),
                                             -u(kCellPaddingY)),
                               Qt::TextWrapAnywhere | (number ? Qt::AlignRight : Qt::AlignLeft),
                               qText(cells[column]));
            x += widths[column];
        }
        m_y += height;
    }

    QPdfWriter& m_writer;
    QPainter& m_painter;
    QFont m_body;
    QFont m_bold;
    QFont m_mono;
    double m_width = 0;
    double m_bottom = 0;
    double m_y = 0;
    int m_page = 0;
};

QColor verdictColour(const ListRecord& record) {
    return record.verdict.failed ? kFail : kPass;
}

void writeList(PageWriter& pages, const ReportHeading& heading, const ListRecord& record) {
    pages.newPage();
    pages.heading(record.name, 14, Qt::black);
    pages.heading(record.resultLine, 13, verdictColour(record));
    pages.table(factTable(heading, record));
    if (record.picture) {
        pages.picture(*record.picture);
    }
    pages.heading("Largest contributors", 10.5, Qt::black);
    pages.table(contributorTable(record));
    pages.heading("Where F comes from", 10.5, Qt::black);
    pages.table(bandTable(record));
}

// Moves every object that Qt's cross-reference table places after `from` by `shift` bytes, and the
// table itself: the table is plain text, "0 N" and then one 20-byte line per object.
void shiftOffsets(QByteArray& pdf, qsizetype from, qsizetype shift) {
    const qsizetype table = pdf.lastIndexOf("\nxref\n");
    const qsizetype start = pdf.lastIndexOf("\nstartxref\n");
    if (table < 0 || start < table) {
        return;
    }
    qsizetype line = pdf.indexOf('\n', table + 6) + 1;
    const qsizetype count = pdf.mid(table + 8, line - table - 9).trimmed().toLongLong();
    for (qsizetype entry = 0; entry < count && line + 20 <= start; ++entry, line += 20) {
        const qsizetype offset = pdf.mid(line, 10).toLongLong();
        if (pdf.at(line + 17) == 'n' && offset > from) {
            pdf.replace(line, 10, QByteArray::number(offset + shift).rightJustified(10, '0'));
        }
    }
    const qsizetype number = start + 11;
    const qsizetype numberEnd = pdf.indexOf('\n', number);
    const qsizetype offset = pdf.mid(number, numberEnd - number).trimmed().toLongLong();
    pdf.replace(number, numberEnd - number, QByteArray::number(offset + shift) + ' ');
}

// Qt dates the document by the clock, in local time. A report timed by SOURCE_DATE_EPOCH is dated
// by that instant in UTC instead, so that neither the clock nor the machine's time zone changes a
// byte.
void dateDocument(QByteArray& pdf, const EvaluationTime& evaluatedAt) {
    const QByteArray key("/CreationDate (");
    const qsizetype start = pdf.indexOf(key);
    const qsizetype end = start < 0 ? -1 : pdf.indexOf(')', start);
    if (evaluatedAt.zone != TimeZoneShown::Utc || end < 0) {
        return;
    }
    QByteArray date("D:");
    for (const char c : isoTimeText(evaluatedAt.seconds, std::nullopt)) {
        if (c != '-' && c != ':' && c != 'T') {
            date.append(c);
        }
    }
    const qsizetype from = start + key.size();
    const qsizetype shift = date.size() - (end - from);
    pdf.replace(from, end - from, date);
    shiftOffsets(pdf, from, shift);
}

}  // namespace

std::string pdfReport(const ReportHeading& heading, const std::vector<ListRecord>& records,
                      const LotPage* lot) {
    // The writer keeps its fonts in a hash whose order, with the process's random seed, would
    // order them differently in every file.
    QHashSeed::setDeterministicGlobalSeed();
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setTitle(QStringLiteral("Ambersel test report"));
        writer.setCreator(QStringLiteral("Ambersel Test Calculator ") +
                          QString::fromStdString(heading.programVersion));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMargin, kMargin, kMargin, kMargin + 12),
                                         QPageLayout::Point));
        QPainter painter(&writer);
        PageWriter pages(writer, painter);
        if (records.size() > 1) {
            pages.newPage();
            pages.heading("Summary", 14, Qt::black);
            if (lot) {
                pages.lot(*lot);
            }
            std::vector<QColor> colours;
            colours.reserve(records.size());
            for (const ListRecord& record : records) {
                colours.push_back(verdictColour(record));
            }
            pages.table(summaryTable(records), colours);
        }
        for (const ListRecord& record : records) {
            writeList(pages, heading, record);
        }
        painter.end();
    }
    dateDocument(bytes, heading.evaluatedAt);
    return bytes.toStdString();
}

}  // namespace ambersel::report
