#pragma once

// One evaluated list as the C library holds it, and the one place where the library reaches the
// core's reading and analysis of a list and its JSON object.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "evaluation/evaluated_list.h"

// The C header's opaque result. Immutable once made, so that threads may read it at once.
struct ambersel_result {
    ambersel::EvaluatedList list;
    int status = 0;  // what the evaluate function returned: AMBERSEL_OK or why there is no verdict
};

namespace ambersel::capi {

// Whether a list without points, or one whose reading stopped at a malformed item, gives a
// verdict (Lenient, as the dialog) or none (Strict).
enum class Strictness { Lenient, Strict };

// The list file named by `path`: UTF-8 bytes as the system takes them, or on Windows generalized
// UTF-8 (every UTF-16 name has such a form). Throws std::bad_alloc when memory runs out.
ambersel_result evaluateFile(const std::string& path, Strictness strictness);
ambersel_result evaluatePath(const std::filesystem::path& path, Strictness strictness);

// The file that `text` names, as evaluateFile() takes a path; nothing when it names none.
std::optional<std::filesystem::path> pathOfText(const std::string& text);

// `bytes` as a list file's contents; `name` stands for its path in the JSON.
ambersel_result evaluateBytes(std::span<const char> bytes, std::string name, Strictness strictness);

// The bands of the result's analysis between `edges`; `edges` empty: the analysis' own bands,
// over the decades the list spans. Read from the analysis' terms, never from F computed again.
std::vector<BandShare> bandsOf(const ambersel_result& result, const std::vector<double>& edges);

// The `count` points of the result's analysis that weigh most in F, with their shares.
std::vector<RankedPoint> heaviestOf(const ambersel_result& result, std::size_t count);

// The result's JSON object on one line, as ambersel-eval --json writes it: with "top" when
// `heaviest` > 0, bands between `edges` (empty: over the decades), "points" when `pointTable`.
std::string jsonObject(const ambersel_result& result, std::size_t heaviest,
                       const std::vector<double>& edges, bool pointTable);

}  // namespace ambersel::capi
