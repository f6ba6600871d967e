// The C library through its header only, as a test sequencer or LabVIEW calls it: statuses and
// messages for every failure, buffers that say what they need, the same values as the JSON object,
// strictness, threads at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "ambersel.h"
#include "tests/test_files.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using ambersel::testing::contentOf;
using ambersel::testing::TemporaryFolder;
using Json = nlohmann::json;
namespace fs = std::filesystem;

// A path as the C library takes it: UTF-8.
std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

const fs::path kExamples = fs::path(AMBERSEL_SOURCE_TREE) / "examples";
const fs::path kFailingExample = kExamples / "switching_supply_fail.ASC";

struct ResultFree {
    void operator()(ambersel_result* result) const { ambersel_free(result); }
};
using Result = std::unique_ptr<ambersel_result, ResultFree>;

struct Made {
    int status;
    Result result;
};

Made ofBytes(std::string_view bytes, unsigned int flags = 0, const char* name = nullptr) {
    ambersel_result* result = nullptr;
    const int status = ambersel_evaluate_buffer(bytes.data(), bytes.size(), name, flags, &result);
    return {status, Result(result)};
}

Made ofFile(const fs::path& path, unsigned int flags = 0) {
    ambersel_result* result = nullptr;
    const int status = ambersel_evaluate_file(utf8Of(path).c_str(), flags, &result);
    return {status, Result(result)};
}

// A text through the two calls a caller makes: its size, then the text.
using TextCall = std::function<int(char*, std::size_t, std::size_t*)>;
std::string textOf(const TextCall& call) {
    std::size_t needed = 0;
    EXPECT_EQ(call(nullptr, 0, &needed), AMBERSEL_ERROR_BUFFER_TOO_SMALL);
    std::string text(needed, '?');
    EXPECT_EQ(call(text.data(), text.size(), &needed), AMBERSEL_OK);
    text.resize(needed - 1);
    return text;
}

Json jsonOf(const ambersel_result* result, std::size_t top = 0, const double* edges = nullptr,
            std::size_t edgeCount = 0) {
    return Json::parse(textOf([&](char* buffer, std::size_t size, std::size_t* needed) {
        return ambersel_json(result, top, edges, edgeCount, 0, buffer, size, needed);
    }));
}

std::string lineOf(const ambersel_result* result) {
    return textOf([&](char* buffer, std::size_t size, std::size_t* needed) {
        return ambersel_result_line(result, buffer, size, needed);
    });
}

std::string messageOf(const ambersel_result* result) {
    return textOf([&](char* buffer, std::size_t size, std::size_t* needed) {
        return ambersel_message(result, buffer, size, needed);
    });
}

TEST(CApi, RefusesMissingArgumentsAndUnknownFlagsWithoutAResult) {
    const Made made = ofBytes("1000,100\n");
    const ambersel_result* result = made.result.get();
    ambersel_result* out = nullptr;
    int number = 0;
    double real = 0;
    std::size_t count = 0;
    uint64_t wide = 0;
    const char bytes[] = "1000,100\n";
    struct Row {
        const char* wrong;
        std::function<int()> call;
    };
    const std::vector<Row> rows = {
        {"no path", [&] { return ambersel_evaluate_file(nullptr, 0, &out); }},
        {"an unknown flag", [&] { return ambersel_evaluate_file("x.ASC", 2, &out); }},
        {"no place for the result", [&] { return ambersel_evaluate_file("x.ASC", 0, nullptr); }},
        {"bytes missing", [&] { return ambersel_evaluate_buffer(nullptr, 4, nullptr, 0, &out); }},
        {"a flag on bytes", [&] { return ambersel_evaluate_buffer(bytes, 9, nullptr, 8, &out); }},
        {"no verdict out", [&] { return ambersel_verdict(result, nullptr); }},
        {"no result", [&] { return ambersel_verdict(nullptr, &number); }},
        {"no figure's result", [&] { return ambersel_figure(nullptr, nullptr, nullptr); }},
        {"no count out", [&] { return ambersel_point_count(result, nullptr); }},
        {"no reason out",
         [&] { return ambersel_stop(result, nullptr, &wide, nullptr, 0, nullptr); }},
        {"no margin out", [&] { return ambersel_margin(result, &number, nullptr); }},
        {"no has-margin out", [&] { return ambersel_margin(result, nullptr, &real); }},
        {"no band count out",
         [&] { return ambersel_bands(result, nullptr, 0, nullptr, 0, nullptr); }},
        {"a band array missing",
         [&] { return ambersel_bands(result, nullptr, 0, nullptr, 3, &count); }},
        {"a contributor array missing",
         [&] { return ambersel_heaviest(result, 1, nullptr, 1, &count); }},
        {"a buffer missing",
         [&] { return ambersel_json(result, 0, nullptr, 0, 0, nullptr, 9, nullptr); }},
        {"a line buffer missing",
         [&] { return ambersel_result_line(result, nullptr, 9, nullptr); }},
        {"a report buffer missing",
         [&] { return ambersel_self_test(nullptr, nullptr, 9, nullptr, nullptr, nullptr); }},
    };
    int sentinel = 0;
    for (const Row& row : rows) {
        out = reinterpret_cast<ambersel_result*>(&sentinel);
        EXPECT_EQ(row.call(), AMBERSEL_ERROR_ARGUMENT) << row.wrong;
        // A result made anyway would also be a leak, which the sanitizer build reports.
        EXPECT_TRUE(out == nullptr || out == reinterpret_cast<ambersel_result*>(&sentinel))
            << row.wrong;
    }
}

