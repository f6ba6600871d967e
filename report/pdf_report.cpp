#include "report/pdf_report.h"

#include <chrono>
#include <string>
#include <utility>

#include "plot/pdf/document.h"
#include "report/page_layout.h"
#include "report/record_document.h"
#include "report/report_time.h"

namespace ambersel::report {
namespace {

using plot::Face;
namespace pdf = plot::pdf;

constexpr plot::Colour kRunningInk{0x44, 0x44, 0x44};
constexpr double kRunningSize = 7.5;

std::string programName(const ReportHeading& heading) {
    return "Ambersel Test Calculator " + heading.programVersion;
}

// The running head and foot: what the report is and its identification above the body, when it
// was made and the page's number of all below it.
void drawRunningLines(pdf::Page& page, const std::string& id, const std::string& evaluated,
                      std::size_t number, std::size_t count) {
    const double left = kPageMargin;
    const double right = page.size().width - kPageMargin;
    const double headLine = kBodyTop - 16;
    page.text("Ambersel Test Calculator \xC2\xB7 Test report", {left, headLine - 4}, Face::SansBold,
              kRunningSize, kRunningInk);
    page.text("Report " + id, {right, headLine - 4}, Face::Sans, kRunningSize, kRunningInk,
              plot::TextAnchor::End);
    page.rule({left, headLine}, {right, headLine}, 0.5, kRunningInk);
    const double footLine = kBodyBottom + 16;
    page.rule({left, footLine}, {right, footLine}, 0.5, kRunningInk);
    const double footBaseline = footLine + 4 + kRunningSize;
    page.text("Report " + id + ", evaluated " + evaluated, {left, footBaseline}, Face::Sans,
              kRunningSize, kRunningInk);
    page.text("Page " + std::to_string(number) + " of " + std::to_string(count),
              {right, footBaseline}, Face::Sans, kRunningSize, kRunningInk, plot::TextAnchor::End);
}

pdf::DocumentInfo documentInfo(const Document& document, const ReportHeading& heading,
                               const std::string& id) {
    const std::chrono::sys_seconds evaluated{std::chrono::seconds(heading.evaluatedAt.seconds)};
    pdf::DocumentInfo info{"Ambersel test report " + id, "",        "",       programName(heading),
                           programName(heading),         evaluated, evaluated};
    const std::string digest = reportDigest(document, heading);
    for (std::size_t at = 0; at < info.id.size(); ++at) {
        info.id[at] = static_cast<std::uint8_t>(std::stoi(digest.substr(2 * at, 2), nullptr, 16));
    }
    return info;
}

void attachEvidence(pdf::Document& pdf, const Document& document) {
    for (const Section& section : document.sections) {
        for (const AttachedFile& file : section.files) {
            const pdf::AssociatedFile associated{
                file.name, file.mediaType,
                file.role == AttachedFile::Role::Source ? pdf::FileRelationship::Source
                                                        : pdf::FileRelationship::Data,
                file.description,
                std::chrono::sys_seconds{std::chrono::seconds(file.modifiedSeconds)}};
            pdf.attach(associated, file.size, file.produce);
        }
    }
}

}  // namespace

void writePdfReport(const pdf::ByteSink& sink, const Document& document,
                    const ReportHeading& heading) {
    const std::string id = reportId(document, heading);
    const std::string evaluated = timeText(heading.evaluatedAt.seconds, heading.evaluatedAt.zone);
    pdf::Document pdf(sink, documentInfo(document, heading, id),
                      [&](pdf::Page& page, std::size_t number, std::size_t count) {
                          drawRunningLines(page, id, evaluated, number, count);
                      });
    PageLayout pages([&pdf](pdf::Page page) { pdf.addPage(std::move(page)); });
    for (const Section& section : document.sections) {
        pages.section(section);
    }
    pages.end("End of report " + id);
    attachEvidence(pdf, document);
    pdf.finish();
}

}  // namespace ambersel::report
