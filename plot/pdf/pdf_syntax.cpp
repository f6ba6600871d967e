#include "plot/pdf/pdf_syntax.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "plot/canvas/fixed_number.h"
#include "text/byte_text.h"

namespace ambersel::plot::pdf {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isDelimiter(char byte) {
    return std::string_view("()<>[]{}/%#").find(byte) != std::string_view::npos;
}

// The parts of `moment`'s UTC date and time, the year cut to 1 to 9999.
struct CivilTime {
    int year = 1970;
    unsigned month = 1;
    unsigned day = 1;
    long long hours = 0;
    long long minutes = 0;
    long long seconds = 0;
};

CivilTime civilTime(std::chrono::sys_seconds moment) {
    using namespace std::chrono;
    constexpr sys_days kFirst = year_month_day{year{1}, January, day{1}};
    constexpr sys_days kLast = year_month_day{year{9999}, December, day{31}};
    const sys_seconds earliest = kFirst;
    const sys_seconds latest = sys_seconds(kLast) + hours(23) + minutes(59) + seconds(59);
    moment = std::clamp(moment, earliest, latest);
    const sys_days date = floor<days>(moment);
    const year_month_day calendar(date);
    const long long second = (moment - sys_seconds(date)).count();
    return {static_cast<int>(calendar.year()),
            static_cast<unsigned>(calendar.month()),
            static_cast<unsigned>(calendar.day()),
            second / 3600,
            second / 60 % 60,
            second % 60};
}

// `value` (not negative) in at least `width` digits, zeros before.
void appendPadded(std::string& out, long long value, int width) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const auto length = static_cast<int>(result.ptr - digits.data());
    out.append(static_cast<std::size_t>(std::max(width - length, 0)), '0');
    out.append(digits.data(), result.ptr);
}

}  // namespace

void appendNumber(std::string& out, double value, int decimals) {
    appendFixedNumber(out, value, decimals);
}

std::string number(double value, int decimals) {
    std::string out;
    appendNumber(out, value, decimals);
    return out;
}

std::string name(std::string_view bytes) {
    std::string out = "/";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < '!' || code > '~' || isDelimiter(byte)) {
            out += '#';
            out += kHexDigits[code >> 4];
            out += kHexDigits[code & 0xF];
        } else {
            out += byte;
        }
    }
    return out;
}

std::string literalString(std::string_view bytes) {
    std::string out = "(";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '(' || byte == ')' || byte == '\\') {
            out += '\\';
            out += byte;
        } else if (code < ' ' || code > '~') {
            out += '\\';
            out += static_cast<char>('0' + (code >> 6));
            out += static_cast<char>('0' + ((code >> 3) & 7));
            out += static_cast<char>('0' + (code & 7));
        } else {
            out += byte;
        }
    }
    out += ')';
    return out;
}

void appendHex(std::string& out, std::string_view bytes) {
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        out += kHexDigits[code >> 4];
        out += kHexDigits[code & 0xF];
    }
}

std::string hexString(std::string_view bytes) {
    std::string out = "<";
    appendHex(out, bytes);
    out += '>';
    return out;
}

void appendUtf16Hex(std::string& out, char32_t codePoint) {
    const auto appendUnit = [&out](char32_t unit) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            out += kHexDigits[(unit >> shift) & 0xF];
        }
    };
    if (codePoint >= 0x10000) {
        const char32_t offset = codePoint - 0x10000;
        appendUnit(0xD800 + (offset >> 10));
        appendUnit(0xDC00 + (offset & 0x3FF));
    } else {
        appendUnit(codePoint);
    }
}

std::string utf16Hex(std::string_view utf8) {
    std::string out;
    for (const char32_t codePoint : drawnCodePoints(utf8)) {
        appendUtf16Hex(out, codePoint);
    }
    return out;
}

std::string textString(std::string_view utf8) {
    const std::string drawn = drawnText(utf8);
    const bool printableAscii = std::all_of(drawn.begin(), drawn.end(),
                                            [](char byte) { return byte >= ' ' && byte <= '~'; });
    if (printableAscii) {
        return literalString(drawn);
    }
    return "<FEFF" + utf16Hex(drawn) + ">";
}

std::string pdfDate(std::chrono::sys_seconds moment) {
    const CivilTime time = civilTime(moment);
    std::string out = "D:";
    for (const auto& [value, width] : {std::pair<long long, int>{time.year, 4},
                                       {time.month, 2},
                                       {time.day, 2},
                                       {time.hours, 2},
                                       {time.minutes, 2},
                                       {time.seconds, 2}}) {
        appendPadded(out, value, width);
    }
    return out + "+00'00'";
}

std::string xmpDate(std::chrono::sys_seconds moment) {
    const CivilTime time = civilTime(moment);
    std::string out;
    appendPadded(out, time.year, 4);
    for (const auto& [separator, value] : {std::pair<char, long long>{'-', time.month},
                                           {'-', time.day},
                                           {'T', time.hours},
                                           {':', time.minutes},
                                           {':', time.seconds}}) {
        out += separator;
        appendPadded(out, value, 2);
    }
    return out + "+00:00";
}

}  // namespace ambersel::plot::pdf
