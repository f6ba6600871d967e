#include "cli/lot_table.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/text_reports.h"
#include "evaluation/figure_analysis.h"
#include "evaluation/file_handle.h"
#include "evaluation/test_figure.h"
#include "evaluation/value_text.h"
#include "report/report_time.h"

namespace ambersel::cli {
namespace {

constexpr std::string_view kRowEnd = "\r\n";

std::string systemMessage(int error) {
    return error != 0 ? std::string(std::strerror(error)) : std::string("write error");
}

}  // namespace

std::string lotTableHeader() {
    return "path,verdict,line,figure,figure_bits,margin_db,point_count,stop,stop_line,size_bytes,"
           "modified,sha256,error" +
           std::string(kRowEnd);
}

std::string lotTableRow(const FileEvaluation& evaluation) {
    const std::optional<report::FileFacts>& facts = evaluation.facts;
    const bool verdict = evaluation.status != FileStatus::Error;
    const float figure = evaluation.verdict.figure;
    const std::optional<double> margin = verdict ? marginDb(figure) : std::nullopt;
    const bool malformed = evaluation.opened && evaluation.stop.end == ReadingEnd::MalformedItem;
    std::string row = csvField(evaluation.argument);
    for (const std::string& field : {
             std::string(verdictName(evaluation.status)),
             verdict ? formatVerdictUtf8(evaluation.verdict) : std::string(),
             verdict ? shortestText(figure) : std::string(),
             verdict ? floatBitsText(figure) : std::string(),
             margin ? decimalsText(roundedMargin(*margin), 2) : std::string(),
             std::to_string(evaluation.points.size()),
             evaluation.opened ? std::string(stopReasonName(evaluation.stop.end)) : std::string(),
             malformed ? std::to_string(evaluation.stop.line) : std::string(),
             facts ? std::to_string(facts->size) : std::string(),
             facts ? report::isoTimeText(facts->modifiedSeconds, std::nullopt) : std::string(),
             facts ? facts->sha256 : std::string(),
             !verdict                   ? evaluation.errorReason
             : evaluation.factsWithheld ? std::string("the file was written to after it was read")
                                        : std::string(),
         }) {
        row += ',';
        row += csvField(field);
    }
    row += kRowEnd;
    return row;
}

struct LotTableFile::Open {
    std::filesystem::path target;
    std::filesystem::path temporary;
    FileHandle file;
    int writeError = 0;
    bool failed = false;

    ~Open() {
        if (!temporary.empty()) {
            file.reset();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
        }
    }
};

LotTableFile::LotTableFile(std::unique_ptr<Open> open) : m_open(std::move(open)) {}
LotTableFile::LotTableFile(LotTableFile&&) noexcept = default;
LotTableFile& LotTableFile::operator=(LotTableFile&&) noexcept = default;
LotTableFile::~LotTableFile() = default;

std::variant<LotTableFile, std::string> LotTableFile::create(const std::filesystem::path& target) {
    auto open = std::make_unique<Open>();
    open->target = target;
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    errno = 0;
#if defined(_WIN32)
    open->file.reset(_wfopen(temporary.c_str(), L"wb"));
#else
    open->file.reset(std::fopen(temporary.c_str(), "wb"));
#endif
    if (!open->file) {
        return systemMessage(errno);
    }
    open->temporary = std::move(temporary);
    return LotTableFile(std::move(open));
}

void LotTableFile::append(std::string_view rows) {
    if (m_open->failed) {
        return;
    }
    errno = 0;
    if (std::fwrite(rows.data(), 1, rows.size(), m_open->file.get()) != rows.size()) {
        m_open->failed = true;
        m_open->writeError = errno;
    }
}

std::optional<std::string> LotTableFile::commit() {
    errno = 0;
    const bool closed = std::fclose(m_open->file.release()) == 0;
    if (m_open->failed || !closed) {
        return systemMessage(m_open->failed ? m_open->writeError : errno);
    }
    std::error_code renameError;
    std::filesystem::rename(m_open->temporary, m_open->target, renameError);
    if (renameError) {
        return renameError.message();
    }
    m_open->temporary.clear();
    return std::nullopt;
}

}  // namespace ambersel::cli
