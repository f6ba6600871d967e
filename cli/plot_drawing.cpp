#include "cli/plot_drawing.h"

#include <utility>

#include "files/output_file.h"
#include "plot/drawing/svg_picture.h"
#include "report/report_format.h"

namespace ambersel::cli {
namespace {

std::optional<std::string> written(const std::filesystem::path& target, const std::string& bytes) {
    if (bytes.empty()) {
        return "the picture could not be rendered";
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
                                             const std::filesystem::path& target) const {
    if (plotFormatOf(target) == PlotFormat::Svg) {
        return written(target, plot::svgPicture(chart));
    }
    std::string png;
    {
        const std::lock_guard lock(m_backendInUse);
        png = m_backend->pngPicture(chart);
    }
    return written(target, png);
}

std::optional<std::string> PlotDrawing::drawPng(plot::Size size,
                                                const std::function<void(plot::Canvas&)>& draw,
                                                const std::filesystem::path& target) const {
    std::string png;
    {
        const std::lock_guard lock(m_backendInUse);
        png = m_backend->pngPicture(size, draw);
    }
    return written(target, png);
}

std::optional<std::string> PlotDrawing::writeReport(const std::filesystem::path& target,
                                                    const report::Document& document,
                                                    const report::ReportHeading& heading) const {
    report::PdfRenderer pdf;
    if (m_backend) {
        pdf = [this](const report::Document& pages, const report::ReportHeading& head) {
            const std::lock_guard lock(m_backendInUse);
            return m_backend->pdfReport(pages, head);
        };
    }
    return report::writeReportFile(target, document, heading, pdf);
}

std::variant<std::unique_ptr<PlotDrawing>, std::string> startPlotDrawing(
    const std::string& programName, const std::string& plotName, const std::string& reportName) {
    const bool pdf = report::reportFormatOf(reportName) == report::ReportFormat::Pdf;
    const bool png = plotFormatOf(plotName) == PlotFormat::Png;
    if (!png && !pdf) {
        return std::make_unique<PlotDrawing>(nullptr);
    }
    auto started = startPaintingBackend(programName, pdf);
    if (auto* why = std::get_if<std::string>(&started)) {
        return std::move(*why);
    }
    return std::make_unique<PlotDrawing>(
        std::move(std::get<std::unique_ptr<PaintingBackend>>(started)));
}

}  // namespace ambersel::cli