TEST(CApi, TextsFitToTheByteOrSayWhatTheyNeed) {
    const Made made = ofFile(kFailingExample);
    ASSERT_EQ(made.status, AMBERSEL_OK);
    const ambersel_result* result = made.result.get();
    const std::vector<std::pair<const char*, TextCall>> texts = {
        {"result line", [&](char* b, std::size_t s,
                            std::size_t* n) { return ambersel_result_line(result, b, s, n); }},
        {"JSON object",
         [&](char* b, std::size_t s, std::size_t* n) {
             return ambersel_json(result, 3, nullptr, 0, 1, b, s, n);
         }},
    };
    for (const auto& [what, call] : texts) {
        const std::string whole = textOf(call);
        ASSERT_FALSE(whole.empty()) << what;
        std::string buffer(whole.size() + 1, 'x');
        std::size_t needed = 0;
        EXPECT_EQ(call(buffer.data(), whole.size(), &needed), AMBERSEL_ERROR_BUFFER_TOO_SMALL)
            << what << ": no room for the terminating NUL";
        EXPECT_EQ(needed, whole.size() + 1) << what;
        EXPECT_EQ(buffer[0], '\0') << what << ": a text that does not fit must not be left half";
        EXPECT_EQ(call(buffer.data(), buffer.size(), nullptr), AMBERSEL_OK) << what;
        EXPECT_EQ(std::strlen(buffer.c_str()), whole.size()) << what;
    }
}

TEST(CApi, GivesTheFigureLineCountAndStopOfEachList) {
    struct Row {
        const char* list;
        std::string bytes;
        uint32_t bits;
        const char* line;
        uint64_t points;
        int stop;
        uint64_t stopLine;
        std::string excerpt;
    };
    const std::vector<Row> rows = {
        {"one passing point", "1000,100\n", 0x3DF7E5F5, "PASS : F = 0.1210", 1,
         AMBERSEL_STOP_END_OF_FILE, 0, ""},
        {"empty", "", 0, "PASS : F = 0.0000", 0, AMBERSEL_STOP_END_OF_FILE, 0, ""},
        {"stopped in the middle", "1000,120\r\n\r\nEnd of scan\r\n5,6\r\n", 0x3F9AEFB9,
         "FAIL : F = 1.2104", 1, AMBERSEL_STOP_MALFORMED_ITEM, 3, "End of scan"},
        {"a NUL in the excerpt", std::string("1000,100\n\0x\n", 12), 0x3DF7E5F5,
         "PASS : F = 0.1210", 1, AMBERSEL_STOP_MALFORMED_ITEM, 2, std::string("\0x", 2)},
        {"not a number fails", "1000,120\n-5,40\n", 0xFFC00000, "FAIL : F = -nan", 2,
         AMBERSEL_STOP_END_OF_FILE, 0, ""},
    };
    for (const Row& row : rows) {
        const Made made = ofBytes(row.bytes);
        ASSERT_EQ(made.status, AMBERSEL_OK) << row.list;
        const ambersel_result* result = made.result.get();
        float figure = 0;
        uint32_t bits = 0;
        ASSERT_EQ(ambersel_figure(result, &figure, &bits), AMBERSEL_OK);
        EXPECT_EQ(bits, row.bits) << row.list;
        EXPECT_EQ(std::memcmp(&figure, &bits, sizeof bits), 0) << row.list;
        EXPECT_EQ(lineOf(result), row.line) << row.list;
        uint64_t points = 0;
        ASSERT_EQ(ambersel_point_count(result, &points), AMBERSEL_OK);
        EXPECT_EQ(points, row.points) << row.list;
        int reason = -1;
        uint64_t line = 99;
        std::size_t needed = 0;
        char excerpt[64] = "junk";
        ASSERT_EQ(ambersel_stop(result, &reason, &line, excerpt, sizeof excerpt, &needed),
                  AMBERSEL_OK);
        EXPECT_EQ(reason, row.stop) << row.list;
        EXPECT_EQ(line, row.stopLine) << row.list;
        EXPECT_EQ(std::string(excerpt, needed - 1), row.excerpt) << row.list;
        int verdict = -1;
        ASSERT_EQ(ambersel_verdict(result, &verdict), AMBERSEL_OK);
        EXPECT_EQ(verdict, row.line[0] == 'F' ? AMBERSEL_FAIL : AMBERSEL_PASS) << row.list;
    }
}

