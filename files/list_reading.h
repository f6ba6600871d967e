#pragma once

// Reading a list and everything a record needs of its file in one place: the file is opened,
// stamped, read and hashed in one reading, and the list analysed, as one run of the evaluator or
// one Calculate of the dialog asks.

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "evaluation/evaluated_list.h"
#include "files/list_file.h"

namespace ambersel {

// Whether an evaluation takes the file's facts for a record, which costs a hash of its bytes.
enum class FactsWanted { No, Yes };

// The list file at `path`, named `name`, read (with its facts when they are wanted, from the very
// bytes that were evaluated) and analysed within `scope`. A file that does not open, or whose
// reading fails or is overtaken by a write, gives no verdict. `stamp`, when given, takes the file
// as it was when it was opened. Throws std::bad_alloc when memory runs out.
EvaluatedList evaluateListFile(std::string name, const std::filesystem::path& path,
                               const AnalysisScope& scope, FactsWanted facts,
                               ListFileStamp* stamp = nullptr);

// The list on standard input, named "-", read to its end and analysed within `scope`.
EvaluatedList evaluateStandardInput(const AnalysisScope& scope);

// The list `name` whose file could not be opened, and why.
EvaluatedList unopenedList(std::string name, std::error_code why);

// The facts of the list file at `path`, read earlier as `stamp` (the dialog's Details, long after
// Calculate); nothing when it is gone or was written to since.
std::optional<FileFacts> factsOfReadFile(const std::filesystem::path& path,
                                         const ListFileStamp& stamp);

}  // namespace ambersel
