#include "results/list_lines.h"

#include <string_view>

#include "results/result_text.h"
#include "text/byte_text.h"
#include "text/value_text.h"

namespace ambersel {

std::string printablePath(const EvaluatedList& list) {
    return escapedBytes(list.name, true);
}

std::string resultLine(const EvaluatedList& list, bool withPath) {
    std::string line = list.hasVerdict() ? formatVerdictUtf8(list.analysis.verdict) : "";
    if (withPath) {
        line = (line.empty() ? "ERROR" : line) + "\t" + printablePath(list);
    }
    return line;
}

std::string errorMessage(const EvaluatedList& list) {
    return "Error in the input file: " + printablePath(list) + " (" + list.errorReason + ")";
}

std::string readingWarning(const EvaluatedList& list) {
    const ReadingStop& stop = list.analysis.stop;
    std::string warning =
        printablePath(list) + ": read " + countText(list.analysis.points.size(), "point", "points");
    if (stop.end == ReadingEnd::MalformedItem) {
        warning += "; stopped at line " + std::to_string(stop.line) + ": '" +
                   escapedBytes(stop.excerpt, false) + "'";
    } else {
        warning += "; the file holds no items";
    }
    return warning;
}

void writePointTableHeader(std::ostream& out) {
    out << "path,index,frequency_Hz,level_dBuV,a,b,V,Z,w,s,K,D,term,running_F\n";
}

void writePointTableRows(std::ostream& out, const EvaluatedList& list) {
    const std::string path = csvField(list.name);
    const FrequencyLevelList& points = list.analysis.points;
    float figure = 0;
    std::string row;
    for (std::size_t index = 0; index < points.size(); ++index) {
        const FrequencyLevelPoint point = points[index];
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

void writeHeaviestPoints(std::ostream& out, const EvaluatedList& list, std::size_t count) {
    const ListAnalysis& analysis = list.analysis;
    for (std::size_t rank = 0; rank < count && rank < analysis.heaviest.size(); ++rank) {
        const RankedPoint& heavy = analysis.heaviest[rank];
        const std::optional<double>& share = heavy.share;
        out << "  " << std::to_string(rank + 1) << ". point " << std::to_string(heavy.index + 1)
            << ": " << shortestText(heavy.point.frequency) << " Hz, "
            << shortestText(heavy.point.level) << " dBµV, term " << roundedText(heavy.term, 6)
            << ", " << (share ? percentText(*share) + " of F" : std::string("share of F undefined"))
            << '\n';
    }
}

void writeMarginLine(std::ostream& out, const EvaluatedList& list) {
    const std::optional<double> margin = list.analysis.margin;
    out << "  margin " << marginText(margin) << ": " << marginMeaning(margin) << '\n';
}

void writeBands(std::ostream& out, const EvaluatedList& list) {
    if (list.analysis.bandEdges.empty()) {
        out << "  bands: no point has a frequency above 0\n";
        return;
    }
    for (const BandShare& band : list.analysis.bands) {
        out << "  band " << bandText(band) << ": " << countText(band.pointCount, "point", "points")
            << ", " << percentText(band.share, "-") << " of F, margin without it "
            << marginText(band.marginWithout) << '\n';
    }
}

}  // namespace ambersel
