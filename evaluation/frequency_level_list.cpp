#include "evaluation/frequency_level_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace ambersel {
namespace {

constexpr int kEndOfInput = -1;
constexpr std::size_t kDefaultBufferSize = std::size_t{64} * 1024;

// Buffered bytes of the list file with one byte of look-ahead, which is all the "%f,%f\n" scan
// ever needs. It also keeps the first bytes of the current item, so that the item that ends the
// list can be quoted even when it began in an earlier buffer fill.
class ByteStream {
  public:
    ByteStream(std::FILE* file, std::size_t bufferSize)
        : m_file(file), m_buffer(std::max<std::size_t>(bufferSize, 1)) {}

    int peek() {
        if (m_next == m_end && !refill()) {
            return kEndOfInput;
        }
        return static_cast<unsigned char>(*m_next);
    }
    void advance() { ++m_next; }
    bool readFailed() const { return m_readFailed; }

    // Direct access to the bytes of the current fill, for scanning without a check per byte.
    const char* cursor() const { return m_next; }
    const char* limit() const { return m_end; }
    void moveTo(const char* next) { m_next = next; }
    // Reads the next fill once the current one is used up; false at the end of the file.
    bool fill() { return m_next != m_end || refill(); }

    void markItemStart() {
        m_itemStart = m_next;
        m_itemHead.clear();
    }

    // The start of the current item's text up to the end of its line. Reads on past the point
    // where scanning stopped; only for quoting an item after reading has ended.
    std::string itemExcerpt() {
        std::string excerpt = m_itemHead;
        excerpt.append(m_itemStart, m_next);
        while (excerpt.size() < ReadingStop::kExcerptLength) {
            const int c = peek();
            if (c == kEndOfInput) {
                break;
            }
            excerpt.push_back(static_cast<char>(c));
            advance();
        }
        const auto lineEnd = excerpt.find_first_of("\r\n");
        if (lineEnd != std::string::npos) {
            excerpt.resize(lineEnd);
        }
        if (excerpt.size() > ReadingStop::kExcerptLength) {
            excerpt.resize(ReadingStop::kExcerptLength);
        }
        return excerpt;
    }

  private:
    bool refill() {
        if (m_atEnd) {
            return false;
        }
        if (m_itemHead.size() < ReadingStop::kExcerptLength) {
            const auto kept = std::min<std::size_t>(ReadingStop::kExcerptLength - m_itemHead.size(),
                                                    static_cast<std::size_t>(m_end - m_itemStart));
            m_itemHead.append(m_itemStart, kept);
        }
        const std::size_t count = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_next = m_buffer.data();
        m_end = m_next + count;
        m_itemStart = m_next;
        if (count == 0) {
            m_atEnd = true;
            m_readFailed = std::ferror(m_file) != 0;
            return false;
        }
        return true;
    }

