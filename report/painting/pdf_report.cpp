#include "report/painting/pdf_report.h"

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

#include "report/painting/picture_painting.h"
#include "report/report_time.h"
#include "text/byte_text.h"
#include "text/time_text.h"

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

    void picture(const Picture& picture) {
        paintDrawing(m_painter, picture.size, picture.draw, pictureFrame(picture.size));
    }

    void preformatted(const Preformatted& lines) {
        const double lineHeight = QFontMetricsF(m_mono, &m_writer).lineSpacing();
        for (const std::string& line : lines.lines) {
            ensureRoom(lineHeight);
            m_painter.setFont(m_mono);
            m_painter.setPen(QColor(Qt::black));
            m_painter.drawText(QRectF(0, m_y, m_width, lineHeight), Qt::TextWrapAnywhere,
                               qText(line));
            m_y += lineHeight;
        }
        m_y += u(kGapAfterTable);
    }

    // A table that runs past the page's end goes on on the next under its heads again.
    void table(const Table& table) {
        const std::vector<double> widths = columnWidths(table);
        std::vector<Cell> heads;
        for (const std::string& head : table.heads) {
            heads.push_back({head, CellKind::Label});
        }
        if (!heads.empty()) {
            ensureRoom(2 * rowHeight(heads, widths, true));
            drawRow(heads, widths, true);
        }
        for (const std::vector<Cell>& row : table.rows) {
            const double height = rowHeight(row, widths, heads.empty());
            if (m_y + height > m_bottom && !heads.empty()) {
                newPage();
                drawRow(heads, widths, true);
            }
            ensureRoom(height);
            drawRow(row, widths, false);
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

    const QFont& fontOf(const Cell& cell, bool head) const {
        if (head || cell.kind == CellKind::Label) {
            return m_bold;
        }
        return cell.kind == CellKind::Hash ? m_mono : m_body;
    }

    double textWidth(const QFont& font, const std::string& text) const {
        return QFontMetricsF(font, &m_writer).horizontalAdvance(qText(text));
    }

    // Each column as wide as its widest cell; the first (names, bands) or, in a table of facts,
    // the values take what is left of the page and wrap when that is not enough.
    std::vector<double> columnWidths(const Table& table) const {
        const std::size_t count = table.heads.empty() ? 2 : table.heads.size();
        std::vector<double> widths(count, 0);
        const auto measure = [&](const Cell& cell, std::size_t column, bool head) {
            widths[column] = std::max(widths[column], textWidth(fontOf(cell, head), cell.text) +
                                                          u(2 * kCellPaddingX + 1));
        };
        for (std::size_t column = 0; column < table.heads.size(); ++column) {
            measure({table.heads[column]}, column, true);
        }
        for (const auto& row : table.rows) {
            for (std::size_t column = 0; column < row.size() && column < count; ++column) {
                measure(row[column], column, false);
            }
        }
        const std::size_t flexible = table.heads.empty() ? 1 : 0;
        const double others = std::accumulate(widths.begin(), widths.end(), 0.0) - widths[flexible];
        if (table.heads.empty() || others + widths[flexible] > m_width) {
            widths[flexible] = m_width - others;
        }
        return widths;
    }

    double rowHeight(const std::vector<Cell>& cells, const std::vector<double>& widths,
                     bool labelled) const {
        double height = 0;
        for (std::size_t column = 0; column < cells.size() && column < widths.size(); ++column) {
            const QFont& font = labelled && column == 0 ? m_bold : m_body;
            const QRectF room(0, 0, widths[column] - u(2 * kCellPaddingX), m_bottom);
            height = std::max(
                height, QFontMetricsF(font, &m_writer)
                            .boundingRect(room, Qt::TextWrapAnywhere, qText(cells[column].text))
                            .height());
        }
        return height + u(2 * kCellPaddingY);
    }

    void drawRow(const std::vector<Cell>& cells, const std::vector<double>& widths, bool head) {
        const bool labelled = !cells.empty() && cells.front().kind == CellKind::Label;
        const double height = rowHeight(cells, widths, head || labelled);
        double x = 0;
        for (std::size_t column = 0; column < cells.size() && column < widths.size(); ++column) {
            const QRectF cell(x, m_y, widths[column], height);
            m_painter.setPen(QPen(kRule, u(0.5)));
            m_painter.drawRect(cell);
            const Cell& content = cells[column];
            const bool number = !head && content.kind == CellKind::Number;
            m_painter.setFont(fontOf(content, head));
            m_painter.setPen(head                             ? QColor(Qt::black)
                             : content.kind == CellKind::Pass ? kPass
                             : content.kind == CellKind::Fail ? kFail
                                                              : QColor(Qt::black));
            m_painter.drawText(cell.adjusted(u(kCellPaddingX), u(kCellPaddingY), -u(kCellPaddingX),
                                             -u(kCellPaddingY)),
                               Qt::TextWrapAnywhere | (number ? Qt::AlignRight : Qt::AlignLeft),
                               qText(content.text));
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

void writeSection(PageWriter& pages, const Section& section) {
    pages.newPage();
    for (const Block& block : section.blocks) {
        if (const auto* heading = std::get_if<Heading>(&block)) {
            pages.heading(heading->text, heading->level == 1 ? 14 : 10.5, Qt::black);
        } else if (const auto* line = std::get_if<VerdictLine>(&block)) {
            pages.heading(line->text, 13, line->failed ? kFail : kPass);
        } else if (const auto* table = std::get_if<Table>(&block)) {
            pages.table(*table);
        } else if (const auto* picture = std::get_if<Picture>(&block)) {
            pages.picture(*picture);
        } else if (const auto* lines = std::get_if<Preformatted>(&block)) {
            pages.preformatted(*lines);
        }
    }
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

std::string pdfReport(const Document& document, const ReportHeading& heading) {
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
        for (const Section& section : document.sections) {
            writeSection(pages, section);
        }
        painter.end();
    }
    dateDocument(bytes, heading.evaluatedAt);
    return bytes.toStdString();
}

}  // namespace ambersel::report
