#include "cli/text_reports.h"

#include <string_view>

#include "cli/path_text.h"
#include "evaluation/value_text.h"
#include "report/report_text.h"

namespace ambersel::cli {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    }
    quoted += '"';
    return quoted;
}

std::string printablePath(const FileEvaluation& evaluation) {
    return printedPath(evaluation.argument);
}

std::string resultLine(const FileEvaluation& evaluation, bool withPath) {
    std::string line =
        evaluation.status == FileStatus::Error ? "" : formatVerdictUtf8(evaluation.verdict);
    if (withPath) {
        line = (line.empty() ? "ERROR" : line) + "\t" + printablePath(evaluation);
    }
    return line;
}

std::string errorMessage(const FileEvaluation& evaluation) {
    return "Error in the input file: " + printablePath(evaluation) + " (" + evaluation.errorReason +
           ")";
}

std::string readingWarning(const FileEvaluation& evaluation) {
    std::string warning = printablePath(evaluation) + ": read " +
                          countText(evaluation.points.size(), "point", "points");
    if (evaluation.stop.end == ReadingEnd::MalformedItem) {
        warning += "; stopped at line " + std::to_string(evaluation.stop.line) + ": '" +
                   escapedBytes(evaluation.stop.excerpt, false) + "'";
    } else {
        warning += "; the file holds no items";
    }
    return warning;
}

void writePointTableHeader(std::ostream& out) {
    out << "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F\n";
}

void writePointTableRows(std::ostream& out, const FileEvaluation& evaluation) {
    const std::string path = csvField(evaluation.argument);
    float figure = 0;
    std::string row;
    for (std::size_t index = 0; index < evaluation.points.size(); ++index) {
        const FrequencyLevelPoint point = evaluation.points[index];
        const PointContribution c = contributeToTestFigure(point, figure);
        figure = c.runningFigure;
        row = path;
        for (const std::string& field :
             {std::to_string(index + 1), shortestText(point.frequency), shortestText(point.level),
              shortestText(c.a), shortestText(c.b), shortestText(c.V), shortestText(c.Z),
              shortestText(c.w), shortestText(c.s), shortestText(c.K), shortestText(c.D),
              shortestText(c.term), shortestText(c.runningFigure)}) {
            row += ',';
            row += field;
        }
        row += '\n';
        out << row;
    }
}

void writeHeaviestPoints(std::ostream& out, const FileEvaluation& evaluation, std::size_t count) {
    std::size_t rank = 0;
    for (const RankedPoint& heavy : heaviestPoints(evaluation.points, count)) {
        const std::optional<double> share = shareOfFigure(heavy.term, evaluation.verdict.figure);
        out << "  " << std::to_string(++rank) << ". point " << std::to_string(heavy.index + 1)
            << ": " << shortestText(heavy.point.frequency) << " Hz, "
            << shortestText(heavy.point.level) << " dBµV, term " << roundedText(heavy.term, 6)
            << ", " << (share ? percentText(*share) + " of F" : std::string("share of F undefined"))
            << '\n';
    }
}

void writeMarginLine(std::ostream& out, const FileEvaluation& evaluation) {
    const std::optional<double> margin = marginDb(evaluation.verdict.figure);
    out << "  margin " << marginText(margin) << ": " << report::marginMeaning(margin) << '\n';
}

void writeBands(std::ostream& out, const FileEvaluation& evaluation,
                const std::vector<double>& edges) {
    const std::vector<double> bandEdges = edges.empty() ? decadeEdges(evaluation.points) : edges;
    if (bandEdges.size() < 2) {
        out << "  bands: no point has a frequency above 0\n";
        return;
    }
    for (const BandShare& band : shareByBand(evaluation.points, bandEdges)) {
        out << "  band " << report::bandText(band) << ": "
            << countText(band.pointCount, "point", "points") << ", "
            << report::percentText(band.share) << " of F, margin without it "
            << marginText(band.marginWithout) << '\n';
    }
}

}  // namespace ambersel::cli
