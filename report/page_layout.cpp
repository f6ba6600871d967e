#include "report/page_layout.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "text/byte_text.h"

namespace ambersel::report {

using plot::Colour;
using plot::Face;
using plot::TextAnchor;

namespace {

constexpr double kBodyWidth = plot::pdf::kA4.width - 2 * kPageMargin;
constexpr double kBodySize = 8.5;
constexpr double kHashSize = 8.2;
// Wider than a space, so that text taken from the page keeps two cells' texts apart.
constexpr double kCellPaddingX = 5;
constexpr double kCellPaddingY = 2.2;
constexpr double kGapAfterBlock = 10;
constexpr double kGapBetweenSections = 24;
constexpr double kLargestPictureHeight = 236;
// A heading keeps this much of what follows it on its page.
constexpr double kKeptWithHeading = 48;

constexpr Colour kInk{0, 0, 0};
constexpr Colour kPass{0x11, 0x68, 0x1f};
constexpr Colour kFail{0xa1, 0x12, 0x12};
constexpr Colour kRule{0x99, 0x99, 0x99};
constexpr Colour kHeadShade{0xe8, 0xec, 0xf2};

bool startsCodePoint(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U;
}

Face faceOf(const Cell& cell, bool head) {
    if (head || cell.kind == CellKind::Label) {
        return Face::SansBold;
    }
    return cell.kind == CellKind::Hash ? Face::SansMono : Face::Sans;
}

double sizeOf(Face face) {
    return face == Face::SansMono ? kHashSize : kBodySize;
}

Colour colourOf(const Cell& cell, bool head) {
    if (head) {
        return kInk;
    }
    return cell.kind == CellKind::Pass ? kPass : cell.kind == CellKind::Fail ? kFail : kInk;
}

double lineHeight(Face face, double size) {
    return plot::lineMetrics(face, size).height;
}

}  // namespace

std::vector<std::string> wrappedLines(std::string_view text, Face face, double size, double width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        double used = 0;
        std::size_t end = start;
        std::size_t afterSpace = std::string_view::npos;
        while (end < text.size()) {
            std::size_t next = end + 1;
            while (next < text.size() && !startsCodePoint(text[next])) {
                ++next;
            }
            const double advance = plot::textExtent(text.substr(end, next - end), face, size).width;
            if (used + advance > width && end > start) {
                break;
            }
            used += advance;
            if (text[end] == ' ') {
                afterSpace = next;
            }
            end = next;
        }
        if (end < text.size() && afterSpace != std::string_view::npos && afterSpace > start) {
            end = afterSpace;
        }
        std::string_view line = text.substr(start, end - start);
        while (line.ends_with(' ') && line.size() > 1) {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = end;
    }
    if (lines.empty()) {
        lines.emplace_back();
    }
    return lines;
}

struct PageLayout::TableGeometry {
    std::vector<double> widths;
    bool labelled = false;  // a table of facts: no heads, each row led by its label
};

PageLayout::PageLayout(std::function<void(plot::pdf::Page)> finished)
    : m_finished(std::move(finished)) {}

void PageLayout::section(const Section& section) {
    if (!m_page || section.ownPage) {
        newPage();
    } else {
        ensureRoom(kGapBetweenSections + kKeptWithHeading);
        if (m_y > kBodyTop) {
            m_y += kGapBetweenSections;
        }
    }
    for (const Block& block : section.blocks) {
        if (const auto* title = std::get_if<Heading>(&block)) {
            heading(title->text, Face::SansBold, title->level == 1 ? 14 : 10.5, kInk);
        } else if (const auto* line = std::get_if<VerdictLine>(&block)) {
            heading(line->text, Face::SansBold, 13, line->failed ? kFail : kPass);
        } else if (const auto* rows = std::get_if<Table>(&block)) {
            table(*rows);
        } else if (const auto* drawing = std::get_if<Picture>(&block)) {
            picture(*drawing);
        } else if (const auto* lines = std::get_if<Preformatted>(&block)) {
            preformatted(*lines);
        }
    }
}

void PageLayout::end(std::string_view closing) {
    ensureRoom(3 * lineHeight(Face::SansBold, 10));
    page().rule({kPageMargin, m_y + 4}, {kPageMargin + kBodyWidth, m_y + 4}, 0.75, kInk);
    m_y += 4 + lineHeight(Face::SansBold, 10);
    page().text(printableText(closing), {kPageMargin + kBodyWidth / 2, m_y}, Face::SansBold, 10,
                kInk, TextAnchor::Middle);
    m_finished(std::move(*m_page));
    m_page.reset();
}

void PageLayout::heading(const std::string& text, Face face, double size, Colour colour) {
    const std::vector<std::string> lines =
        wrappedLines(printableText(text), face, size, kBodyWidth);
    const plot::LineMetrics metrics = plot::lineMetrics(face, size);
    ensureRoom(static_cast<double>(lines.size()) * metrics.height + kKeptWithHeading);
    for (const std::string& line : lines) {
        page().text(line, {kPageMargin, m_y + metrics.ascent}, face, size, colour);
        m_y += metrics.height;
    }
    m_y += size * 0.4;
}

// Each column as wide as its widest cell; the first (names, bands) or, in a table of facts, the
// values take what is left of the page and wrap when that is not enough.
void PageLayout::table(const Table& table) {
    TableGeometry geometry;
    geometry.labelled = table.heads.empty();
    const std::size_t count = geometry.labelled ? 2 : table.heads.size();
    geometry.widths.assign(count, 0);
    const auto measure = [&](const Cell& cell, std::size_t column, bool head) {
        const Face face = faceOf(cell, head);
        const double width = plot::textExtent(printableText(cell.text), face, sizeOf(face)).width;
        geometry.widths[column] = std::max(geometry.widths[column], width + 2 * kCellPaddingX + 1);
    };
    std::vector<Cell> heads;
    for (std::size_t column = 0; column < table.heads.size(); ++column) {
        heads.push_back({table.heads[column], CellKind::Label});
        measure(heads.back(), column, true);
    }
    for (const std::vector<Cell>& row : table.rows) {
        for (std::size_t column = 0; column < row.size() && column < count; ++column) {
            measure(row[column], column, false);
        }
    }
    const std::size_t flexible = geometry.labelled ? 1 : 0;
    const double total = std::accumulate(geometry.widths.begin(), geometry.widths.end(), 0.0);
    if (geometry.labelled || total > kBodyWidth) {
        geometry.widths[flexible] = std::max(kBodyWidth - (total - geometry.widths[flexible]),
                                             2 * kCellPaddingX + kBodySize);
    }
    const std::optional<RowLines> headLines =
        heads.empty() ? std::nullopt : std::optional(rowLines(heads, geometry, true));
    for (std::size_t at = 0; at < table.rows.size() || (at == 0 && headLines); ++at) {
        const std::optional<RowLines> row =
            at < table.rows.size() ? std::optional(rowLines(table.rows[at], geometry, false))
                                   : std::nullopt;
        const double height = row ? row->height : 0;
        const bool first = at == 0;
        if (first && headLines) {
            ensureRoom(headLines->height + height);
            drawRow(*headLines, heads, geometry, true);
        } else if (m_y + height > kBodyBottom && m_y > kBodyTop) {
            newPage();
            if (headLines) {
                drawRow(*headLines, heads, geometry, true);
            }
        }
        if (row) {
            drawRow(*row, table.rows[at], geometry, false);
        }
    }
    m_y += kGapAfterBlock;
}

PageLayout::RowLines PageLayout::rowLines(const std::vector<Cell>& cells,
                                          const TableGeometry& geometry, bool head) {
    RowLines row;
    for (std::size_t column = 0; column < cells.size() && column < geometry.widths.size();
         ++column) {
        const Face face = faceOf(cells[column], head);
        row.lines.push_back(wrappedLines(printableText(cells[column].text), face, sizeOf(face),
                                         geometry.widths[column] - 2 * kCellPaddingX));
        row.height = std::max(row.height, static_cast<double>(row.lines.back().size()) *
                                              lineHeight(face, sizeOf(face)));
    }
    row.height += 2 * kCellPaddingY;
    return row;
}

void PageLayout::drawRow(const RowLines& row, const std::vector<Cell>& cells,
                         const TableGeometry& geometry, bool head) {
    double x = kPageMargin;
    for (std::size_t column = 0; column < row.lines.size(); ++column) {
        const double width = geometry.widths[column];
        const Cell& cell = cells[column];
        const Face face = faceOf(cell, head);
        if (head || (geometry.labelled && column == 0)) {
            page().cell({x, m_y, width, row.height}, kHeadShade);
        }
        const plot::LineMetrics metrics = plot::lineMetrics(face, sizeOf(face));
        const bool number = !head && cell.kind == CellKind::Number;
        double baseline = m_y + kCellPaddingY + metrics.ascent;
        for (const std::string& line : row.lines[column]) {
            const plot::Point anchor{number ? x + width - kCellPaddingX : x + kCellPaddingX,
                                     baseline};
            page().text(line, anchor, face, sizeOf(face), colourOf(cell, head),
                        number ? TextAnchor::End : TextAnchor::Start);
            baseline += metrics.height;
        }
        x += width;
    }
    for (const double y : {m_y, m_y + row.height}) {
        page().rule({kPageMargin, y}, {x, y}, 0.5, kRule);
    }
    x = kPageMargin;
    page().rule({x, m_y}, {x, m_y + row.height}, 0.5, kRule);
    for (std::size_t column = 0; column < row.lines.size(); ++column) {
        x += geometry.widths[column];
        page().rule({x, m_y}, {x, m_y + row.height}, 0.5, kRule);
    }
    m_y += row.height;
}

void PageLayout::picture(const Picture& picture) {
    if (picture.size.width <= 0 || picture.size.height <= 0) {
        return;
    }
    const double height = std::min(kBodyWidth * picture.size.height / picture.size.width,
                                   std::min(kLargestPictureHeight, kBodyBottom - kBodyTop));
    const double width = height * picture.size.width / picture.size.height;
    ensureRoom(height);
    page().picture({kPageMargin + (kBodyWidth - width) / 2, m_y, width, height}, picture.size,
                   picture.draw);
    m_y += height + kGapAfterBlock;
}

void PageLayout::preformatted(const Preformatted& lines) {
    const plot::LineMetrics metrics = plot::lineMetrics(Face::SansMono, kHashSize);
    for (const std::string& text : lines.lines) {
        for (const std::string& line :
             wrappedLines(printableText(text), Face::SansMono, kHashSize, kBodyWidth)) {
            ensureRoom(metrics.height);
            page().text(line, {kPageMargin, m_y + metrics.ascent}, Face::SansMono, kHashSize, kInk);
            m_y += metrics.height;
        }
    }
    m_y += kGapAfterBlock;
}

void PageLayout::ensureRoom(double height) {
    if (!m_page || (m_y + height > kBodyBottom && m_y > kBodyTop)) {
        newPage();
    }
}

void PageLayout::newPage() {
    if (m_page) {
        m_finished(std::move(*m_page));
    }
    m_page.emplace(plot::pdf::kA4);
    m_y = kBodyTop;
}

plot::pdf::Page& PageLayout::page() {
    if (!m_page) {
        newPage();
    }
    return *m_page;
}

}  // namespace ambersel::report
