#pragma once

// The self-test: every reference list of a validation kit evaluated by the program under test and
// compared with its expected result to the bit, as a lab qualifies the program before use.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "validation/kit_manifest.h"

namespace ambersel::validation {

// Evaluates one list file as the program's users evaluate lists: its outcome, or why it gave no
// verdict.
using ListEvaluator =
    std::function<std::variant<ListOutcome, std::string>(const std::filesystem::path&)>;

// One case as the self-test found it.
struct CaseResult {
    KitCase kitCase;
    std::string sha256;  // of the list file as it stands; empty when it cannot be read
    std::optional<ListOutcome> obtained;
    std::string noVerdict;  // why the list gave no verdict, when it gave none

    bool agrees() const;
    // What differs from the expected result, field by field; empty when the case agrees.
    std::string difference() const;
};

struct SelfTest {
    std::vector<CaseResult> cases;

    std::size_t differing() const;
    bool passed() const { return !cases.empty() && differing() == 0; }
};

// Evaluates every case of the kit in `folder` with `evaluate`. Throws std::bad_alloc when memory
// runs out; whatever else goes wrong with a case makes that case differ.
SelfTest runSelfTest(const std::filesystem::path& folder, const std::vector<KitCase>& cases,
                     const ListEvaluator& evaluate);

// One line per case ("agrees" or "DIFFERS", its name, what it gave or what differs), then a
// summary line.
std::string selfTestReport(const SelfTest& test);

}  // namespace ambersel::validation