TEST(CApi, AFileAndItsBytesGiveTheSameObject) {
    for (const fs::path& path : {kFailingExample, kExamples / "emission_150k_30M.ASC"}) {
        const Made file = ofFile(path);
        const std::string name = utf8Of(path);
        const Made bytes = ofBytes(contentOf(path), 0, name.c_str());
        ASSERT_EQ(file.status, AMBERSEL_OK);
        ASSERT_EQ(bytes.status, AMBERSEL_OK);
        EXPECT_EQ(jsonOf(file.result.get(), 10), jsonOf(bytes.result.get(), 10)) << name;
    }
}

TEST(CApi, AListWithoutVerdictSaysWhyAndGivesNothingOfAFigure) {
    const TemporaryFolder folder;
    const fs::path dash = folder.write("-", "1000,100\n");
    struct Row {
        const char* list;
        fs::path path;
        int status;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"missing", folder.path() / "missing.ASC", AMBERSEL_ERROR_UNREADABLE,
         "No such file or directory"},
        {"a folder", folder.path(), AMBERSEL_ERROR_UNREADABLE, "not a regular file"},
        {"an empty path", "", AMBERSEL_ERROR_UNREADABLE, "No such file or directory"},
    };
    for (const Row& row : rows) {
        const Made made = ofFile(row.path);
        ASSERT_EQ(made.status, row.status) << row.list;
        ASSERT_NE(made.result, nullptr) << row.list << ": no result to ask why";
        const ambersel_result* result = made.result.get();
        EXPECT_EQ(messageOf(result), row.message) << row.list;
        int verdict = -1;
        EXPECT_EQ(ambersel_verdict(result, &verdict), AMBERSEL_OK);
        EXPECT_EQ(verdict, AMBERSEL_NONE) << row.list;
        float figure = 0;
        char line[64];
        int has = 0;
        double margin = 0;
        std::size_t count = 0;
        EXPECT_EQ(ambersel_figure(result, &figure, nullptr), AMBERSEL_ERROR_NO_VERDICT);
        EXPECT_EQ(ambersel_result_line(result, line, sizeof line, nullptr),
                  AMBERSEL_ERROR_NO_VERDICT);
        EXPECT_EQ(ambersel_margin(result, &has, &margin), AMBERSEL_ERROR_NO_VERDICT);
        EXPECT_EQ(ambersel_bands(result, nullptr, 0, nullptr, 0, &count),
                  AMBERSEL_ERROR_NO_VERDICT);
        EXPECT_EQ(ambersel_heaviest(result, 1, nullptr, 0, &count), AMBERSEL_ERROR_NO_VERDICT);
        int reason = -1;
        EXPECT_EQ(ambersel_stop(result, &reason, nullptr, nullptr, 0, nullptr), AMBERSEL_OK);
        EXPECT_EQ(reason, AMBERSEL_STOP_NOT_OPENED) << row.list;
        const Json object = jsonOf(result);
        EXPECT_EQ(object["verdict"], "ERROR") << row.list;
        EXPECT_EQ(object["error"], row.message) << row.list;
    }
    // Standard input has no place in a library: "-" is a file of that name.
    const fs::path here = fs::current_path();
    fs::current_path(folder.path());
    const Made made = ofFile("-");
    fs::current_path(here);
    EXPECT_EQ(made.status, AMBERSEL_OK);
    EXPECT_EQ(jsonOf(made.result.get())["path"], "-");
}

