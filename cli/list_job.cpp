#include "cli/list_job.h"

#include <sstream>
#include <utility>

#include "cli/argument_text.h"
#include "files/list_reading.h"
#include "plot/layout/spectrum_chart.h"
#include "report/record_document.h"
#include "results/json_object.h"
#include "results/list_lines.h"
#include "results/lot_table.h"
#include "text/byte_text.h"

namespace ambersel::cli {

ListJob::ListJob(const Options& options, const PlotDrawing& drawing,
                 const std::optional<report::ReportHeading>& heading)
    : m_options(options),
      m_drawing(drawing),
      m_heading(heading),
      m_scope(options.analysisScope()) {}

ListOutputs ListJob::operator()(const std::string& argument) const {
    ListOutputs outputs;
    outputs.list = evaluate(argument);
    writeText(outputs);
    if (outputs.list.hasVerdict()) {
        drawPicture(outputs);
        makeRecord(outputs);
    }
    if (!m_options.plotsOnePicture()) {
        outputs.list.analysis.points = {};
        outputs.list.analysis.terms = {};
    }
    return outputs;
}

EvaluatedList ListJob::evaluate(const std::string& argument) const {
    if (argument == "-") {
        return evaluateStandardInput(m_scope);
    }
    const std::optional<std::filesystem::path> path = pathOfArgument(argument);
    if (!path) {
        return unopenedList(argument, ListFileError::UnconvertiblePath);
    }
    return evaluateListFile(argument, *path, m_scope, m_options.factsWanted());
}

void ListJob::writeText(ListOutputs& outputs) const {
    const EvaluatedList& list = outputs.list;
    std::ostringstream out;
    if (m_options.json) {
        writeJsonObject(out, list, JsonContent{m_options.pointTable, m_options.heaviest});
    } else if (m_options.pointTable) {
        writePointTableRows(out, list);
    } else {
        const std::string line = resultLine(list, m_options.files.size() > 1);
        if (!line.empty()) {
            out << line << '\n';
        }
        if (list.hasVerdict() && m_options.heaviest > 0) {
            writeMarginLine(out, list);
            writeHeaviestPoints(out, list, m_options.heaviest);
        }
        if (list.hasVerdict() && m_options.bands) {
            writeBands(out, list);
        }
    }
    outputs.standardOutput = std::move(out).str();
    if (!list.hasVerdict()) {
        outputs.standardError = errorMessage(list) + '\n';
    } else if (list.deservesWarning()) {
        outputs.standardError = "warning: " + readingWarning(list) + '\n';
    }
    if (!m_options.table.empty()) {
        outputs.tableRow = lotTableRow(list);
    }
}

void ListJob::drawPicture(ListOutputs& outputs) const {
    if (m_options.plot.empty() || m_options.plotsTheLot() || m_options.plotsOnePicture()) {
        return;
    }
    const std::filesystem::path target = plotTargetFor(m_options.plot, outputs.list.name);
    const plot::Chart chart =
        plot::spectrumChart({report::listFileName(outputs.list), &outputs.list.analysis});
    if (const std::optional<std::string> why = m_drawing.draw(chart, target)) {
        outputs.failures.push_back(writeFailure("the plot", target, *why));
    }
}

void ListJob::makeRecord(ListOutputs& outputs) const {
    if (m_options.report.empty()) {
        return;
    }
    const report::ListRecord record = report::recordOf(outputs.list);
    report::Section section = report::listSection(*m_heading, record);
    if (m_options.report.find(kPlotNamePlaceholder) == std::string::npos) {
        // Only the record is kept, never the list: a report of many long lists stays small.
        outputs.section = std::move(section);
        outputs.summaryRow = report::summaryRow(record);
        return;
    }
    const std::filesystem::path target = plotTargetFor(m_options.report, outputs.list.name);
    std::vector<report::Section> sections;
    sections.push_back(std::move(section));
    const report::Document document = report::reportDocument(std::move(sections), {});
    if (const std::optional<std::string> why =
            m_drawing.writeReport(target, document, *m_heading)) {
        outputs.failures.push_back(writeFailure("the report", target, *why));
    }
}

std::string writeFailure(const char* what, const std::filesystem::path& target,
                         const std::string& why) {
    return std::string(kProgram) + ": cannot write " + what + " " +
           escapedBytes(argumentOfPath(target), true) + " (" + why + ")\n";
}

}  // namespace ambersel::cli
