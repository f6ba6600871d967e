// A chart as a window shows it: laid out for the window's picture in pixels, at the window's font,
// and drawn whole, its texts readable and clear of one another, whatever the room and the list.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "evaluation/list_analysis.h"
#include "plot/canvas/font_metrics.h"
#include "plot/drawing/chart_drawing.h"
#include "plot/layout/chart_layout.h"
#include "plot/layout/spectrum_chart.h"

namespace ambersel::testing {
namespace {

using namespace ambersel::plot;

// What a chart drew: the box and font of each text, and how far everything else reaches.
class RecordingCanvas final : public Canvas {
  public:
    struct Text {
        std::string text;
        Font font;
        Rect box;
    };

    void path(std::span<const Point> points, bool /*closed*/, const Style& /*style*/) override {
        for (const Point point : points) {
            reach(point.x, point.y);
        }
    }
    void rectangle(const Rect& rect, double /*cornerRadius*/, const Style& /*style*/) override {
        reach(rect.left, rect.top);
        reach(rect.right(), rect.bottom());
    }
    void marks(std::span<const Point> /*centres*/, MarkShape /*shape*/, double /*radius*/,
               const Style& /*style*/) override {}
    void text(std::string_view utf8, Point anchor, TextAnchor alignment, const Font& font,
              Colour /*colour*/, double degrees) override {
        if (utf8.empty()) {
            return;
        }
        const double width = textExtent(utf8, font).width;
        const LineMetrics line = lineMetrics(font);
        const double start = alignment == TextAnchor::Start    ? 0
                             : alignment == TextAnchor::Middle ? width / 2
                                                               : width;
        // Upright, or turned to read upwards.
        const Rect box = degrees == 0 ? Rect{anchor.x - start, anchor.y - line.ascent, width,
                                             line.ascent + line.descent}
                                      : Rect{anchor.x - line.ascent, anchor.y - width + start,
                                             line.ascent + line.descent, width};
        texts.push_back({std::string(utf8), font, box});
    }
    void clip(std::optional<Rect> /*rect*/) override {}

    std::vector<Text> texts;
    Rect inked{};

  private:
    void reach(double x, double y) {
        if (inked.empty()) {
            inked = {x, y, 1e-9, 1e-9};
        }
        inked = Rect::fromCorners({std::min(inked.left, x), std::min(inked.top, y)},
                                  {std::max(inked.right(), x), std::max(inked.bottom(), y)});
    }
};

// `count` points from `low` to `high` hertz, evenly on a logarithmic axis, with levels that fall
// and one peak.
FrequencyLevelList scan(double low, double high, int count) {
    FrequencyLevelList points;
    for (int i = 0; i < count; ++i) {
        const double at = static_cast<double>(i) / (count - 1);
        points.push_back({static_cast<float>(low * std::pow(high / low, at)),
                          static_cast<float>(i == count / 3 ? 110 : 90 - 40 * at)});
    }
    return points;
}

TEST(WindowChart, FillsThePictureWithTextAsLargeAsTheWindowsAndClearOfEachOther) {
    const FrequencyLevelList emission = scan(150e3, 30e6, 600);
    const FrequencyLevelList wide = scan(150e3, 150e6, 400);  // 2 and 5 times decades labelled
    const FrequencyLevelList decades = scan(9, 9e9, 400);
    const FrequencyLevelList narrow = scan(1e6, 1.9e6, 50);
    const FrequencyLevelList none;
    const Size smallest96 = smallestPictureRoom(11);
    const struct Row {
        const char* name;
        const FrequencyLevelList* points;
        Size room;          // in pixels
        double fontPixels;  // the window font's em
    } rows[] = {
        {"a window at 96 DPI", &emission, {900, 520}, 11},
        {"the same window at 144 DPI", &emission, {1350, 780}, 16},
        {"the smallest picture at 96 DPI", &emission, smallest96, 11},
        {"three decades in the smallest picture", &wide, smallest96, 11},
        {"nine decades in the smallest picture", &decades, smallest96, 11},
        {"less than a decade in the smallest picture", &narrow, smallest96, 11},
        {"a wide, low window", &emission, {1800, 500}, 11},
        {"a tall, narrow window", &wide, {720, 1000}, 11},
        {"a list without points", &none, {900, 520}, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ListAnalysis analysis = analyseList(*row.points, {}, recordScope());
        const Chart chart = spectrumChart({"run.ASC", &analysis});
        const WindowChart fitted = layOutForWindow(chart, row.room, row.fontPixels);
        EXPECT_NEAR(fitted.layout.canvas.width * fitted.scale, row.room.width, 1e-6)
            << "the picture leaves part of its room empty, or reaches beyond it";
        EXPECT_NEAR(fitted.layout.canvas.height * fitted.scale, row.room.height, 1e-6)
            << "the picture leaves part of its room empty, or reaches beyond it";

        RecordingCanvas canvas;
        drawChart(canvas, chart, fitted.layout);
        const Rect picture{0, 0, fitted.layout.canvas.width, fitted.layout.canvas.height};
        EXPECT_TRUE(picture.contains(canvas.inked)) << "lines drawn beyond the picture";
        for (std::size_t i = 0; i < canvas.texts.size(); ++i) {
            const RecordingCanvas::Text& text = canvas.texts[i];
            EXPECT_GE(text.font.pixelSize * fitted.scale, row.fontPixels - 1e-9)
                << "'" << text.text << "' is smaller than the window's font";
            EXPECT_TRUE(picture.contains(text.box)) << "'" << text.text << "' is cut off";
            for (std::size_t j = i + 1; j < canvas.texts.size(); ++j) {
                EXPECT_FALSE(text.box.overlaps(canvas.texts[j].box))
                    << "'" << text.text << "' runs into '" << canvas.texts[j].text << "'";
            }
        }
    }
}

// A room smaller than the smallest picture, on a screen too small for it, gets the whole picture,
// smaller; a font that names no size leaves the units pixels.
TEST(WindowChart, ShrinksIntoARoomTooSmallForIt) {
    const FrequencyLevelList emission = scan(150e3, 30e6, 100);
    const ListAnalysis analysis = analyseList(emission, {}, recordScope());
    const Chart chart = spectrumChart({"run.ASC", &analysis});
    const struct Row {
        const char* name;
        Size room;
        double fontPixels;
        double scale;
    } rows[] = {
        {"too narrow", {kSmallestCanvas.width / 2, 2000}, 12, 0.5},
        {"too low", {2000, kSmallestCanvas.height * 0.75}, 12, 0.75},
        {"a font of no size", {1200, 800}, 0, 1},
        {"no room at all", {0, 0}, 12, 1},
    };
    for (const Row& row : rows) {
        const WindowChart fitted = layOutForWindow(chart, row.room, row.fontPixels);
        EXPECT_DOUBLE_EQ(fitted.scale, row.scale) << row.name;
        EXPECT_GE(fitted.layout.canvas.width, kSmallestCanvas.width) << row.name;
        EXPECT_GE(fitted.layout.canvas.height, kSmallestCanvas.height) << row.name;
    }
}

}  // namespace
}  // namespace ambersel::testing
