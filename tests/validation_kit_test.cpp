// The validation kit's self-test through the C library: it agrees on the kit as shipped, and it
// fails, naming the case and what differs, on a kit that is not what it should be.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ambersel.h"
#include "tests/test_files.h"

namespace {

using ambersel::testing::contentOf;
using ambersel::testing::TemporaryFolder;
namespace fs = std::filesystem;

// A path as the C library takes it: UTF-8.
std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

const fs::path kKit = fs::path(AMBERSEL_SOURCE_TREE) / "validation" / "kit";

struct SelfTestRun {
    int status = -1;
    uint64_t cases = 0;
    uint64_t differing = 0;
    std::string report;
};

SelfTestRun selfTest(const fs::path& kit) {
    SelfTestRun run;
    const std::string folder = utf8Of(kit);
    std::size_t needed = 0;
    run.status = ambersel_self_test(folder.c_str(), nullptr, 0, &needed, nullptr, nullptr);
    if (run.status != AMBERSEL_ERROR_BUFFER_TOO_SMALL) {
        return run;
    }
    std::string report(needed, '\0');
    run.status = ambersel_self_test(folder.c_str(), report.data(), report.size(), &needed,
                                    &run.cases, &run.differing);
    run.report = report.substr(0, needed - 1);
    return run;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t manifestCases() {
    std::size_t count = 0;
    for (const std::string& line : linesOf(contentOf(kKit / "expected.tsv"))) {
        count += !line.empty() && line[0] != '#' ? 1 : 0;
    }
    return count;
}

void replaceIn(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = contentOf(file);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " is not in " << file;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

TEST(ValidationKit, EveryShippedCaseAgrees) {
    const SelfTestRun run = selfTest(kKit);
    ASSERT_EQ(run.status, AMBERSEL_OK) << run.report;
    EXPECT_EQ(run.cases, manifestCases());
    EXPECT_EQ(run.differing, 0U);
    const std::vector<std::string> lines = linesOf(run.report);
    ASSERT_EQ(lines.size(), run.cases + 1);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("agrees   ", 0), 0U) << lines[i];
    }
    EXPECT_EQ(lines.back(), "self-test: " + std::to_string(run.cases) + " cases, all agree: PASS");
}

TEST(ValidationKit, FailsNamingTheCaseAndWhatDiffers) {
    struct Row {
        const char* altered;
        std::function<void(const fs::path&)> alter;
        std::string caseName;
        std::string says;
    };
    const std::vector<Row> rows = {
        {"a level in a list",
         [](const fs::path& kit) {
             replaceIn(kit / "lists/figure_one_point_passes.ASC", "100", "101");
         },
         "figure_one_point_passes",
         "the reference list is not the kit's (its SHA-256 differs); F 0x"},
        {"a point more",
         [](const fs::path& kit) {
             std::ofstream(kit / "lists/reader_exponents.ASC", std::ios::app) << "1,1\n";
         },
         "reader_exponents", "points 2 (expected 1)"},
        {"a list gone", [](const fs::path& kit) { fs::remove(kit / "lists/reader_semicolon.ASC"); },
         "reader_semicolon", "the reference list cannot be read; no verdict: "},
        {"an expected value",
         [](const fs::path& kit) {
             replaceIn(kit / "expected.tsv", "0x3F9AEFB9\tFAIL : F = 1.2104",
                       "0x3F9AEFBA\tFAIL : F = 1.2104");
         },
         "figure_one_point_fails", "F 0x3F9AEFB9 (expected 0x3F9AEFBA)"},
    };
    for (const Row& row : rows) {
        const TemporaryFolder scratch;
        const fs::path kit = scratch.path() / "kit";
        fs::copy(kKit, kit, fs::copy_options::recursive);
        row.alter(kit);
        const SelfTestRun run = selfTest(kit);
        EXPECT_EQ(run.status, AMBERSEL_ERROR_SELF_TEST_FAILED) << row.altered;
        EXPECT_EQ(run.differing, 1U) << row.altered;
        const std::string differs = "DIFFERS  " + row.caseName + ": ";
        const std::size_t at = run.report.find(differs);
        ASSERT_NE(at, std::string::npos) << row.altered << "\n" << run.report;
        EXPECT_NE(run.report.find(row.says, at), std::string::npos) << row.altered << "\n"
                                                                    << run.report;
        EXPECT_NE(run.report.find("1 differ: FAIL"), std::string::npos) << row.altered;
    }
}

TEST(ValidationKit, RefusesAKitItCannotRead) {
    const std::string header = "# comment\n";
    const std::string good =
        "figure_empty_list\tlists/figure_empty_list.ASC\t"
        "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\t0\tend_of_file\t0\t"
        "0x00000000\tPASS : F = 0.0000\n";
    const auto goodWith = [&](std::string_view from, std::string_view to) {
        std::string text = header + good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string notACase = "line 2 of the kit's manifest is not a case";
    struct Row {
        const char* manifest;
        std::optional<std::string> text;  // nothing: no manifest at all
        std::string says;
    };
    const std::vector<Row> rows = {
        {"missing", std::nullopt, "cannot open the kit's manifest"},
        {"comments only", header, "the kit's manifest holds no case"},
        {"a field short", header + "a\tb\tc\t0\tend_of_file\t0\t0x00000000\n", notACase},
        {"bits without 0x", goodWith("0x00000000", "00000000"), notACase},
        {"an unknown stop", goodWith("end_of_file", "end_of_list"), notACase},
        {"a count in words", goodWith("\t0\tend", "\tnone\tend"), notACase},
        {"a short digest", goodWith("e3b0c442", ""), notACase},
        {"good", header + good, ""},
    };
    for (const Row& row : rows) {
        const TemporaryFolder kit;
        fs::copy(kKit / "lists", kit.path() / "lists");
        if (row.text) {
            kit.write("expected.tsv", *row.text);
        }
        const SelfTestRun run = selfTest(kit.path());
        if (row.says.empty()) {
            EXPECT_EQ(run.status, AMBERSEL_OK) << row.manifest << ": " << run.report;
            continue;
        }
        EXPECT_EQ(run.status, AMBERSEL_ERROR_KIT) << row.manifest;
        EXPECT_NE(run.report.find(row.says), std::string::npos)
            << row.manifest << ": " << run.report;
    }
}

}  // namespace
