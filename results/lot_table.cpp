#include "results/lot_table.h"

#include <string_view>

#include "text/byte_text.h"
#include "text/time_text.h"
#include "text/value_text.h"

namespace ambersel {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

}  // namespace

std::string lotTableHeader() {
    return "path,verdict,line,figure,figure_bits,margin_db,point_count,stop,stop_line,size_bytes,"
           "modified,sha256,error" +
           std::string(kRowEnd);
}

std::string lotTableRow(const EvaluatedList& list) {
    const std::optional<FileFacts>& facts = list.facts;
    const ListAnalysis& analysis = list.analysis;
    const bool verdict = list.hasVerdict();
    const float figure = analysis.verdict.figure;
    // Only a list with a verdict has a margin.
    const std::optional<double>& margin = analysis.margin;
    const bool malformed = list.opened && analysis.stop.end == ReadingEnd::MalformedItem;
    std::string row = csvField(list.name);
    for (const std::string& field : {
             std::string(verdictName(list.status)),
             verdict ? formatVerdictUtf8(analysis.verdict) : std::string(),
             verdict ? shortestText(figure) : std::string(),
             verdict ? floatBitsText(figure) : std::string(),
             margin ? decimalsText(roundedMargin(*margin), 2) : std::string(),
             std::to_string(analysis.points.size()),
             list.opened ? std::string(stopReasonName(analysis.stop.end)) : std::string(),
             malformed ? std::to_string(analysis.stop.line) : std::string(),
             facts ? std::to_string(facts->size) : std::string(),
             facts ? isoTimeText(facts->modifiedSeconds, std::nullopt) : std::string(),
             facts ? facts->sha256 : std::string(),
             !verdict             ? list.errorReason
             : list.factsWithheld ? std::string("the file was written to after it was read")
                                  : std::string(),
         }) {
        row += ',';
        row += csvField(field);
    }
    row += kRowEnd;
    return row;
}

}  // namespace ambersel