    std::FILE* m_file;
    std::vector<char> m_buffer;
    const char* m_next = nullptr;
    const char* m_end = nullptr;
    const char* m_itemStart = nullptr;
    std::string m_itemHead;
    bool m_atEnd = false;
    bool m_readFailed = false;
};

// White space as the "C" locale's isspace() knows it.
constexpr bool isWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool isDecimalDigit(int c) {
    return c >= '0' && c <= '9';
}
constexpr bool isHexDigit(int c) {
    return isDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
constexpr int toLower(int c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}
constexpr int digitValue(int c) {
    return isDecimalDigit(c) ? c - '0' : toLower(c) - 'a' + 10;
}

// The significant digits of one number, kept in constant space: enough leading digits to decide
// the rounding of any single-precision value exactly, and whether any digit dropped after them
// was not zero. The halfway point between two neighbouring floats has at most 112 significant
// decimal digits (28 hexadecimal), so a number cut after more digits than that, with a nonzero
// digit appended when something nonzero was cut, rounds exactly like the whole number.
class Significand {
  public:
    static constexpr std::size_t kKeptDigits = 160;

    void addIntegerDigit(int digit) {
        if (m_count == 0 && digit == 0) {
            return;
        }
        keep(digit);
        ++m_pointPosition;
    }
    void addFractionDigit(int digit) {
        if (m_count == 0 && digit == 0) {
            --m_pointPosition;
            return;
        }
        keep(digit);
    }
    bool isZero() const { return m_count == 0; }
    // The digits as text "0.ddd", with the digit point m_pointPosition places to the right of
    // its written place (in the number's own base).
    char* writeFraction(char* out) const {
        *out++ = '0';
        *out++ = '.';
        for (std::size_t i = 0; i < m_count; ++i) {
            *out++ = "0123456789abcdef"[m_digits[i]];
        }
        if (m_droppedNonZero) {
            *out++ = '1';
        }
        return out;
    }
    std::int64_t pointPosition() const { return m_pointPosition; }

  private:
    void keep(int digit) {
        if (m_count < kKeptDigits) {
            m_digits[m_count++] = static_cast<unsigned char>(digit);
        } else if (digit != 0) {
            m_droppedNonZero = true;
        }
    }

    std::array<unsigned char, kKeptDigits> m_digits{};
    std::size_t m_count = 0;
    bool m_droppedNonZero = false;
    std::int64_t m_pointPosition = 0;
};

// A written exponent, saturated far beyond any float's range so that no digit count overflows it.
class Exponent {
  public:
    static constexpr std::int64_t kLimit = 1'000'000'000;

    void setNegative() { m_negative = true; }
    void addDigit(int digit) {
        m_hasDigits = true;
        m_magnitude = std::min(m_magnitude * 10 + digit, kLimit);
    }
    // Without digits, the exponent mark is not part of the converted number.
    std::int64_t value() const {
        return m_hasDigits ? (m_negative ? -m_magnitude : m_magnitude) : 0;
    }

  private:
    std::int64_t m_magnitude = 0;
    bool m_negative = false;
    bool m_hasDigits = false;
};

float signedInfinity(bool negative) {
    return std::copysign(std::numeric_limits<float>::infinity(), negative ? -1.0F : 1.0F);
}

// Rounds the kept digits to the nearest float. Beyond the float range the result is infinity on
// overflow and zero on underflow, as strtof() gives.
float convertSignificand(bool negative, const Significand& significand, std::int64_t scale,
                         bool hexadecimal) {
    if (significand.isZero()) {
        return negative ? -0.0F : 0.0F;
    }
    // Far past overflow or underflow either way; keeps the exponent text short.
    constexpr std::int64_t kScaleLimit = 100'000;
    scale = std::clamp(scale, -kScaleLimit, kScaleLimit);

    std::array<char, Significand::kKeptDigits + 32> text{};
    char* out = text.data();
    if (negative) {
        *out++ = '-';
    }
    out = significand.writeFraction(out);
    *out++ = hexadecimal ? 'p' : 'e';
    out = std::to_chars(out, text.data() + text.size(), scale).ptr;

    float value = 0.0F;
    const auto result = std::from_chars(
        text.data(), out, value, hexadecimal ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // The value is 0.ddd times base^scale with a nonzero leading digit.
        return scale > 0 ? signedInfinity(negative) : (negative ? -0.0F : 0.0F);
    }
    return value;
}

bool matchesLetters(ByteStream& in, const char* letters) {
    for (; *letters != '\0'; ++letters) {
        if (toLower(in.peek()) != *letters) {
            return false;
        }
        in.advance();
    }
    return true;
}

// One "%f" conversion, after the white space before it was skipped. Consumes the characters the C
// library's scanner consumes and stores what its strtof() makes of them. Returns false when the
// conversion fails; then nothing is stored and reading ends, so what was consumed no longer
// matters.
bool scanNumber(ByteStream& in, float& value) {
    int c = in.peek();
    if (c == kEndOfInput) {
        return false;
    }
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        in.advance();
        c = in.peek();
        if (c == kEndOfInput) {
            return false;
        }
    }

    if (toLower(c) == 'n') {
        if (!matchesLetters(in, "nan")) {
            return false;
        }
        value = std::copysign(std::numeric_limits<float>::quiet_NaN(), negative ? -1.0F : 1.0F);
        return true;
    }
    if (toLower(c) == 'i') {
        if (!matchesLetters(in, "inf")) {
            return false;
        }
        // "inf" stands alone, but once "infi" is read the whole "infinity" must follow.
        if (toLower(in.peek()) == 'i' && !matchesLetters(in, "inity")) {
            return false;
        }
        value = signedInfinity(negative);
        return true;
    }

    Significand significand;
    Exponent exponent;
    bool hexadecimal = false;
    bool gotDigit = false;
    bool gotPoint = false;
    bool gotExponentMark = false;
    bool afterExponentMark = false;
    bool inFraction = false;
    bool consumedAny = false;

    if (c == '0') {
        in.advance();
        c = in.peek();
        if (toLower(c) == 'x') {
            in.advance();
            hexadecimal = true;
            c = in.peek();
        } else {
            consumedAny = true;
            gotDigit = true;
        }
    }
    const char exponentMark = hexadecimal ? 'p' : 'e';

    for (;; c = in.peek()) {
        const bool mantissaDigit =
            !gotExponentMark && (hexadecimal ? isHexDigit(c) : isDecimalDigit(c));
        if (mantissaDigit) {
            if (inFraction) {
                significand.addFractionDigit(digitValue(c));
            } else {
                significand.addIntegerDigit(digitValue(c));
            }
            gotDigit = true;
            afterExponentMark = false;
        } else if (gotExponentMark && isDecimalDigit(c)) {
            exponent.addDigit(c - '0');
            afterExponentMark = false;
        } else if (afterExponentMark && (c == '-' || c == '+')) {
            if (c == '-') {
                exponent.setNegative();
            }
            afterExponentMark = false;
        } else if (gotDigit && !gotExponentMark && toLower(c) == exponentMark) {
            gotExponentMark = true;
            gotPoint = true;
            afterExponentMark = true;
        } else if (!gotPoint && c == '.') {
            gotPoint = true;
            inFraction = true;
            afterExponentMark = false;
        } else {
            break;
        }
        consumedAny = true;
        in.advance();
    }

    if (!consumedAny) {
        // A lone sign, or "0x" with nothing after it.
        return false;
    }
    if (!gotDigit) {
        // Only a decimal point was read. In hexadecimal the "0" before the "x" is still a number.
        if (!hexadecimal) {
            return false;
        }
        value = negative ? -0.0F : 0.0F;
        return true;
    }
    const std::int64_t digitScale = hexadecimal ? 4 : 1;
    const std::int64_t scale = significand.pointPosition() * digitScale + exponent.value();
    value = convertSignificand(negative, significand, scale, hexadecimal);
    return true;
}

enum class FastScan { Converted, Failed, NeedsFullScan };

// Exact powers of ten in double precision: 10^22 is the largest.
constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The float nearest to mantissa * 10^scale when one double operation on exact operands gives it:
// the double result is correctly rounded, and rounding it on to single precision is exact unless
// it landed right on the midpoint between two floats. Returns false when that shortcut does not
// apply.
bool convertExactly(std::uint64_t mantissa, int scale, float& value) {
    constexpr std::uint64_t kExactMantissaLimit = std::uint64_t{1} << 53;
    constexpr int kExactScaleLimit = 22;
    if (mantissa > kExactMantissaLimit || scale < -kExactScaleLimit || scale > kExactScaleLimit) {
        return false;
    }
    const double exact = static_cast<double>(mantissa);
    const double rounded = scale < 0 ? exact / kPowersOfTen[static_cast<std::size_t>(-scale)]
                                     : exact * kPowersOfTen[static_cast<std::size_t>(scale)];
    // A double has 29 more significand bits than a float; a midpoint sets only the first of them.
    constexpr std::uint64_t kExtraBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kMidpoint = std::uint64_t{1} << 28;
    if ((std::bit_cast<std::uint64_t>(rounded) & kExtraBits) == kMidpoint) {
        return false;
    }
    value = static_cast<float>(rounded);
    return true;
}

// The common case of one "%f" conversion, on the bytes of the current fill: a decimal number that
// ends inside the fill and lies within the float range. Everything else (a number that may go on
// in the next fill, infinity, not-a-number, hexadecimal, overflow and underflow) is left to
// scanNumber(), which starts again from the same place. On a plain decimal token from_chars()
// converts the same longest valid prefix that strtof() converts.
FastScan scanDecimalInFill(ByteStream& in, float& value) {
    const char* const start = in.cursor();
    const char* const end = in.limit();
    const char* next = start;
    const bool negative = next != end && *next == '-';
    if (next != end && (*next == '-' || *next == '+')) {
        ++next;
    }
    if (next == end || toLower(*next) == 'n' || toLower(*next) == 'i' ||
        (*next == '0' && (next + 1 == end || toLower(next[1]) == 'x'))) {
        return FastScan::NeedsFullScan;
    }

    // Up to 19 digits always fit the mantissa; longer numbers go to from_chars().
    constexpr std::ptrdiff_t kMantissaDigits = 19;
    std::uint64_t mantissa = 0;
    int scale = 0;
    const char* const afterSign = next;
    for (; next != end && isDecimalDigit(*next); ++next) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*next - '0');
    }
    std::ptrdiff_t digitCount = next - afterSign;
    if (next != end && *next == '.') {
        const char* const fractionStart = ++next;
        for (; next != end && isDecimalDigit(*next); ++next) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*next - '0');
        }
        digitCount += next - fractionStart;
        scale = -static_cast<int>(std::min<std::ptrdiff_t>(next - fractionStart, 1000));
    }
    const bool gotDigit = digitCount > 0;
    const bool fitsMantissa = digitCount <= kMantissaDigits;
    if (gotDigit && next != end && toLower(*next) == 'e') {
        ++next;
        bool negativeExponent = false;
        if (next != end && (*next == '-' || *next == '+')) {
            negativeExponent = *next == '-';
            ++next;
        }
        constexpr int kExponentLimit = 10000;
        int exponent = 0;
        for (; next != end && isDecimalDigit(*next); ++next) {
            exponent = std::min(exponent * 10 + (*next - '0'), kExponentLimit);
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (next == end) {
        return FastScan::NeedsFullScan;
    }
    if (next == afterSign || !gotDigit) {
        return FastScan::Failed;
    }

    if (fitsMantissa && convertExactly(mantissa, scale, value)) {
        value = negative ? -value : value;
    } else {
        const char* const numberStart = *start == '+' ? start + 1 : start;
        if (std::from_chars(numberStart, next, value).ec != std::errc()) {
            return FastScan::NeedsFullScan;
        }
    }
    in.moveTo(next);
    return FastScan::Converted;
}

bool readNumber(ByteStream& in, float& value) {
    switch (scanDecimalInFill(in, value)) {
        case FastScan::Converted:
            return true;
        case FastScan::Failed:
            return false;
        case FastScan::NeedsFullScan:
            break;
    }
    return scanNumber(in, value);
}

// Skips white space, counting the line ends it passes.
void skipWhiteSpace(ByteStream& in, std::uint64_t& lineEnds) {
    while (in.fill()) {
        const char* next = in.cursor();
        const char* const end = in.limit();
        for (; next != end && isWhiteSpace(*next); ++next) {
            lineEnds += *next == '\n' ? 1 : 0;
        }
        in.moveTo(next);
        if (next != end) {
            return;
        }
    }
}

}  // namespace

