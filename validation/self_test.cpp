#include "validation/self_test.h"

#include <array>
#include <bit>
#include <fstream>

#include "evaluation/evaluated_list.h"
#include "files/sha256.h"
#include "text/value_text.h"

namespace ambersel::validation {
namespace {

// The SHA-256 of the file at `path`; empty when it cannot be read whole.
std::string sha256Of(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    Sha256 digest;
    std::array<char, std::size_t{64} * 1024> buffer{};
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        digest.add(std::span(reinterpret_cast<const unsigned char*>(buffer.data()),
                             static_cast<std::size_t>(in.gcount())));
    }
    return in.bad() ? std::string() : digest.hexDigest();
}

std::string bitsText(std::uint32_t bits) {
    return floatBitsText(std::bit_cast<float>(bits));
}

std::string stopText(const ListOutcome& outcome) {
    std::string text(stopReasonName(outcome.stop));
    if (outcome.stop == ReadingEnd::MalformedItem) {
        text += " at line " + std::to_string(outcome.stopLine);
    }
    return text;
}

// "what obtained (expected what)" for each field that differs.
void addDifference(std::string& text, std::string_view field, const std::string& obtained,
                   const std::string& expected) {
    if (obtained != expected) {
        text += (text.empty() ? "" : "; ") + std::string(field) + " " + obtained + " (expected " +
                expected + ")";
    }
}

}  // namespace

bool CaseResult::agrees() const {
    return difference().empty();
}

std::string CaseResult::difference() const {
    std::string text;
    if (sha256 != kitCase.sha256) {
        text = sha256.empty() ? "the reference list cannot be read"
                              : "the reference list is not the kit's (its SHA-256 differs)";
    }
    if (!obtained) {
        return text + (text.empty() ? "" : "; ") + "no verdict: " + noVerdict;
    }
    const ListOutcome& expected = kitCase.expected;
    addDifference(text, "F", bitsText(obtained->figureBits), bitsText(expected.figureBits));
    addDifference(text, "line", "'" + obtained->line + "'", "'" + expected.line + "'");
    addDifference(text, "points", std::to_string(obtained->pointCount),
                  std::to_string(expected.pointCount));
    addDifference(text, "reading ended at", stopText(*obtained), stopText(expected));
    return text;
}

std::size_t SelfTest::differing() const {
    std::size_t count = 0;
    for (const CaseResult& result : cases) {
        count += result.agrees() ? 0 : 1;
    }
    return count;
}

SelfTest runSelfTest(const std::filesystem::path& folder, const std::vector<KitCase>& cases,
                     const ListEvaluator& evaluate) {
    SelfTest test;
    for (const KitCase& kitCase : cases) {
        CaseResult result{kitCase, {}, {}, {}};
        const std::filesystem::path path = folder / std::filesystem::u8path(kitCase.file);
        result.sha256 = sha256Of(path);
        std::variant<ListOutcome, std::string> outcome = evaluate(path);
        if (auto* obtained = std::get_if<ListOutcome>(&outcome)) {
            result.obtained = std::move(*obtained);
        } else {
            result.noVerdict = std::get<std::string>(std::move(outcome));
        }
        test.cases.push_back(std::move(result));
    }
    return test;
}

std::string selfTestReport(const SelfTest& test) {
    std::string report;
    for (const CaseResult& result : test.cases) {
        const std::string difference = result.difference();
        if (difference.empty()) {
            const ListOutcome& obtained = *result.obtained;
            report += "agrees   " + result.kitCase.name + ": " + obtained.line + ", F " +
                      bitsText(obtained.figureBits) + ", " +
                      countText(obtained.pointCount, "point", "points") + ", " +
                      stopText(obtained) + "\n";
        } else {
            report += "DIFFERS  " + result.kitCase.name + ": " + difference + "\n";
        }
    }
    const std::size_t differing = test.differing();
    report += "self-test: " + countText(test.cases.size(), "case", "cases") + ", " +
              (differing == 0 ? std::string("all agree: PASS")
                              : std::to_string(differing) + " differ: FAIL") +
              "\n";
    return report;
}

}  // namespace ambersel::validation
