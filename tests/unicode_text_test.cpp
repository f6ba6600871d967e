// File names between UTF-16 and UTF-8. In generalized UTF-8 every UTF-16 name, unpaired surrogates
// included, turns into text and back unchanged, and text that stands for no name is refused; UTF-8
// proper has no form for an unpaired surrogate, so that no look-alike of such a name is opened.

#include "text/unicode_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ambersel {
namespace {

TEST(UnicodeText, GivesBackTheSameName) {
    struct Row {
        const char* name;
        std::u16string units;
        std::string text;
        bool paired = true;  // no unpaired surrogate: UTF-8 proper too
    };
    const Row rows[] = {
        {"ascii", u"run 7.ASC", "run 7.ASC"},
        {"two bytes", u"Messung_\u00C4_\u00B5V", "Messung_\xC3\x84_\xC2\xB5V"},
        {"three bytes", u"\u6E2C\u5B9A", "\xE6\xB8\xAC\xE5\xAE\x9A"},
        {"a surrogate pair is one code point", u"\U0001F4C8", "\xF0\x9F\x93\x88"},
        {"a lone high surrogate", u"x\xD800y", "x\xED\xA0\x80y", false},
        {"a lone high surrogate at the end", u"x\xD800", "x\xED\xA0\x80", false},
        {"a lone low surrogate at the end", u"x\xDC00", "x\xED\xB0\x80", false},
        {"low before high stays two units", u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80", false},
        {"NUL", std::u16string(1, u'\0'), std::string(1, '\0')},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(generalizedUtf8FromUtf16(row.units), row.text) << row.name;
        EXPECT_EQ(utf16FromGeneralizedUtf8(row.text), row.units) << row.name;
        EXPECT_EQ(utf8FromUtf16(row.units), row.paired ? std::optional(row.text) : std::nullopt)
            << row.name;
    }
}

TEST(UnicodeText, ThatStandsForNoNameIsRefused) {
    const std::pair<const char*, std::string> rows[] = {
        {"a continuation byte alone", "a\x80"},
        {"a cut sequence", "a\xE6\xB8"},
        {"an overlong slash", "\xC0\xAF"},
        {"overlong in three bytes", "\xE0\x80\xAF"},
        {"beyond the last code point", "\xF4\x90\x80\x80"},
        {"a Latin-1 byte", "M\xE4ssung"},
        // A name holding this pair is the one code point U+1F4C8, written with four bytes.
        {"a pair written as two surrogates", "\xED\xA0\xBD\xED\xB3\x88"},
    };
    for (const auto& [name, text] : rows) {
        EXPECT_EQ(utf16FromGeneralizedUtf8(text), std::nullopt) << name;
    }
}

}  // namespace
}  // namespace ambersel