TEST(CApi, StrictGivesNoVerdictOnAnEmptyOrTruncatedList) {
    struct Row {
        const char* list;
        const char* bytes;
        int status;
        const char* message;
    };
    const std::vector<Row> rows = {
        {"empty", "", AMBERSEL_ERROR_INCOMPLETE, "the list holds no points"},
        {"a header only", "Frequency,Level\n1000,100\n", AMBERSEL_ERROR_INCOMPLETE,
         "the list holds no points"},
        {"cut by text", "1000,100\n2000,90\nEnd\n", AMBERSEL_ERROR_INCOMPLETE,
         "reading stopped at line 3, before the end of the file"},
        {"whole", "1000,100\n2000,90\n\n", AMBERSEL_OK, ""},
    };
    for (const Row& row : rows) {
        const Made lenient = ofBytes(row.bytes);
        EXPECT_EQ(lenient.status, AMBERSEL_OK) << row.list << ": strictness is asked for";
        const Made strict = ofBytes(row.bytes, AMBERSEL_STRICT, "strict.ASC");
        ASSERT_EQ(strict.status, row.status) << row.list;
        EXPECT_EQ(messageOf(strict.result.get()), row.message) << row.list;
        const Json object = jsonOf(strict.result.get());
        EXPECT_EQ(object["verdict"], row.status == AMBERSEL_OK ? "PASS" : "ERROR") << row.list;
    }
    const Made missing = ofFile(kExamples / "missing.ASC", AMBERSEL_STRICT);
    EXPECT_EQ(missing.status, AMBERSEL_ERROR_UNREADABLE) << "unreadable is not incomplete";
}

TEST(CApi, RefusesBandEdgesThatMakeNoBands) {
    const Made made = ofFile(kFailingExample);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* wrong;
        std::vector<double> edges;
        bool nullEdges;
    };
    const std::vector<Row> rows = {
        {"one edge", {1e6}, false},
        {"equal edges", {1e5, 1e5}, false},
        {"decreasing", {1e6, 1e5}, false},
        {"zero", {0, 1e6}, false},
        {"negative", {-1e6, 1e6}, false},
        {"infinite", {1e5, inf}, false},
        {"not a number", {1e5, nan, 1e7}, false},
        {"a count without edges", {1, 2}, true},
    };
    for (const Row& row : rows) {
        const double* edges = row.nullEdges ? nullptr : row.edges.data();
        std::size_t count = 0;
        char json[8];
        EXPECT_EQ(ambersel_bands(made.result.get(), edges, row.edges.size(), nullptr, 0, &count),
                  AMBERSEL_ERROR_BAND_EDGES)
            << row.wrong;
        EXPECT_EQ(ambersel_json(made.result.get(), 0, edges, row.edges.size(), 0, json, sizeof json,
                                nullptr),
                  AMBERSEL_ERROR_BAND_EDGES)
            << row.wrong;
    }
}

// Each value as the JSON writes it: null where the C structure says there is none.
Json orNull(int64_t has, double value) {
    return has != 0 ? Json(value) : Json(nullptr);
}
Json finiteOrNull(double value) {
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}
// A point's frequency or level, which the JSON writes as the float's shortest decimal: the same
// float, or null for one that is not finite.
bool sameFloat(const Json& written, double widened) {
    if (written.is_null()) {
        return !std::isfinite(widened);
    }
    return static_cast<float>(written.get<double>()) == static_cast<float>(widened);
}

