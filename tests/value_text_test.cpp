// Numbers and bytes as every output writes them: the chart, the report, the details and the
// evaluator's lines.

#include "text/value_text.h"
#include "text/byte_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace ambersel {
namespace {

struct TextRow {
    const char* name;
    std::string text;
    std::string expected;
};

TEST(ValueText, ReadsAsAnEngineerWritesIt) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const TextRow rows[] = {
        {"margin to spare has a plus", marginText(40.7149), "+40.71 dB"},
        {"margin over the limit has a minus", marginText(-1.65887), "-1.66 dB"},
        {"margin just below zero that shows as zero has no sign", marginText(-0.004), "0.00 dB"},
        {"margin just above zero that shows as zero has no sign", marginText(0.004), "0.00 dB"},
        {"no margin says so", marginText(std::nullopt), "none"},
        {"kilohertz", frequencyText(150e3, 3), "150 kHz"},
        {"three digits round within the unit", frequencyText(1234567, 3), "1.23 MHz"},
        {"six digits keep six", frequencyText(1234567, 6), "1.23457 MHz"},
        {"a whole unit takes that unit", frequencyText(1e6, 6), "1 MHz"},
        {"what rounds up to a unit takes it, not 1e+03 Hz", frequencyText(999.6, 3), "1 kHz"},
        {"what rounds below a unit stays in hertz", frequencyText(999.4, 3), "999 Hz"},
        {"gigahertz", frequencyText(2.5e9, 6), "2.5 GHz"},
        {"below a hertz", frequencyText(0.5, 3), "0.5 Hz"},
        {"an open band end", frequencyText(-kInf, 6), "-inf"},
        {"a share has two decimals", percentText(0.123456), "12.35%"},
        {"a share that rounds to nothing shows no sign", percentText(-1e-9), "0.00%"},
        {"bits of the figure", floatBitsText(1.21044075F), "0x3F9AEFB9"},
        {"printable ASCII as it is", escapedBytes(" ~azAZ09'\"", false), " ~azAZ09'\""},
        {"NUL, the ends of the control range, line ends, escape and delete",
         escapedBytes(std::string("\0\x01\x1f\r\n\x1b[\x7f", 8), true),
         "\\x00\\x01\\x1f\\x0d\\x0a\\x1b[\\x7f"},
        {"a backslash cannot pass for an escape", escapedBytes("\\x41", true), "\\\\x41"},
        {"UTF-8 kept", escapedBytes("\xc3\xa9", true), "\xc3\xa9"},
        {"UTF-8 shown as bytes", escapedBytes("\xc3\xa9", false), "\\xc3\\xa9"},
    };
    for (const TextRow& row : rows) {
        EXPECT_EQ(row.text, row.expected) << row.name;
    }
}

}  // namespace
}  // namespace ambersel
