#pragma once

// The lot's table for spreadsheets (--table FILE.csv): one row per list, RFC 4180 CSV (fields
// with a comma, a quote or a line break in double quotes, quotes doubled, CR LF after each row).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cli/file_evaluation.h"

namespace ambersel::cli {

// The header row, with its line end.
std::string lotTableHeader();

// The row of one list, with its line end: path, verdict, line, F, F's bits, margin (dB to 0.01),
// points, where reading stopped and its line, the file's size, modification time (ISO 8601, UTC)
// and SHA-256 when the evaluation took them, and why the list gave no verdict. Fields that do not
// apply are empty; a file written to after it was read has no facts, and says so under error.
std::string lotTableRow(const FileEvaluation& evaluation);

// The table file while it is written: rows go to a temporary file beside the target, which
// replaces the target only once every row is written, so that the target is whole or as it was.
// A table that is not committed leaves nothing behind.
class LotTableFile {
  public:
    // Starts the table for `target`; why it cannot be written, when it cannot.
    static std::variant<LotTableFile, std::string> create(const std::filesystem::path& target);

    LotTableFile(LotTableFile&&) noexcept;
    LotTableFile& operator=(LotTableFile&&) noexcept;
    ~LotTableFile();

    void append(std::string_view rows);
    // Closes the table and puts it in place; why it could not be, or nothing.
    std::optional<std::string> commit();

  private:
    struct Open;
    explicit LotTableFile(std::unique_ptr<Open> open);
    std::unique_ptr<Open> m_open;
};

}  // namespace ambersel::cli
