#pragma once

// The Calculate command: from the path of a list file to the result line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "evaluation/evaluated_list.h"
#include "files/list_file.h"

namespace ambersel {

// What one Calculate command gives: the result line, or the failure to open (or read) the file.
class CalculationOutcome {
  public:
    static CalculationOutcome withResultLine(std::u16string line, EvaluatedList list = {},
                                             ListFileStamp stamp = {}) {
        CalculationOutcome outcome(std::move(line));
        outcome.m_list = std::move(list);
        outcome.m_stamp = stamp;
        return outcome;
    }
    static CalculationOutcome openFailure() { return CalculationOutcome(std::nullopt); }

    bool isOpenFailure() const noexcept { return !m_resultLine.has_value(); }
    // The line, "PASS : F = 0.1210" or "FAIL : F = 1.2104"; empty for the open failure.
    const std::u16string& resultLine() const noexcept {
        static const std::u16string kNone;
        return m_resultLine ? *m_resultLine : kNone;
    }
    // The list behind the line, analysed as a record of it needs (recordScope()); nothing for the
    // open failure. Taking it leaves the outcome without it.
    const EvaluatedList& list() const noexcept { return m_list; }
    EvaluatedList takeList() noexcept { return std::move(m_list); }
    // The file as it was read, for facts of it taken later (factsOfReadFile()).
    const ListFileStamp& stamp() const noexcept { return m_stamp; }

  private:
    explicit CalculationOutcome(std::optional<std::u16string> line)
        : m_resultLine(std::move(line)) {}
    std::optional<std::u16string> m_resultLine;
    EvaluatedList m_list;
    ListFileStamp m_stamp;
};

// Reads the list file at `path` (UTF-16, as the dialog holds it; empty when no file was chosen),
// evaluates it and returns its result line with the list behind it. On Windows the path names the
// file unit for unit; elsewhere it is converted to the file system's UTF-8 exactly, and a path that
// has no exact form there (a lone surrogate) is the open failure. No look-alike of the path is ever
// opened. Keeps nothing between calls: the file is closed before it returns, on every path, and the
// list goes to the outcome, whose owner decides how long to keep it. Throws std::bad_alloc when
// memory runs out.
CalculationOutcome calculateFromFile(std::u16string_view path);

// The same for a path as the file system spells it, bytes and all.
CalculationOutcome calculateFromPath(const std::filesystem::path& path);

// The file `path` names as calculateFromFile() opens it; nothing when it has no exact form.
std::optional<std::filesystem::path> listFilePath(std::u16string_view path);

}  // namespace ambersel
