#include "cli/lot_table.h"

#include <string_view>

#include "cli/text_reports.h"
#include "evaluation/figure_analysis.h"
#include "evaluation/test_figure.h"
#include "evaluation/value_text.h"
#include "report/report_time.h"

namespace ambersel::cli {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

}  // namespace

std::string lotTableHeader() {
    return "path,verdict,line,figure,figure_bits,margin_db,point_count,stop,stop_line,size_bytes,"
           "modified,sha256,error" +
           std::string(kRowEnd);
}

std::string lotTableRow(const FileEvaluation& evaluation) {
    const std::optional<report::FileFacts>& facts = evaluation.facts;
    const bool verdict = evaluation.status != FileStatus::Error;
    const float figure = evaluation.verdict.figure;
    const std::optional<double> margin = verdict ? marginDb(figure) : std::nullopt;
    const bool malformed = evaluation.opened && evaluation.stop.end == ReadingEnd::MalformedItem;
    std::string row = csvField(evaluation.argument);
    for (const std::string& field : {
             std::string(verdictName(evaluation.status)),
             verdict ? formatVerdictUtf8(evaluation.verdict) : std::string(),
             verdict ? shortestText(figure) : std::string(),
             verdict ? floatBitsText(figure) : std::string(),
             margin ? decimalsText(roundedMargin(*margin), 2) : std::string(),
             std::to_string(evaluation.points.size()),
             evaluation.opened ? std::string(stopReasonName(evaluation.stop.end)) : std::string(),
             malformed ? std::to_string(evaluation.stop.line) : std::string(),
             facts ? std::to_string(facts->size) : std::string(),
             facts ? report::isoTimeText(facts->modifiedSeconds, std::nullopt) : std::string(),
             facts ? facts->sha256 : std::string(),
             !verdict                   ? evaluation.errorReason
             : evaluation.factsWithheld ? std::string("the file was written to after it was read")
                                        : std::string(),
         }) {
        row += ',';
        row += csvField(field);
    }
    row += kRowEnd;
    return row;
}

}  // namespace ambersel::cli
