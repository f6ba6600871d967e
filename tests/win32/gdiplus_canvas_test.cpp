// Pictures drawn through the GDI+ canvas and written as PNG: each row draws on a white picture,
// encodes it, reads the file back and looks at a few pixels.

#include "plot/gdiplus/gdiplus_canvas.h"
// After gdiplus_canvas.h, whose windows.h it builds on.
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/gdiplus/gdiplus_pictures.h"

namespace ambersel::testing {
namespace {

using plot::Canvas;
using plot::Colour;
using plot::Point;
using plot::Rect;
using plot::Style;

constexpr Colour kRed{200, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr int kWidth = 120;
constexpr int kHeight = 80;

// The picture a PNG file holds; nothing when it is none.
std::unique_ptr<Gdiplus::Bitmap> bitmapOf(std::string_view file) {
    if (file.empty()) {
        return nullptr;
    }
    IStream* opened = SHCreateMemStream(reinterpret_cast<const BYTE*>(file.data()),
                                        static_cast<UINT>(file.size()));
    if (opened == nullptr) {
        return nullptr;
    }
    const std::unique_ptr<IStream, decltype([](IStream* s) { s->Release(); })> stream(opened);
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream.get()));
    // A bitmap keeps reading its stream: a copy of its own outlives the stream.
    if (bitmap == nullptr || bitmap->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return std::unique_ptr<Gdiplus::Bitmap>(
        bitmap->Clone(0, 0, static_cast<INT>(bitmap->GetWidth()),
                      static_cast<INT>(bitmap->GetHeight()), PixelFormat24bppRGB));
}

// A pixel expected at (x, y), each channel within 8 of `colour`.
struct Pixel {
    int x = 0;
    int y = 0;
    Colour colour;
};

// What `draw` leaves on a white picture, as the PNG file gives it back.
std::unique_ptr<Gdiplus::Bitmap> drawnAndRead(const plot::GdiplusSession& session,
                                              const std::function<void(Canvas&)>& draw,
                                              std::string& png) {
    const std::unique_ptr<Gdiplus::Bitmap> picture = plot::whiteBitmap(kWidth, kHeight);
    {
        Gdiplus::Graphics graphics(picture.get());
        plot::GdiplusCanvas canvas(graphics, session);
        draw(canvas);
    }
    png = plot::pngBytes(*picture);
    return bitmapOf(png);
}

// The columns that hold a pixel darker than mid-grey, leftmost and rightmost; -1 for none.
std::pair<int, int> inkColumns(Gdiplus::Bitmap& picture) {
    std::pair<int, int> columns{-1, -1};
    for (int x = 0; x < kWidth; ++x) {
        for (int y = 0; y < kHeight; ++y) {
            Gdiplus::Color colour;
            picture.GetPixel(x, y, &colour);
            if (colour.GetR() < 128) {
                columns = {columns.first < 0 ? x : columns.first, x};
            }
        }
    }
    return columns;
}

TEST(GdiplusCanvas, DrawsWhatTheCallsSay) {
    const Style red{kRed, std::nullopt};
    const std::vector<Point> triangle{{10, 70}, {60, 10}, {110, 70}};
    // What would go wrong; the drawing; pixels that must come out so.
    const std::vector<std::tuple<const char*, std::function<void(Canvas&)>, std::vector<Pixel>>>
        rows{
            {"a fill leaves the rest white",
             [&](Canvas& c) {
                 c.rectangle({20, 20, 40, 20}, 0, red);
             },
             {{40, 30, kRed}, {70, 30, kWhite}, {40, 50, kWhite}}},
            {"a stroke lies along its line, as wide as its width",
             [&](Canvas& c) {
                 const std::vector<Point> line{{0, 40}, {kWidth, 40}};
                 c.path(line, false, {std::nullopt, plot::Stroke{{0, 0, 0}, 3}});
             },
             {{60, 40, {0, 0, 0}}, {60, 36, kWhite}, {60, 44, kWhite}}},
            {"transparency blends with what lies below",
             [&](Canvas& c) {
                 c.rectangle({0, 0, kWidth, kHeight}, 0, {Colour{0, 0, 255, 128}, {}});
             },
             {{60, 40, {127, 127, 255}}}},
            {"rounded corners stay outside the shape",
             [&](Canvas& c) {
                 c.rectangle({10, 10, 100, 60}, 20, red);
             },
             {{12, 12, kWhite}, {107, 67, kWhite}, {30, 12, kRed}, {12, 40, kRed}}},
            {"a closed path is filled, an open one only stroked",
             [&](Canvas& c) {
                 c.path(triangle, true, red);
                 c.path(triangle, false, red);
             },
             {{60, 50, kRed}, {10, 10, kWhite}}},
            {"a clip cuts what follows, and nothing clips after it ends",
             [&](Canvas& c) {
                 c.clip(Rect{0, 0, 60, kHeight});
                 c.rectangle({0, 0, kWidth, 40}, 0, red);
                 c.clip(std::nullopt);
                 c.rectangle({0, 60, kWidth, 20}, 0, red);
             },
             {{30, 20, kRed}, {90, 20, kWhite}, {90, 70, kRed}}},
            {"marks lie about their centres",
             [&](Canvas& c) {
                 const std::vector<Point> centres{{20, 20}, {80, 50}};
                 c.marks(centres, plot::MarkShape::Diamond, 10, red);
             },
             {{20, 20, kRed}, {80, 50, kRed}, {80, 42, kRed}, {73, 43, kWhite}, {50, 35, kWhite}}},
            {"the fill lies under the stroke",
             [&](Canvas& c) {
                 c.rectangle({20, 20, 80, 40}, 0, {kRed, plot::Stroke{{0, 0, 0}, 6}});
             },
             {{20, 40, {0, 0, 0}}, {60, 40, kRed}}},
        };
    const plot::GdiplusSession session;
    for (const auto& [name, draw, pixels] : rows) {
        SCOPED_TRACE(name);
        std::string png;
        const std::unique_ptr<Gdiplus::Bitmap> picture = drawnAndRead(session, draw, png);
        ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
        ASSERT_EQ(picture->GetWidth(), kWidth);
        ASSERT_EQ(picture->GetHeight(), kHeight);
        for (const Pixel& expected : pixels) {
            Gdiplus::Color colour;
            picture->GetPixel(expected.x, expected.y, &colour);
            EXPECT_NEAR(colour.GetR(), expected.colour.red, 8) << expected.x << "," << expected.y;
            EXPECT_NEAR(colour.GetG(), expected.colour.green, 8) << expected.x << "," << expected.y;
            EXPECT_NEAR(colour.GetB(), expected.colour.blue, 8) << expected.x << "," << expected.y;
        }
    }
}

TEST(GdiplusCanvas, WritesTextInTheShippedFaceAboutItsAnchor) {
    // "MM" at 20 pixels in DejaVu Sans advances 34.5 pixels (1767 units of 2048 to each M), its
    // ink 2 pixels inside either end. Wine rounds each letter's advance to whole pixels, so the
    // ink's right end may come up to 2 pixels short.
    const plot::Font font{20, false};
    // What would go wrong; where the anchor lies along the text; the ink's first and last column.
    for (const auto& [name, alignment, first, last] :
         std::initializer_list<std::tuple<const char*, plot::TextAnchor, int, int>>{
             {"start: the text begins at the anchor", plot::TextAnchor::Start, 62, 92},
             {"middle: centred on the anchor", plot::TextAnchor::Middle, 45, 75},
             {"end: the text ends at the anchor", plot::TextAnchor::End, 27, 58}}) {
        SCOPED_TRACE(name);
        const plot::GdiplusSession session;
        wchar_t family[LF_FACESIZE]{};
        session.family().GetFamilyName(family);
        EXPECT_STREQ(family, L"DejaVu Sans");
        std::string png;
        const std::unique_ptr<Gdiplus::Bitmap> picture = drawnAndRead(
            session,
            [&](Canvas& c) {
                c.text("MM", {60, 50}, alignment, font, {});
            },
            png);
        const auto [left, right] = inkColumns(*picture);
        EXPECT_NEAR(left, first, 1);
        EXPECT_GE(right, last - 2);
        EXPECT_LE(right, last + 1);
    }
}

TEST(GdiplusPictures, ChartIsAPngOfTheLaidOutSize) {
    const plot::Chart chart{"FAIL : F = 1.2104",
                            "margin -0.83 dB",
                            true,
                            "run.ASC",
                            "",
                            "",
                            "",
                            "",
                            {{"run.ASC", {{1e5, 40, 0.2}, {1e6, 60, 0.8}}}}};
    const std::string png = plot::pngPicture(chart);
    ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const plot::GdiplusSession session;
    const std::unique_ptr<Gdiplus::Bitmap> picture = bitmapOf(png);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 1200U);
    EXPECT_EQ(picture->GetHeight(), 700U);
    // The background is white, and the title in the colour of a fail somewhere along the top.
    Gdiplus::Color corner;
    picture->GetPixel(1, 1, &corner);
    EXPECT_EQ(corner.GetValue() & 0xFFFFFF, 0xFFFFFFU);
    bool failColour = false;
    for (int x = 0; x < 1200 && !failColour; ++x) {
        for (int y = 0; y < 80 && !failColour; ++y) {
            Gdiplus::Color colour;
            picture->GetPixel(x, y, &colour);
            failColour = (colour.GetValue() & 0xFFFFFF) == 0xC62828;
        }
    }
    EXPECT_TRUE(failColour);
}

}  // namespace
}  // namespace ambersel::testing
