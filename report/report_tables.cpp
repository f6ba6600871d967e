#include "report/report_tables.h"

#include "report/report_text.h"

namespace ambersel::report {

ReportTable factTable(const ReportHeading& heading, const ListRecord& record) {
    const TimeZoneShown zone = heading.evaluatedAt.zone;
    ReportTable table;
    table.firstNumberColumn = 2;
    table.rows = {
        {"F", roundedText(record.verdict.figure, 9) + " (bits " +
                  floatBitsText(record.verdict.figure) + ")"},
        {"Margin", marginText(record.margin) + ": " + marginMeaning(record.margin)},
        {"Points read", std::to_string(record.pointCount)},
        {"Reading stopped at", stopText(record.stop)},
        {"File", record.name},
    };
    if (record.file) {
        table.rows.push_back({"Size", std::to_string(record.file->size) + " bytes"});
        table.rows.push_back({"Modified", timeText(record.file->modifiedSeconds, zone)});
        table.rows.push_back({kSha256Label, record.file->sha256});
    } else if (record.fileWrittenAfterReading) {
        table.rows.push_back({"File facts", kWrittenAfterReading});
    }
    table.rows.push_back({"Program", "Ambersel Test Calculator " + heading.programVersion});
    table.rows.push_back({"Evaluated", timeText(heading.evaluatedAt.seconds, zone)});
    return table;
}

ReportTable contributorTable(const ListRecord& record) {
    ReportTable table{
        {"#", "Point", "Frequency", "Level (dB\xC2\xB5V)", "Term", "Share of F"}, {}, 0};
    std::size_t rank = 1;
    for (const RankedPoint& ranked : record.heaviest) {
        table.rows.push_back({std::to_string(rank++), std::to_string(ranked.index + 1),
                              frequencyText(ranked.point.frequency, kFrequencyDigits),
                              decimalsText(ranked.point.level, 2), roundedText(ranked.term, 6),
                              percentText(shareOfFigure(ranked.term, record.verdict.figure))});
    }
    return table;
}

ReportTable bandTable(const ListRecord& record) {
    ReportTable table{
        {"Band", "Points", "Sum of terms", "Share of F", "Margin without the band"}, {}, 1};
    for (const BandShare& band : record.bands) {
        table.rows.push_back({bandText(band), std::to_string(band.pointCount),
                              roundedText(band.sumOfTerms, 6), percentText(band.share),
                              marginText(band.marginWithout)});
    }
    return table;
}

ReportTable summaryTable(const std::vector<ListRecord>& records) {
    ReportTable table{{"List", "Result", "Margin", "Points"}, {}, 2};
    for (const ListRecord& record : records) {
        table.rows.push_back({record.name, record.resultLine, marginText(record.margin),
                              std::to_string(record.pointCount)});
    }
    return table;
}

}  // namespace ambersel::report