TEST(CApi, BandsContributorsAndMarginAreTheJsonObjects) {
    const std::vector<std::vector<double>> edgeRows = {{}, {150e3, 1e6, 10e6, 30e6}, {1e6, 2e6}};
    const char* const places[] = {"between", "below", "above", "no_frequency"};
    const Made made = ofBytes(contentOf(kFailingExample) + "nan,40\n");
    const ambersel_result* result = made.result.get();
    for (const std::vector<double>& edges : edgeRows) {
        const double* given = edges.empty() ? nullptr : edges.data();
        const Json object = jsonOf(result, 10, given, edges.size());
        std::size_t count = 0;
        ASSERT_EQ(ambersel_bands(result, given, edges.size(), nullptr, 0, &count),
                  AMBERSEL_ERROR_BUFFER_TOO_SMALL);
        std::vector<ambersel_band> bands(count);
        ASSERT_EQ(ambersel_bands(result, given, edges.size(), bands.data(), count, &count),
                  AMBERSEL_OK);
        ASSERT_EQ(bands.size(), object["bands"].size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const Json& band = object["bands"][i];
            const ambersel_band& mine = bands[i];
            EXPECT_EQ(band["place"], places[mine.place]) << i;
            EXPECT_EQ(band["lower_hz"], finiteOrNull(mine.lower_hz)) << i;
            EXPECT_EQ(band["upper_hz"], finiteOrNull(mine.upper_hz)) << i;
            EXPECT_EQ(band["point_count"], mine.point_count) << i;
            EXPECT_EQ(band["sum_of_terms"], finiteOrNull(mine.sum_of_terms)) << i;
            EXPECT_EQ(band["share"], orNull(mine.has_share, mine.share)) << i;
            EXPECT_EQ(band["margin_without_db"],
                      orNull(mine.has_margin_without, mine.margin_without_db))
                << i;
        }
        std::vector<ambersel_contributor> top(10);
        ASSERT_EQ(ambersel_heaviest(result, 10, top.data(), top.size(), &count), AMBERSEL_OK);
        ASSERT_EQ(object["top"].size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const Json& heavy = object["top"][i];
            EXPECT_EQ(heavy["index"], top[i].index) << i;
            EXPECT_TRUE(sameFloat(heavy["frequency"], top[i].frequency_hz)) << i;
            EXPECT_TRUE(sameFloat(heavy["level"], top[i].level_dbuv)) << i;
            EXPECT_EQ(heavy["term"], finiteOrNull(top[i].term)) << i;
            EXPECT_EQ(heavy["share"], orNull(top[i].has_share, top[i].share)) << i;
        }
        int has = 0;
        double margin = 0;
        ASSERT_EQ(ambersel_margin(result, &has, &margin), AMBERSEL_OK);
        EXPECT_EQ(object["margin_db"], orNull(has, margin));
    }
}

TEST(CApi, ContributorsAreNoMoreThanTheListHolds) {
    const Made made = ofBytes("1000,100\n2000,100\n3000,100\n");
    std::vector<ambersel_contributor> top(3);
    std::size_t count = 0;
    EXPECT_EQ(ambersel_heaviest(made.result.get(), std::numeric_limits<std::size_t>::max(),
                                top.data(), top.size(), &count),
              AMBERSEL_OK);
    EXPECT_EQ(count, 3U);
    EXPECT_EQ(ambersel_heaviest(made.result.get(), 3, top.data(), 2, &count),
              AMBERSEL_ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 3U);
}

