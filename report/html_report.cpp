#include "report/html_report.h"

#include <functional>
#include <sstream>

#include "evaluation/value_text.h"
#include "plot/canvas/svg_canvas.h"
#include "plot/drawing/chart_drawing.h"
#include "report/report_tables.h"
#include "report/report_text.h"

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

const char* verdictClass(const ListRecord& record) {
    return record.verdict.failed ? "fail" : "pass";
}

// A table of labelled facts (no heads: each row's first cell labels it) or of heads and rows.
// `resultClass`, when given, names the class of a row's result (its second cell).
void writeTable(std::ostream& out, const ReportTable& table,
                const std::function<const char*(std::size_t row)>& resultClass = {}) {
    out << "<table>\n";
    if (!table.heads.empty()) {
        out << "<tr>";
        for (const std::string& head : table.heads) {
            out << "<th>" << html(head) << "</th>";
        }
        out << "</tr>\n";
    }
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        const std::vector<std::string>& cells = table.rows[row];
        out << "<tr>";
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (table.heads.empty() && column == 0) {
                out << "<th>" << html(cells[column]) << "</th>";
            } else if (table.heads.empty() && cells[0] == kSha256Label) {
                out << "<td><span class=\"mono\">" << html(cells[column]) << "</span></td>";
            } else if (column >= table.firstNumberColumn) {
                out << "<td class=\"n\">" << html(cells[column]) << "</td>";
            } else if (column == 1 && resultClass) {
                out << "<td class=\"" << resultClass(row) << "\">" << html(cells[column])
                    << "</td>";
            } else {
                out << "<td>" << html(cells[column]) << "</td>";
            }
        }
        out << "</tr>\n";
    }
    out << "</table>\n";
}

void writeList(std::ostream& out, const ReportHeading& heading, const ListRecord& record,
               std::size_t index, bool newPage) {
    out << (newPage ? "<div class=\"list\">" : "<div>") << "\n<h1>" << html(record.name)
        << "</h1>\n<p class=\"line " << verdictClass(record) << "\">" << html(record.resultLine)
        << "</p>\n";
    writeTable(out, factTable(heading, record));
    if (record.picture) {
        // Ids unique to the list within the document.
        const RecordPicture& picture = *record.picture;
        plot::SvgCanvas canvas(picture.layout.canvas, plot::headingOf(picture.chart),
                               picture.chart.summary, "list" + std::to_string(index) + "-");
        plot::drawChart(canvas, picture.chart, picture.layout);
        out << "<p>" << canvas.element() << "</p>\n";
    }
    out << "<h2>Largest contributors</h2>\n";
    writeTable(out, contributorTable(record));
    out << "<h2>Where F comes from</h2>\n";
    writeTable(out, bandTable(record));
    out << "</div>\n";
}

void writeSummary(std::ostream& out, const std::vector<ListRecord>& records, const LotPage* lot) {
    out << "<h1>Summary</h1>\n";
    if (lot) {
        plot::SvgCanvas canvas(lot->pictureSize, lot->pictureTitle,
                               lot->figures.empty() ? std::string() : lot->figures.front(), "lot-");
        lot->drawPicture(canvas);
        out << "<p>" << canvas.element() << "</p>\n<pre class=\"mono\">";
        for (const std::string& line : lot->figures) {
            out << html(line) << '\n';
        }
        out << "</pre>\n";
    }
    writeTable(out, summaryTable(records),
               [&](std::size_t row) { return verdictClass(records[row]); });
}

}  // namespace

std::string reportHtml(const ReportHeading& heading, const std::vector<ListRecord>& records,
                       const LotPage* lot) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Ambersel test report</title>\n<style>"
        << kStyle << "</style>\n</head>\n<body>\n";
    if (records.size() > 1) {
        writeSummary(out, records, lot);
    }
    for (std::size_t index = 0; index < records.size(); ++index) {
        // After the summary, or after another list, a list starts a page of its own.
        const bool newPage = records.size() > 1;
        writeList(out, heading, records[index], index, newPage);
    }
    out << "</body>\n</html>\n";
    return out.str();
}

}  // namespace ambersel::report
