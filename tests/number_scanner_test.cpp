// What the number scanner takes, what it leaves, and how it rounds where rounding is hardest: at
// midpoints between floats, at the ends of the float range, and with digits far past any float's
// precision. Independent of the C library, unlike the comparison with fscanf().

#include "evaluation/number_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "tests/support/text_stream.h"
#include "tests/test_files.h"

namespace ambersel {
namespace {

using testing::bitsOf;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kLargest = std::numeric_limits<float>::max();
constexpr float kSmallest = std::numeric_limits<float>::denorm_min();
// 1 + 2^-24, exactly halfway between 1 and the next float.
const std::string kHalfwayAboveOne = "1.000000059604644775390625";
// Exactly halfway between the largest float and 2^128.
const std::string kHalfwayAboveLargest = "340282356779733661637539395458142568448";
// 2^-150, exactly halfway between zero and the smallest float.
const std::string kHalfwayAboveZero =
    "7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319"
    "094181060791015625e-46";

TEST(NumberScanner, TakesAndRoundsAsStrtofWould) {
    struct Row {
        const char* name;
        std::string text;
        std::optional<float> value;  // nothing: no number
        std::string left;            // the text after the bytes taken; only checked for a number
    };
    const Row rows[] = {
        {"negative_zero_keeps_its_sign", "-0\n", -0.0F, "\n"},
        {"second_point_is_left", "1.2.3", 1.2F, ".3"},
        {"exponent_mark_and_sign_without_digits_are_taken", "1e+x", 1, "x"},
        {"point_alone_is_no_number", ".e5", std::nullopt, ""},
        {"hexadecimal_with_binary_exponent", "0x1.8p3,", 12, ","},
        {"hexadecimal_point_alone_is_zero_and_leaves_its_exponent", "-0x.p1", -0.0F, "p1"},
        {"infinity_in_full", "-INFINITY!", -kInf, "!"},
        {"infinity_begun_must_be_finished", "infin", std::nullopt, ""},
        {"not_a_number_keeps_its_sign", "-nan", -std::numeric_limits<float>::quiet_NaN(), ""},
        {"halfway_rounds_to_even", kHalfwayAboveOne, 1.0F, ""},
        {"anything_past_halfway_rounds_up", kHalfwayAboveOne + std::string(300, '0') + "1",
         std::nextafter(1.0F, 2.0F), ""},
        {"leading_zeros_carry_no_precision", "0." + std::string(300, '0') + "15e301", 1.5F, ""},
        {"halfway_to_two_to_the_128_overflows", kHalfwayAboveLargest, kInf, ""},
        {"just_below_halfway_to_two_to_the_128_is_the_largest_float",
         "340282356779733661637539395458142568447.999", kLargest, ""},
        {"past_any_exponent_overflows", "-1e999999999999", -kInf, ""},
        {"halfway_to_the_smallest_float_is_zero", kHalfwayAboveZero, 0.0F, ""},
        {"just_past_halfway_to_the_smallest_float_is_that_float", "7.0064923216240854e-46",
         kSmallest, ""},
        {"below_any_exponent_underflows_with_its_sign", "-1e-99999999999", -0.0F, ""},
        {"hexadecimal_halfway_to_two_to_the_128_overflows", "0x1.ffffffp127", kInf, ""},
        {"hexadecimal_digits_past_sixteen_still_round_up",
         "0x1000001" + std::string(40, '0') + "1p-164", 16777218.0F, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            SCOPED_TRACE("buffer of " + std::to_string(bufferSize) + " bytes");
            const support::TextStream stream(row.text);
            ByteStream in(stream.get(), bufferSize);
            float value = 0;
            const bool scanned = scanNumber(in, value);
            EXPECT_EQ(scanned, row.value.has_value());
            if (!scanned || !row.value) {
                continue;
            }
            EXPECT_EQ(bitsOf(value), bitsOf(*row.value)) << std::hexfloat << value;
            std::string left;
            for (int c = in.peek(); c != ByteStream::kEnd; c = in.peek()) {
                left.push_back(static_cast<char>(c));
                in.advance();
            }
            EXPECT_EQ(left, row.left);
        }
    }
}

}  // namespace
}  // namespace ambersel