TEST(CApi, ThreadsEvaluateAndReadResultsAtOnce) {
    std::vector<std::string> lists;
    for (int i = 0; i < 8; ++i) {
        lists.push_back(contentOf(kFailingExample) + std::to_string(1000 + i) + ",100\n");
    }
    std::vector<std::string> expected;
    for (const std::string& list : lists) {
        expected.push_back(jsonOf(ofBytes(list).result.get(), 5).dump());
    }
    const Made shared = ofFile(kFailingExample);
    const std::string sharedJson = jsonOf(shared.result.get(), 5).dump();
    std::vector<std::string> failures(lists.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 0; t < lists.size(); ++t) {
            threads.emplace_back([&, t] {
                for (int round = 0; round < 10; ++round) {
                    const Made mine = ofBytes(lists[t]);
                    if (jsonOf(mine.result.get(), 5).dump() != expected[t] ||
                        jsonOf(shared.result.get(), 5).dump() != sharedJson) {
                        failures[t] = "thread " + std::to_string(t) + " saw another result";
                    }
                }
            });
        }
    }
    for (const std::string& failure : failures) {
        EXPECT_EQ(failure, "");
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Memory running out inside the library is a status, not an exception or an abort in the caller.
// In a child process whose address space ends a little above what it uses now, since a
// sanitizer's runtime reserves far more than any such limit.
TEST(CApi, RunningOutOfMemoryIsAStatus) {
    constexpr std::size_t kPoints = 16'000'000;  // 128 MB of points, from 64 MB of text
    std::string bytes;
    bytes.reserve(kPoints * 4);
    for (std::size_t i = 0; i < kPoints; ++i) {
        bytes += "1,1\n";
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        std::ifstream statm("/proc/self/statm");
        std::size_t pages = 0;
        statm >> pages;
        limit.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (32U << 20U);
        setrlimit(RLIMIT_AS, &limit);
        ambersel_result* result = nullptr;
        const int status =
            ambersel_evaluate_buffer(bytes.data(), bytes.size(), nullptr, 0, &result);
        _exit(status == AMBERSEL_ERROR_OUT_OF_MEMORY && result == nullptr ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "the child died of a signal, not of a status";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the library did not say that memory ran out";
}
#endif

#if defined(_WIN32)
// A file by its UTF-16 name: the C++ library's streams would take the name through the code page.
void writeByWideName(const fs::path& path, const char* text) {
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fputs(text, file);
    std::fclose(file);
}

TEST(CApi, WindowsNamesInAnyScriptReachTheFileByEitherPath) {
    const TemporaryFolder folder;
    const std::vector<std::wstring> names = {
        L"\u039B\u03AF\u03C3\u03C4\u03B1.ASC",  // Greek
        L"\u6E2C\u5B9A.ASC",                    // Japanese
        L"scan \U0001F4C8.ASC",                 // beyond the basic plane
    };
    for (const std::wstring& name : names) {
        const fs::path path = folder.path() / name;
        writeByWideName(path, "1000,100\n");
        ambersel_result* wide = nullptr;
        const int status = ambersel_evaluate_file_w(path.c_str(), 0, &wide);
        const Result owned(wide);
        ASSERT_NE(wide, nullptr);
        ASSERT_EQ(status, AMBERSEL_OK) << messageOf(wide);
        EXPECT_EQ(lineOf(wide), "PASS : F = 0.1210");
    }
    // The UTF-8 entry takes a name's generalized UTF-8, as ambersel-eval's arguments are.
    writeByWideName(folder.path() / L"\u039B.ASC", "1000,120\n");
    ambersel_result* utf8 = nullptr;
    const std::string path = utf8Of(folder.path()) + "\\\xCE\x9B.ASC";
    EXPECT_EQ(ambersel_evaluate_file(path.c_str(), 0, &utf8), AMBERSEL_OK);
    const Result owned(utf8);
    EXPECT_EQ(lineOf(utf8), "FAIL : F = 1.2104");
    ambersel_result* broken = nullptr;
    EXPECT_EQ(ambersel_evaluate_file("\xFF\xFE.ASC", 0, &broken), AMBERSEL_ERROR_PATH);
    const Result brokenOwned(broken);
    ASSERT_NE(broken, nullptr);
    EXPECT_FALSE(messageOf(broken).empty());
}
#endif

// A host program may run in a locale whose decimal separator is a comma (LabVIEW on a German
// desktop does): nothing the library reads or writes may follow it.
TEST(CApi, TheCallersCommaLocaleChangesNothing) {
    const auto outputs = [] {
        const Made made = ofBytes("1000.5,100.25\n150000,60\n", 0, "comma.ASC");
        return lineOf(made.result.get()) + "\n" + jsonOf(made.result.get(), 2).dump();
    };
    const std::string inC = outputs();
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const std::vector<std::string> names{"de_DE.UTF-8", "de-DE", "German_Germany.1252"};
    const auto german = std::find_if(names.begin(), names.end(), [](const std::string& name) {
        return std::setlocale(LC_ALL, name.c_str()) != nullptr;
    });
    if (german == names.end()) {
        GTEST_SKIP() << "no German locale here (scripts/install-deps generates de_DE.UTF-8)";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const std::string inGerman = outputs();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(inGerman, inC) << *german;
}

TEST(CApi, VersionAndStatusTexts) {
    EXPECT_STREQ(ambersel_version(), AMBERSEL_VERSION);
    std::vector<std::string> texts;
    for (int status = AMBERSEL_OK; status <= AMBERSEL_ERROR_INTERNAL; ++status) {
        texts.emplace_back(ambersel_status_text(status));
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(std::unique(texts.begin(), texts.end()), texts.end()) << "two statuses read alike";
    EXPECT_STREQ(ambersel_status_text(-1), "an unknown status");
    EXPECT_STREQ(ambersel_status_text(AMBERSEL_ERROR_INTERNAL + 1), "an unknown status");
}

}  // namespace