namespace detail {

ReadingStop scanFrequencyLevelList(std::FILE* file, FrequencyLevelList& list,
                                   std::size_t bufferSize) {
    ByteStream in(file, bufferSize);
    std::uint64_t lineEnds = 0;
    ReadingStop stop;
    for (;;) {
        skipWhiteSpace(in, lineEnds);
        if (in.peek() == kEndOfInput) {
            stop.end = ReadingEnd::EndOfFile;
            break;
        }
        in.markItemStart();
        const std::uint64_t itemLine = lineEnds + 1;
        FrequencyLevelPoint point;
        bool complete = readNumber(in, point.frequency) && in.peek() == ',';
        if (complete) {
            in.advance();
            skipWhiteSpace(in, lineEnds);
            complete = readNumber(in, point.level);
        }
        if (!complete) {
            stop.end = ReadingEnd::MalformedItem;
            stop.line = itemLine;
            if (!in.readFailed()) {
                stop.excerpt = in.itemExcerpt();
            }
            break;
        }
        list.push_back(point);
    }
    if (in.readFailed()) {
        stop = ReadingStop{ReadingEnd::ReadError, 0, {}};
    }
    return stop;
}

}  // namespace detail

ReadingStop scanFrequencyLevelList(std::FILE* file, FrequencyLevelList& list) {
    return detail::scanFrequencyLevelList(file, list, kDefaultBufferSize);
}

void readFrequencyLevelList(std::FILE* file, FrequencyLevelList& list) {
    scanFrequencyLevelList(file, list);
}

}  // namespace ambersel
