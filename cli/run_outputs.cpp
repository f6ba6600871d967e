#include "cli/run_outputs.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "cli/argument_text.h"
#include "plot/drawing/lot_chart.h"
#include "plot/layout/spectrum_chart.h"
#include "report/record_document.h"
#include "results/list_lines.h"
#include "results/lot_output.h"
#include "results/lot_table.h"
#include "text/byte_text.h"

namespace ambersel::cli {
namespace {

int exitStatusOf(ListStatus status) {
    switch (status) {
        case ListStatus::Pass:
            return kPass;
        case ListStatus::Fail:
            return kFail;
        case ListStatus::Error:
            break;
    }
    return kError;
}

}  // namespace

RunOutputs::RunOutputs(const Options& options, const PlotDrawing& drawing,
                       const std::optional<report::ReportHeading>& heading)
    : m_options(options), m_drawing(drawing), m_heading(heading) {}

std::optional<int> RunOutputs::begin() {
    if (!m_options.table.empty()) {
        auto begun = FileReplacement::begin(pathOfCommandLineName(m_options.table));
        if (const auto* why = std::get_if<std::error_code>(&begun)) {
            std::cerr << kProgram << ": cannot write the table "
                      << escapedBytes(m_options.table, true) << " (" << why->message() << ")\n";
            return kError;
        }
        m_table.emplace(std::move(std::get<FileReplacement>(begun)));
        m_table->write(lotTableHeader());
    }
    if (m_options.json) {
        std::cout << (m_options.summary ? "{\"files\":[\n" : "[\n");
    } else if (m_options.pointTable) {
        writePointTableHeader(std::cout);
    }
    return std::nullopt;
}

void RunOutputs::deliver(ListOutputs& outputs) {
    const EvaluatedList& list = outputs.list;
    std::cerr << outputs.standardError;
    std::cout << (m_first || !m_options.json ? "" : ",\n") << outputs.standardOutput;
    // A sequencer reading the output as it comes sees each list as soon as it is done.
    std::cout.flush();
    m_first = false;
    if (m_table) {
        m_table->write(outputs.tableRow);
    }
    if (m_options.summary) {
        m_summary.add(list);
    }
    m_status = std::max(m_status, exitStatusOf(list.status));
    for (const std::string& failure : outputs.failures) {
        m_status = std::max(m_status, fail(failure));
    }
    if (outputs.section) {
        m_sections.push_back(std::move(*outputs.section));
        m_summaryRows.push_back(std::move(outputs.summaryRow));
    }
    if (list.hasVerdict() && m_options.plotsOnePicture()) {
        m_pictured.push_back(std::move(outputs.list));
    }
}

int RunOutputs::finish() {
    m_status = std::max(m_status, finishOnePicture());
    m_status = std::max(m_status, finishReport());
    m_status = std::max(m_status, finishLotPicture());
    finishStandardOutput();
    if (m_table) {
        if (const std::error_code why = m_table->commit()) {
            std::cerr << kProgram << ": cannot write the table "
                      << escapedBytes(m_options.table, true) << " (" << why.message() << ")\n";
            m_status = kError;
        }
    }
    std::cout.flush();
    if (!std::cout) {
        // Output lost (a full disk, a closed pipe) must not look like a clean run.
        std::cerr << kProgram << ": cannot write the report to standard output\n";
        return kError;
    }
    return m_status;
}

int RunOutputs::finishOnePicture() {
    if (m_pictured.empty()) {
        return kPass;
    }
    std::vector<plot::ChartedList> lists;
    lists.reserve(m_pictured.size());
    for (const EvaluatedList& list : m_pictured) {
        lists.push_back({report::listFileName(list), &list.analysis});
    }
    const std::filesystem::path target = plotTargetFor(m_options.plot, m_pictured.front().name);
    const std::optional<std::string> why =
        m_drawing.draw(plot::overlayChart(lists, m_options.bandEdges), target);
    m_pictured.clear();
    return why ? fail(writeFailure("the plot", target, *why)) : kPass;
}

int RunOutputs::finishReport() {
    if (m_sections.empty()) {
        return kPass;
    }
    std::optional<report::LotPicture> lot;
    if (m_options.summary) {
        std::vector<std::string> figures = lotSummaryLines(m_summary);
        report::Picture picture{plot::kLotChartSize, plot::lotChartTitle(m_summary),
                                figures.front(), "lot", [this](plot::Canvas& canvas) {
                                    plot::drawLotChart(canvas, m_summary, m_options.byTime);
                                }};
        lot = report::LotPicture{std::move(picture), std::move(figures)};
    }
    const report::Document document = report::reportDocument(
        std::move(m_sections), std::move(m_summaryRows), lot ? &*lot : nullptr);
    const std::filesystem::path target = pathOfCommandLineName(m_options.report);
    const std::optional<std::string> why = m_drawing.writeReport(target, document, *m_heading);
    return why ? fail(writeFailure("the report", target, *why)) : kPass;
}

int RunOutputs::finishLotPicture() {
    if (!m_options.plotsTheLot()) {
        return kPass;
    }
    const std::filesystem::path target = pathOfCommandLineName(m_options.plot);
    std::optional<std::string> why;
    if (plotFormatOf(target) == PlotFormat::Svg) {
        if (const std::error_code error = replaceFile(
                target,
                plot::lotChartSvg(m_summary, m_options.byTime, lotSummaryOneLine(m_summary)))) {
            why = error.message();
        }
    } else {
        why = m_drawing.drawPng(
            plot::kLotChartSize,
            [&](plot::Canvas& canvas) { plot::drawLotChart(canvas, m_summary, m_options.byTime); },
            target);
    }
    return why ? fail(writeFailure("the plot", target, *why)) : kPass;
}

void RunOutputs::finishStandardOutput() {
    if (m_options.json) {
        std::cout << "\n]";
        if (m_options.summary) {
            std::cout << ",\n\"summary\":";
            writeLotSummaryJson(std::cout, m_summary);
            std::cout << "}";
        }
        std::cout << "\n";
    } else if (m_options.summary) {
        for (const std::string& line : lotSummaryLines(m_summary)) {
            std::cout << line << '\n';
        }
    }
}

int RunOutputs::fail(const std::string& message) {
    std::cerr << message;
    return kError;
}

}  // namespace ambersel::cli
