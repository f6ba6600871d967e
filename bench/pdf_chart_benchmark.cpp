// The chart of a long list written by the PDF writer against the same chart written as SVG, in
// one process each: the CPU time from the evaluated list to the written file, and the process's
// peak memory. The PDF forms put the chart on an A4 page of an archival document; "pdf+list" also
// attaches the list, read from its file again as it is written, as a report does.
//
//   pdf_chart_benchmark LIST.ASC FORM OUTPUT
//       FORM: svg, pdf or pdf+list
//
// Prints "FORM CPU_SECONDS PEAK_KB". bench/pdf_chart_benchmark.sh runs it side by side.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "evaluation/list_analysis.h"
#include "files/list_file.h"
#include "files/output_file.h"
#include "plot/drawing/chart_drawing.h"
#include "plot/drawing/svg_picture.h"
#include "plot/layout/spectrum_chart.h"
#include "plot/pdf/document.h"

namespace {

using namespace ambersel;
using namespace ambersel::plot;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void writePdf(const std::filesystem::path& output, const Chart& chart,
              const std::filesystem::path& list, const ListFileReading* attached) {
    auto replacement = FileReplacement::begin(output);
    FileReplacement& file = std::get<FileReplacement>(replacement);
    pdf::DocumentInfo info{"Chart", "", "", "benchmark", "benchmark", {}, {}};
    pdf::Document document([&file](std::string_view bytes) { file.write(bytes); }, info);
    const ChartLayout layout = layOutChart(chart);
    pdf::Page page({pdf::kA4.height, pdf::kA4.width});
    page.picture({36, 36, pdf::kA4.height - 72, pdf::kA4.width - 72}, layout.canvas,
                 [&](Canvas& canvas) { drawChart(canvas, chart, layout); });
    document.addPage(std::move(page));
    if (attached != nullptr) {
        document.attach(
            {list.filename().string(), "text/plain", pdf::FileRelationship::Source, "the list", {}},
            static_cast<std::uint64_t>(attached->stamp.size), [&](const auto& piece) {
                const ContentSink sink = [&piece](std::span<const unsigned char> b) {
                    piece({reinterpret_cast<const char*>(b.data()), b.size()});
                };
                if (!readStampedListFile(list, attached->stamp, sink)) {
                    throw std::runtime_error("the list changed");
                }
            });
    }
    document.finish();
    if (file.commit()) {
        throw std::runtime_error("cannot write " + output.string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: pdf_chart_benchmark LIST.ASC svg|pdf|pdf+list OUTPUT\n");
        return 2;
    }
    try {
        const std::filesystem::path list = argv[1];
        const std::string_view form = argv[2];
        ListFileReading reading = readListFile(list);
        const ListAnalysis analysis =
            analyseList(std::move(reading.points), reading.stop, recordScope());
        const double start = cpuSeconds();
        const Chart chart = spectrumChart({list.filename().string(), &analysis});
        if (form == "svg") {
            if (replaceFile(argv[3], svgPicture(chart))) {
                throw std::runtime_error("cannot write the SVG");
            }
        } else {
            writePdf(argv[3], chart, list, form == "pdf+list" ? &reading : nullptr);
        }
        const double seconds = cpuSeconds() - start;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%s %.4f %ld\n", argv[2], seconds, usage.ru_maxrss);
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "pdf_chart_benchmark: %s\n", failure.what());
        return 1;
    }
}
