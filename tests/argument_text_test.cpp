// File arguments as generalized UTF-8: every UTF-16 file name, unpaired surrogates included, turns
// into text and back unchanged, and text that stands for no name is refused.

#include "cli/argument_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ambersel::cli {
namespace {

struct RoundTripRow {
    const char* name;
    std::u16string units;
    std::string text;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTrip, GivesBackTheSameName) {
    EXPECT_EQ(generalizedUtf8FromUtf16(GetParam().units), GetParam().text);
    EXPECT_EQ(utf16FromGeneralizedUtf8(GetParam().text), GetParam().units);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RoundTrip,
    ::testing::Values(
        RoundTripRow{"ascii", u"run 7.ASC", "run 7.ASC"},
        RoundTripRow{"two_bytes", u"Messung_\u00C4_\u00B5V", "Messung_\xC3\x84_\xC2\xB5V"},
        RoundTripRow{"three_bytes", u"\u6E2C\u5B9A", "\xE6\xB8\xAC\xE5\xAE\x9A"},
        RoundTripRow{"surrogate_pair_is_one_code_point", u"\U0001F4C8", "\xF0\x9F\x93\x88"},
        RoundTripRow{"lone_high_surrogate", u"x\xD800y", "x\xED\xA0\x80y"},
        RoundTripRow{"lone_low_surrogate_at_the_end", u"x\xDC00", "x\xED\xB0\x80"},
        RoundTripRow{"low_before_high_stays_two_units", u"\xDC00\xD800",
                     "\xED\xB0\x80\xED\xA0\x80"},
        RoundTripRow{"nul", std::u16string(1, u'\0'), std::string(1, '\0')}),
    [](const ::testing::TestParamInfo<RoundTripRow>& info) { return info.param.name; });

struct RefusedRow {
    const char* name;
    std::string text;
};

class Refused : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(Refused, StandsForNoName) {
    EXPECT_EQ(utf16FromGeneralizedUtf8(GetParam().text), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Refused,
    ::testing::Values(
        RefusedRow{"continuation_byte_alone", "a\x80"}, RefusedRow{"cut_sequence", "a\xE6\xB8"},
        RefusedRow{"overlong_slash", "\xC0\xAF"},
        RefusedRow{"overlong_three_bytes", "\xE0\x80\xAF"},
        RefusedRow{"beyond_the_last_code_point", "\xF4\x90\x80\x80"},
        RefusedRow{"latin1_byte", "M\xE4ssung"},
        // A name holding this pair is the one code point U+1F4C8, written with four bytes.
        RefusedRow{"pair_written_as_two_surrogates", "\xED\xA0\xBD\xED\xB3\x88"}),
    [](const ::testing::TestParamInfo<RefusedRow>& info) { return info.param.name; });

}  // namespace
}  // namespace ambersel::cli
