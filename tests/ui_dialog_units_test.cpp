// Dialog units to pixels: the rounding decides where every edge of the dialog lands.

#include <gtest/gtest.h>

#include <climits>

#include "ui/dialog_units.h"

namespace {

using ambersel::ui::baseUnitsFromMetrics;
using ambersel::ui::DialogBaseUnits;
using ambersel::ui::DialogRect;
using ambersel::ui::DialogSize;
using ambersel::ui::mulDiv;
using ambersel::ui::toPixels;

TEST(MulDiv, RoundsToTheNearestPixel) {
    struct Row {
        const char* name;
        int number, numerator, denominator, expected;
    };
    const Row rows[] = {
        {"an exact product is kept", 320, 7, 4, 560},
        {"a quarter is rounded down", 263, 7, 4, 460},
        {"a half is rounded up, not truncated", 50, 7, 4, 88},
        {"three quarters are rounded up, not truncated", 9, 14, 8, 16},
        {"a negative half is rounded away from zero", -50, 7, 4, -88},
        {"a negative denominator turns the sign", 50, 7, -4, -88},
        {"a product beyond int does not overflow", INT_MAX, 3, 4, 1610612735},
        {"zero stays zero", 0, 7, 4, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(mulDiv(row.number, row.numerator, row.denominator), row.expected);
    }
}

TEST(DialogBaseUnits, AverageCharacterWidthIsRoundedNotTruncated) {
    struct Row {
        const char* name;
        int alphabetWidth, height;
        DialogBaseUnits expected;
    };
    const Row rows[] = {
        {"7.40 pixels per letter give 7", 385, 14, {7, 14}},
        {"7.50 pixels per letter give 8", 390, 14, {8, 14}},
        {"7.596 pixels per letter give 8, which truncation would make 7", 395, 14, {8, 14}},
        {"the height is the line height as it is", 312, 13, {6, 13}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(baseUnitsFromMetrics(row.alphabetWidth, row.height), row.expected);
    }
}

TEST(DialogUnits, EachCoordinateIsConvertedOnItsOwn) {
    // Converting the bottom edge and subtracting the top would make the path field 24 pixels high:
    // an extent is converted by itself.
    const DialogBaseUnits units{7, 14};
    struct Row {
        const char* name;
        DialogRect rect;
        QRect expected;
    };
    const Row rows[] = {
        {"Calculate", {263, 48, 50, 16}, {460, 84, 88, 28}},
        {"the result line", {7, 33, 306, 8}, {12, 58, 536, 14}},
        {"the path field", {64, 9, 249, 14}, {112, 16, 436, 25}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toPixels(row.rect, units), row.expected);
    }
    EXPECT_EQ(toPixels(DialogSize{320, 71}, units), QSize(560, 124));
}

}  // namespace
