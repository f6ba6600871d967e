#include "report/record_document.h"

#include <memory>
#include <utility>

#include "plot/drawing/chart_drawing.h"
#include "results/result_text.h"

namespace ambersel::report {
namespace {

std::vector<Cell> labelled(std::string label, std::string value, CellKind kind = CellKind::Text) {
    return {{std::move(label), CellKind::Label}, {std::move(value), kind}};
}

Cell number(std::string text) {
    return {std::move(text), CellKind::Number};
}

Picture pictureOf(const RecordPicture& recorded) {
    auto shared = std::make_shared<const RecordPicture>(recorded);
    return {
        recorded.layout.canvas, plot::headingOf(recorded.chart), recorded.chart.summary, "",
        [shared](plot::Canvas& canvas) { plot::drawChart(canvas, shared->chart, shared->layout); }};
}

}  // namespace

Table factTable(const ReportHeading& heading, const ListRecord& record) {
    const TimeZoneShown zone = heading.evaluatedAt.zone;
    Table table;
    table.rows = {
        labelled("F", roundedText(record.verdict.figure, 9) + " (bits " +
                          floatBitsText(record.verdict.figure) + ")"),
        labelled("Margin", marginText(record.margin) + ": " + marginMeaning(record.margin)),
        labelled("Points read", std::to_string(record.pointCount)),
        labelled("Reading stopped at", stopText(record.stop)),
        labelled("File", record.name),
    };
    if (record.file) {
        table.rows.push_back(labelled("Size", std::to_string(record.file->size) + " bytes"));
        table.rows.push_back(labelled("Modified", timeText(record.file->modifiedSeconds, zone)));
        table.rows.push_back(labelled("SHA-256", record.file->sha256, CellKind::Hash));
    } else if (record.fileWrittenAfterReading) {
        table.rows.push_back(labelled("File facts", kWrittenAfterReading));
    }
    table.rows.push_back(labelled("Program", "Ambersel Test Calculator " + heading.programVersion));
    table.rows.push_back(labelled("Evaluated", timeText(heading.evaluatedAt.seconds, zone)));
    return table;
}

Table contributorTable(const ListRecord& record) {
    Table table{{"#", "Point", "Frequency", "Level (dB\xC2\xB5V)", "Term", "Share of F"}, {}};
    std::size_t rank = 1;
    for (const RankedPoint& ranked : record.heaviest) {
        table.rows.push_back(
            {number(std::to_string(rank++)), number(std::to_string(ranked.index + 1)),
             number(frequencyText(ranked.point.frequency, kFrequencyDigits)),
             number(decimalsText(ranked.point.level, 2)), number(roundedText(ranked.term, 6)),
             number(percentText(ranked.share, "-"))});
    }
    return table;
}

Table bandTable(const ListRecord& record) {
    Table table{{"Band", "Points", "Sum of terms", "Share of F", "Margin without the band"}, {}};
    for (const BandShare& band : record.bands) {
        table.rows.push_back({{bandText(band)},
                              number(std::to_string(band.pointCount)),
                              number(roundedText(band.sumOfTerms, 6)),
                              number(percentText(band.share, "-")),
                              number(marginText(band.marginWithout))});
    }
    return table;
}

std::vector<Cell> summaryRow(const ListRecord& record) {
    return {{record.name},
            {record.resultLine, record.verdict.failed ? CellKind::Fail : CellKind::Pass},
            number(marginText(record.margin)),
            number(std::to_string(record.pointCount))};
}

Section listSection(const ReportHeading& heading, const ListRecord& record) {
    Section section;
    section.blocks.emplace_back(Heading{record.name, 1});
    section.blocks.emplace_back(VerdictLine{record.resultLine, record.verdict.failed});
    section.blocks.emplace_back(factTable(heading, record));
    if (record.picture) {
        section.blocks.emplace_back(pictureOf(*record.picture));
    }
    section.blocks.emplace_back(Heading{"Largest contributors", 2});
    section.blocks.emplace_back(contributorTable(record));
    section.blocks.emplace_back(Heading{"Where F comes from", 2});
    section.blocks.emplace_back(bandTable(record));
    return section;
}

Document reportDocument(std::vector<Section> lists, std::vector<std::vector<Cell>> summaryRows,
                        const LotPicture* lot) {
    Document document;
    const bool severalLists = lists.size() > 1;
    if (severalLists) {
        Section& summary = document.sections.emplace_back();
        summary.framed = false;
        summary.ownPage = true;
        summary.blocks.emplace_back(Heading{"Summary", 1});
        if (lot != nullptr) {
            Picture picture = lot->picture;
            picture.id = "lot";
            summary.blocks.emplace_back(std::move(picture));
            summary.blocks.emplace_back(Preformatted{lot->figures});
        }
        summary.blocks.emplace_back(
            Table{{"List", "Result", "Margin", "Points"}, std::move(summaryRows)});
    }
    std::size_t pictures = 0;
    for (Section& list : lists) {
        // After the summary, or after another list, a list starts a page of its own.
        list.ownPage = severalLists;
        for (Block& block : list.blocks) {
            if (auto* picture = std::get_if<Picture>(&block)) {
                picture->id = "list" + std::to_string(pictures++);
            }
        }
        document.sections.push_back(std::move(list));
    }
    return document;
}

Document reportDocument(const ReportHeading& heading, const std::vector<ListRecord>& records) {
    std::vector<Section> sections;
    std::vector<std::vector<Cell>> rows;
    for (const ListRecord& record : records) {
        sections.push_back(listSection(heading, record));
        rows.push_back(summaryRow(record));
    }
    return reportDocument(std::move(sections), std::move(rows));
}

}  // namespace ambersel::report
