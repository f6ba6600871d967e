#include "report/html_report.h"

#include <sstream>

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
img { width: 175mm; max-height: 88mm; object-fit: contain; }
.mono { font-family: "DejaVu Sans Mono", monospace; font-size: 8pt; white-space: nowrap; }
)css";

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto byte = k < count ? static_cast<unsigned char>(bytes[at + k]) : 0U;
            group = (group << 8U) | byte;
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text.push_back(k <= count ? kBase64Digits[(group >> (18 - 6 * k)) & 0x3FU] : '=');
        }
    }
    return text;
}

// Escapes text for HTML after making it printable, so no list can inject markup.
std::string html(std::string_view text) {
    std::string escaped;
    for (const char c : printableText(text)) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped.push_back(c);
        }
    }
    return escaped;
}

const char* verdictClass(const ListRecord& record) {
    return record.verdict.failed ? "fail" : "pass";
}

void writeRow(std::ostream& out, std::string_view label, std::string_view value) {
    out << "<tr><th>" << label << "</th><td>" << value << "</td></tr>\n";
}

void writeFacts(std::ostream& out, const ReportHeading& heading, const ListRecord& record) {
    out << "<table>\n";
    writeRow(out, "F",
             html(roundedText(record.verdict.figure, 9)) + " (bits " +
                 floatBitsText(record.verdict.figure) + ")");
    writeRow(out, "Margin", marginText(record.margin) + ": " + marginMeaning(record.margin));
    writeRow(out, "Points read", std::to_string(record.pointCount));
    writeRow(out, "Reading stopped at", html(stopText(record.stop)));
    writeRow(out, "File", html(record.name));
    const TimeZoneShown zone = heading.evaluatedAt.zone;
    if (record.file) {
        writeRow(out, "Size", std::to_string(record.file->size) + " bytes");
        writeRow(out, "Modified", timeText(record.file->modifiedSeconds, zone));
        writeRow(out, "SHA-256", "<span class=\"mono\">" + record.file->sha256 + "</span>");
    } else if (record.fileWrittenAfterReading) {
        writeRow(out, "File facts", kWrittenAfterReading);
    }
    writeRow(out, "Program", "Ambersel Test Calculator " + html(heading.programVersion));
    writeRow(out, "Evaluated", timeText(heading.evaluatedAt.seconds, zone));
    out << "</table>\n";
}

void writeHeaviest(std::ostream& out, const ListRecord& record) {
    out << "<h2>Largest contributors</h2>\n<table>\n"
           "<tr><th>#</th><th>Point</th><th>Frequency</th><th>Level (dB&#181;V)</th>"
           "<th>Term</th><th>Share of F</th></tr>\n";
    std::size_t rank = 1;
    for (const RankedPoint& ranked : record.heaviest) {
        const std::optional<double> share = shareOfFigure(ranked.term, record.verdict.figure);
        out << "<tr><td class=\"n\">" << rank++ << "</td><td class=\"n\">" << ranked.index + 1
            << "</td><td class=\"n\">"
            << html(frequencyText(ranked.point.frequency, kFrequencyDigits))
            << "</td><td class=\"n\">" << html(decimalsText(ranked.point.level, 2))
            << "</td><td class=\"n\">" << html(roundedText(ranked.term, 6))
            << "</td><td class=\"n\">" << percentText(share) << "</td></tr>\n";
    }
    out << "</table>\n";
}

void writeBands(std::ostream& out, const ListRecord& record) {
    out << "<h2>Where F comes from</h2>\n<table>\n"
           "<tr><th>Band</th><th>Points</th><th>Sum of terms</th><th>Share of F</th>"
           "<th>Margin without the band</th></tr>\n";
    for (const BandShare& band : record.bands) {
        out << "<tr><td>" << html(bandText(band)) << "</td><td class=\"n\">" << band.pointCount
            << "</td><td class=\"n\">" << html(roundedText(band.sumOfTerms, 6))
            << "</td><td class=\"n\">" << percentText(band.share) << "</td><td class=\"n\">"
            << marginText(band.marginWithout) << "</td></tr>\n";
    }
    out << "</table>\n";
}

void writeList(std::ostream& out, const ReportHeading& heading, const ListRecord& record,
               std::size_t index, PictureSource pictures, bool newPage) {
    out << (newPage ? "<div class=\"list\">" : "<div>") << "\n<h1>" << html(record.name)
        << "</h1>\n<p class=\"line " << verdictClass(record) << "\">" << html(record.resultLine)
        << "</p>\n";
    writeFacts(out, heading, record);
    if (!record.picturePng.empty()) {
        const std::string source = pictures == PictureSource::DataUri
                                       ? "data:image/png;base64," + base64(record.picturePng)
                                       : pictureResourceName(index);
        // A browser sizes the picture by the style sheet; the toolkit's PDF writer lays pages out
        // in points and takes the width given here.
        out << "<p><img src=\"" << source << "\" width=\"460\" alt=\"Spectrum of "
            << html(record.name) << "\"></p>\n";
    }
    writeHeaviest(out, record);
    writeBands(out, record);
    out << "</div>\n";
}

void writeSummary(std::ostream& out, const std::vector<ListRecord>& records) {
    out << "<h1>Summary</h1>\n<table>\n"
           "<tr><th>List</th><th>Result</th><th>Margin</th><th>Points</th></tr>\n";
    for (const ListRecord& record : records) {
        out << "<tr><td>" << html(record.name) << "</td><td class=\"" << verdictClass(record)
            << "\">" << html(record.resultLine) << "</td><td class=\"n\">"
            << marginText(record.margin) << "</td><td class=\"n\">" << record.pointCount
            << "</td></tr>\n";
    }
    out << "</table>\n";
}

}  // namespace

std::string pictureResourceName(std::size_t index) {
    return "picture-" + std::to_string(index) + ".png";
}

std::string reportHtml(const ReportHeading& heading, const std::vector<ListRecord>& records,
                       PictureSource pictures) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<title>Ambersel test report</title>\n<style>"
        << kStyle << "</style>\n</head>\n<body>\n";
    if (records.size() > 1) {
        writeSummary(out, records);
    }
    for (std::size_t index = 0; index < records.size(); ++index) {
        // After the summary, or after another list, a list starts a page of its own.
        const bool newPage = records.size() > 1;
        writeList(out, heading, records[index], index, pictures, newPage);
    }
    out << "</body>\n</html>\n";
    return out.str();
}

}  // namespace ambersel::report
