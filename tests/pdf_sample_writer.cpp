// Writes an archival PDF of a list, as the report will make one, to look at and for the tests that
// read it with other programs: the list's chart drawn through the PDF canvas, a page of tables
// (names outside ASCII, a character no shipped face has, the list's SHA-256 in the monospace
// face), "Page n of m" under every page, the list's bytes and a JSON object attached.
//
//   pdf_sample_writer OUTPUT.pdf LIST.ASC [SECONDS_SINCE_1970 [CHART.svg]]
//
// Prints where the chart lies on its page ("chart at LEFT TOP WIDTH HEIGHT", in points from the
// top-left corner), and with CHART.svg writes the same chart as SVG there, to compare the two.
// Exits with 0 when it wrote the files, 1 when it could not.

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>
#include <string>
#include <variant>

#include "evaluation/list_analysis.h"
#include "evaluation/test_figure.h"
#include "files/list_file.h"
#include "files/output_file.h"
#include "files/sha256.h"
#include "plot/drawing/chart_drawing.h"
#include "plot/drawing/svg_picture.h"
#include "plot/layout/spectrum_chart.h"
#include "plot/pdf/document.h"

namespace {

using namespace ambersel;
using namespace ambersel::plot;

constexpr Colour kInk{0x20, 0x20, 0x20};
constexpr Colour kShade{0xE8, 0xEC, 0xF2};
constexpr double kMargin = 48;

struct SampleList {
    std::string name;
    std::string bytes;
    ListAnalysis analysis;
};

bool chartPage(pdf::Document& document, const SampleList& list, const char* svgPath) {
    const Chart chart = spectrumChart({list.name, &list.analysis});
    const ChartLayout layout = layOutChart(chart);
    pdf::Page page({pdf::kA4.height, pdf::kA4.width});
    page.text("Spectrum of " + list.name, {kMargin, kMargin}, Face::SansBold, 14, kInk);
    const Rect placed =
        page.picture({kMargin, kMargin + 12, page.size().width - 2 * kMargin,
                      page.size().height - 2 * kMargin - 24},
                     layout.canvas, [&](Canvas& canvas) { drawChart(canvas, chart, layout); });
    document.addPage(std::move(page));
    std::printf("chart at %.17g %.17g %.17g %.17g\n", placed.left, placed.top, placed.width,
                placed.height);
    return svgPath == nullptr || !replaceFile(svgPath, svgPicture(chart));
}

void tablePage(pdf::Document& document, const SampleList& list, const std::string& sha256) {
    pdf::Page page;
    page.text("Record of " + list.name, {kMargin, kMargin + 14}, Face::SansBold, 16, kInk);
    const std::pair<std::string, std::string> rows[] = {
        {"Laboratory", "Prüflabor Süd GmbH, Ærøskøbing µ-Messtechnik"},
        {"Address", "Hauptstraße 5, 80331 München"},
        {"Operator", "Ωmega Ζήτα / Жанна Кузнецова"},
        {"Customer", "東京測器 (Tokyo)"},
        {"Points", std::to_string(list.analysis.points.size())},
        {"Result", formatVerdictUtf8(list.analysis.verdict)},
        {"SHA-256", sha256},
    };
    const double left = kMargin;
    const double split = kMargin + 110;
    const double right = page.size().width - kMargin;
    double top = kMargin + 40;
    page.cell({left, top, right - left, 20}, kShade);
    page.text("Field", {left + 6, top + 14}, Face::SansBold, 10, kInk);
    page.text("Value", {split + 6, top + 14}, Face::SansBold, 10, kInk);
    for (const auto& [label, value] : rows) {
        top += 20;
        page.rule({left, top}, {right, top}, 0.5, kInk);
        page.text(label, {left + 6, top + 14}, Face::Sans, 10, kInk);
        page.text(value, {split + 6, top + 14}, label == "SHA-256" ? Face::SansMono : Face::Sans,
                  label == "SHA-256" ? 8.5 : 10, kInk);
    }
    page.rule({left, top + 20}, {right, top + 20}, 0.5, kInk);
    page.text("End of record", {page.size().width / 2, top + 60}, Face::Sans, 10, kInk,
              TextAnchor::Middle);
    document.addPage(std::move(page));
}

void writeFooter(pdf::Page& footer, const std::string& sha256, std::size_t number,
                 std::size_t count) {
    const double baseline = footer.size().height - 24;
    footer.text("Report " + sha256.substr(0, 12), {kMargin, baseline}, Face::Sans, 8, kInk);
    footer.text("Page " + std::to_string(number) + " of " + std::to_string(count),
                {footer.size().width - kMargin, baseline}, Face::Sans, 8, kInk, TextAnchor::End);
}

int writeSample(const std::filesystem::path& output, const std::filesystem::path& listPath,
                std::chrono::sys_seconds moment, const char* svgPath) {
    SampleList list;
    list.name = listPath.filename().string();
    const ContentSink sink = [&list](std::span<const unsigned char> bytes) {
        list.bytes.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    ListFileReading reading = readListFile(listPath, &sink);
    if (!reading.opened()) {
        std::fprintf(stderr, "cannot read %s\n", listPath.string().c_str());
        return 1;
    }
    list.analysis = analyseList(std::move(reading.points), reading.stop, recordScope());
    Sha256 hash;
    hash.add({reinterpret_cast<const unsigned char*>(list.bytes.data()), list.bytes.size()});
    const std::string sha256 = hash.hexDigest();

    auto replacement = FileReplacement::begin(output);
    if (auto* error = std::get_if<std::error_code>(&replacement)) {
        std::fprintf(stderr, "cannot write %s: %s\n", output.string().c_str(),
                     error->message().c_str());
        return 1;
    }
    FileReplacement& file = std::get<FileReplacement>(replacement);
    pdf::DocumentInfo info{"Test record of " + list.name,
                           "Prüflabor Süd GmbH",
                           "",
                           "Ambersel Test Calculator 1.0.0",
                           "Ambersel Test Calculator 1.0.0",
                           moment,
                           moment};
    for (std::size_t at = 0; at < info.id.size(); ++at) {
        info.id[at] = static_cast<std::uint8_t>(std::stoi(sha256.substr(2 * at, 2), nullptr, 16));
    }
    pdf::Document document([&file](std::string_view bytes) { file.write(bytes); }, info,
                           [&sha256](pdf::Page& footer, std::size_t number, std::size_t count) {
                               writeFooter(footer, sha256, number, count);
                           });
    if (!chartPage(document, list, svgPath)) {
        std::fprintf(stderr, "cannot write %s\n", svgPath);
        return 1;
    }
    tablePage(document, list, sha256);
    document.attach({list.name, "text/plain", pdf::FileRelationship::Source,
                     "The evaluated list, byte for byte", moment},
                    list.bytes);
    document.attach({list.name + ".json", "application/json", pdf::FileRelationship::Data,
                     "The evaluation as JSON", moment},
                    "{\"file\":\"" + list.name + "\",\"result\":\"" +
                        formatVerdictUtf8(list.analysis.verdict) + "\"}\n");
    document.finish();
    if (const std::error_code error = file.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", output.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: pdf_sample_writer OUTPUT.pdf LIST.ASC "
                     "[SECONDS_SINCE_1970 [CHART.svg]]\n");
        return 1;
    }
    try {
        const std::chrono::sys_seconds moment{
            std::chrono::seconds(argc >= 4 ? std::stoll(argv[3]) : 0)};
        return writeSample(argv[1], argv[2], moment, argc == 5 ? argv[4] : nullptr);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "pdf_sample_writer: %s\n", failure.what());
        return 1;
    }
}
