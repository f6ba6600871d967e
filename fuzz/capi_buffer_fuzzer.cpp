// The C library's buffer entry on arbitrary bytes, as a test station hands it a list it got from
// elsewhere: every call returns a status, never crashes; the points, where reading stopped, F and
// the line are what the C library's own fscanf loop and a plain figure loop give; strictness
// refuses exactly the empty and the cut lists; every text keeps to the buffer protocol.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "ambersel.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/figure_reference.h"
#include "tests/support/scan_format_reference.h"

namespace {

using ambersel::fuzz::require;

// A text through the two calls a caller makes, checking that the second gives what the first
// promised.
template <typename Call>
std::string textOf(const Call& call) {
    std::size_t needed = 0;
    require(call(nullptr, 0, &needed) == AMBERSEL_ERROR_BUFFER_TOO_SMALL && needed > 0,
            "a text asked for with no buffer says its size");
    std::string text(needed, '\x7F');
    std::size_t again = 0;
    require(call(text.data(), needed, &again) == AMBERSEL_OK && again == needed,
            "a text fits the size it asked for");
    require(text[needed - 1] == '\0', "a text ends with its NUL");
    return text.substr(0, needed - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ambersel::support::ScanFormatReading reference =
        ambersel::support::readTextWithScanFormat(bytes);
    const ambersel::support::ReferenceVerdict verdict =
        ambersel::support::referenceVerdict(reference.points);

    ambersel_result* result = nullptr;
    require(ambersel_evaluate_buffer(data, size, "fuzz.ASC", 0, &result) == AMBERSEL_OK &&
                result != nullptr,
            "bytes always give a verdict");
    std::uint64_t points = 0;
    require(
        ambersel_point_count(result, &points) == AMBERSEL_OK && points == reference.points.size(),
        "the points are the fscanf loop's");
    int reason = -1;
    std::uint64_t line = 0;
    const std::string excerpt = textOf([&](char* buffer, std::size_t length, std::size_t* needed) {
        return ambersel_stop(result, &reason, &line, buffer, length, needed);
    });
    const bool malformed = reference.stop.end == ambersel::ReadingEnd::MalformedItem;
    require(reason == (malformed ? AMBERSEL_STOP_MALFORMED_ITEM : AMBERSEL_STOP_END_OF_FILE),
            "reading stops where the fscanf loop stops");
    require(line == reference.stop.line && excerpt == reference.stop.excerpt,
            "the stop's line and excerpt are the fscanf loop's");
    std::uint32_t bits = 0;
    require(ambersel_figure(result, nullptr, &bits) == AMBERSEL_OK, "a verdict has a figure");
    std::uint32_t expectedBits = 0;
    std::memcpy(&expectedBits, &verdict.figure, sizeof expectedBits);
    require(bits == expectedBits, "F is the plain figure loop's, to the bit");
    require(textOf([&](char* buffer, std::size_t length, std::size_t* needed) {
                return ambersel_result_line(result, buffer, length, needed);
            }) == verdict.line,
            "the line is the one the C library's %.4f prints");
    const std::string json = textOf([&](char* buffer, std::size_t length, std::size_t* needed) {
        return ambersel_json(result, 3, nullptr, 0, 0, buffer, length, needed);
    });
    require(json.front() == '{' && json.back() == '}' && json.find('\n') == std::string::npos,
            "the JSON object is one line");
    ambersel_free(result);

    ambersel_result* strict = nullptr;
    const int status = ambersel_evaluate_buffer(data, size, nullptr, AMBERSEL_STRICT, &strict);
    const bool incomplete = reference.points.empty() || malformed;
    require(status == (incomplete ? AMBERSEL_ERROR_INCOMPLETE : AMBERSEL_OK),
            "strictness refuses exactly the empty and the cut lists");
    int strictVerdict = -1;
    require(ambersel_verdict(strict, &strictVerdict) == AMBERSEL_OK &&
                (strictVerdict == AMBERSEL_NONE) == incomplete,
            "a refused list has no verdict");
    ambersel_free(strict);
    return 0;
}
