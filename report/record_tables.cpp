#include "report/record_tables.h"

#include "report/report_text.h"

namespace ambersel::report {

TextTable bandTable(const ListRecord& record) {
    TextTable table{{"Band", "Points", "Sum of terms", "Share of F", "Margin without the band"},
                    {}};
    for (const BandShare& band : record.bands) {
        table.rows.push_back({printableText(bandText(band)), std::to_string(band.pointCount),
                              roundedText(band.sumOfTerms, 6), percentText(band.share),
                              marginText(band.marginWithout)});
    }
    return table;
}

TextTable contributorTable(const ListRecord& record) {
    TextTable table{{"Point", "Frequency", "Level (dB\u00B5V)", "Term", "Share of F"}, {}};
    for (const RankedPoint& ranked : record.heaviest) {
        table.rows.push_back({std::to_string(ranked.index + 1),
                              frequencyText(ranked.point.frequency, kFrequencyDigits),
                              decimalsText(ranked.point.level, 2), roundedText(ranked.term, 6),
                              percentText(shareOfFigure(ranked.term, record.verdict.figure))});
    }
    return table;
}

}  // namespace ambersel::report
