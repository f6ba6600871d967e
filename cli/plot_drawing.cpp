#include "cli/plot_drawing.h"

#include <utility>

#include "evaluation/output_file.h"
#include "plot/drawing/svg_picture.h"
#include "report/html_report.h"
#include "report/report_format.h"

namespace ambersel::cli {
namespace {

std::optional<std::string> written(const std::filesystem::path& target, const std::string& bytes,
                                   const char* whatFailed) {
    if (bytes.empty()) {
        return whatFailed;
    }
    if (const std::error_code error = replaceFile(target, bytes)) {
        return error.message();
    }
    return std::nullopt;
}

}  // namespace

PlotDrawing::PlotDrawing(std::unique_ptr<PaintingBackend> backend)
    : m_backend(std::move(backend)) {}

std::optional<std::string> PlotDrawing::draw(const plot::Chart& chart,
                                             const std::filesystem::path& target,
                                             PlotFormat format) const {
    const std::string bytes =
        format == PlotFormat::Svg ? plot::svgPicture(chart) : m_backend->pngPicture(chart);
    return written(target, bytes, "the picture could not be rendered");
}

std::optional<std::string> PlotDrawing::drawPng(plot::Size size,
                                                const std::function<void(plot::Canvas&)>& draw,
                                                const std::filesystem::path& target) const {
    return written(target, m_backend->pngPicture(size, draw), "the picture could not be rendered");
}

std::optional<std::string> PlotDrawing::writeReport(const std::filesystem::path& target,
                                                    const report::ReportHeading& heading,
                                                    const std::vector<report::ListRecord>& records,
                                                    const report::LotPage* lot) const {
    const std::string bytes = report::reportFormatOf(target) == report::ReportFormat::Pdf
                                  ? m_backend->pdfReport(heading, records, lot)
                                  : report::reportHtml(heading, records, lot);
    return written(target, bytes, "the report could not be made");
}

std::variant<PlotDrawing, std::string> startPlotDrawing(const std::string& programName,
                                                        const std::string& plotName,
                                                        const std::string& reportName) {
    const bool pdf = report::reportFormatOf(reportName) == report::ReportFormat::Pdf;
    const bool png = plotFormatOf(plotName) == PlotFormat::Png;
    if (!png && !pdf) {
        return PlotDrawing(nullptr);
    }
    auto started = startPaintingBackend(programName, pdf);
    if (auto* why = std::get_if<std::string>(&started)) {
        return std::move(*why);
    }
    return PlotDrawing(std::move(std::get<std::unique_ptr<PaintingBackend>>(started)));
}

}  // namespace ambersel::cli
