#include "report/html_report.h"

#include <sstream>

#include "plot/canvas/svg_canvas.h"
#include "text/byte_text.h"

namespace ambersel::report {
namespace {

constexpr const char* kStyle = R"css(
@page { size: A4; margin: 14mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 9pt; color: #111;
       font-variant-ligatures: none; }
h1 { font-size: 14pt; margin: 0 0 2mm 0; }
h2 { font-size: 10.5pt; margin: 3mm 0 1mm 0; }
table { border-collapse: collapse; margin-bottom: 2mm; }
td, th { border: 1px solid #999; padding: 0.6mm 2.5mm; text-align: left; vertical-align: top; }
td.n { text-align: right; }
.list { page-break-before: always; break-before: page; }
.line { font-size: 13pt; font-weight: bold; margin: 1mm 0 2mm 0; }
.pass { color: #11681f; } .fail { color: #a11212; }
svg { width: 175mm; max-height: 95mm; height: auto; }
.mono { font-family: "DejaVu Sans Mono", monospace; font-size: 8pt; white-space: nowrap; }
)css";

// Escapes text for HTML after making it printable, so no list can inject markup.
std::string html(std::string_view text) {
    return markupText(printableText(text));
}

void writeCell(std::ostream& out, const Cell& cell) {
    switch (cell.kind) {
        case CellKind::Label:
            out << "<th>" << html(cell.text) << "</th>";
            return;
        case CellKind::Hash:
            out << "<td><span class=\"mono\">" << html(cell.text) << "</span></td>";
            return;
        case CellKind::Number:
            out << "<td class=\"n\">" << html(cell.text) << "</td>";
            return;
        case CellKind::Pass:
        case CellKind::Fail:
            out << "<td class=\"" << (cell.kind == CellKind::Fail ? "fail" : "pass") << "\">"
                << html(cell.text) << "</td>";
            return;
        case CellKind::Text:
            break;
    }
    out << "<td>" << html(cell.text) << "</td>";
}

void writeTable(std::ostream& out, const Table& table) {
    out << "<table>\n";
    if (!table.heads.empty()) {
        out << "<tr>";
        for (const std::string& head : table.heads) {
            out << "<th>" << html(head) << "</th>";
        }
        out << "</tr>\n";
    }
    for (const std::vector<Cell>& row : table.rows) {
        out << "<tr>";
        for (const Cell& cell : row) {
            writeCell(out, cell);
        }
        out << "</tr>\n";
    }
    out << "</table>\n";
}

void writePicture(std::ostream& out, const Picture& picture) {
    plot::SvgCanvas canvas(picture.size, picture.title, picture.description, picture.id + "-");
    picture.draw(canvas);
    out << "<p>" << canvas.element() << "</p>\n";
}

void writeBlock(std::ostream& out, const Block& block) {
    if (const auto* heading = std::get_if<Heading>(&block)) {
        const char* tag = heading->level == 1 ? "h1" : "h2";
        out << "<" << tag << ">" << html(heading->text) << "</" << tag << ">\n";
    } else if (const auto* line = std::get_if<VerdictLine>(&block)) {
        out << "<p class=\"line " << (line->failed ? "fail" : "pass") << "\">" << html(line->text)
            << "</p>\n";
    } else if (const auto* table = std::get_if<Table>(&block)) {
        writeTable(out, *table);
    } else if (const auto* picture = std::get_if<Picture>(&block)) {
        writePicture(out, *picture);
    } else if (const auto* lines = std::get_if<Preformatted>(&block)) {
        out << "<pre class=\"mono\">";
        for (const std::string& line : lines->lines) {
            out << html(line) << '\n';
        }
        out << "</pre>\n";
    }
}

}  // namespace

void writeSectionHtml(std::ostream& out, const Section& section) {
    if (section.framed) {
        out << (section.ownPage ? "<div class=\"list\">" : "<div>") << "\n";
    }
    for (const Block& block : section.blocks) {
        writeBlock(out, block);
    }
    if (section.framed) {
        out << "</div>\n";
    }
}

std::string reportHtml(const Document& document) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Ambersel test report</title>\n<style>"
        << kStyle << "</style>\n</head>\n<body>\n";
    for (const Section& section : document.sections) {
        writeSectionHtml(out, section);
    }
    out << "</body>\n</html>\n";
    return out.str();
}

}  // namespace ambersel::report
