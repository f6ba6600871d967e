#include "plot/drawing/chart_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "plot/canvas/font_metrics.h"
#include "plot/drawing/chart_colours.h"

namespace ambersel::plot {
namespace {

constexpr Colour kLabelFrameColour{0xa5, 0x0f, 0x15};
constexpr Colour kLabelBackground{255, 255, 255, 235};
constexpr Colour kBandEdgeColour{0xbd, 0xbd, 0xbd};
constexpr Colour kMajorLineColour{0xbd, 0xbd, 0xbd};
constexpr Colour kMinorLineColour{0xe6, 0xe6, 0xe6};
constexpr Colour kLevelLineColour{0xe0, 0xe0, 0xe0};
// Marks of several series let those of another show through.
constexpr std::uint8_t kOverlayMarkAlpha = 190;

Style stroked(Colour colour, double width) {
    return {std::nullopt, Stroke{colour, width}};
}

// A mark of `colour`, rimmed a shade darker.
Style markStyle(Colour colour) {
    return {colour, Stroke{darker(Colour{colour.red, colour.green, colour.blue}, 1.35), 0.8}};
}

class ChartDrawing {
  public:
    ChartDrawing(Canvas& canvas, const Chart& chart, const ChartLayout& layout)
        : m_canvas(canvas), m_chart(chart), m_layout(layout) {}

    void draw();

  private:
    void line(Point from, Point to, const Style& style) {
        const std::array<Point, 2> points{from, to};
        m_canvas.path(points, false, style);
    }
    void mark(Point centre, MarkShape shape, double radius, const Style& style) {
        m_canvas.marks(std::span<const Point>(&centre, 1), shape, radius, style);
    }
    // A cross of the undefined colour, `half` across each way from `centre`.
    void cross(Point centre, double half) {
        const Style style = stroked(kUndefinedColour, 2.2);
        line({centre.x - half, centre.y - half}, {centre.x + half, centre.y + half}, style);
        line({centre.x - half, centre.y + half}, {centre.x + half, centre.y - half}, style);
    }
    void textAt(const std::string& text, Point at, const Font& font, Colour colour) {
        m_canvas.text(text, at, TextAnchor::Start, font, colour);
    }
    void textCentredIn(const std::string& text, const Rect& box, const Font& font, Colour colour) {
        m_canvas.text(text, {box.centre().x, box.centre().y + baselineBelowMiddle(font)},
                      TextAnchor::Middle, font, colour);
    }

    void drawHeading();
    void drawGrid();
    void drawAxisTitles();
    void drawSeries(const SeriesLayout& series);
    void drawLabels(const SeriesLayout& series);
    void drawBandStrip();
    void drawColourScale();
    void drawColourScaleSamples(double left, double top);
    void drawSeriesLegend();

    Canvas& m_canvas;
    const Chart& m_chart;
    const ChartLayout& m_layout;
};

void ChartDrawing::draw() {
    m_canvas.rectangle({0, 0, m_layout.canvas.width, m_layout.canvas.height}, 0, {kWhite, {}});
    drawHeading();
    drawGrid();
    drawAxisTitles();
    m_canvas.clip(m_layout.plotArea.grown(-1));
    if (!m_layout.hasMarks()) {
        textCentredIn("No points to draw", m_layout.plotArea, Font{18}, kMutedInk);
    }
    for (const SeriesLayout& series : m_layout.series) {
        drawSeries(series);
    }
    // Over every series' marks, so that no series hides the labels of another.
    for (const SeriesLayout& series : m_layout.series) {
        drawLabels(series);
    }
    m_canvas.clip(std::nullopt);
    drawBandStrip();
    if (m_layout.bySeries) {
        drawSeriesLegend();
    } else if (m_layout.hasMarks()) {
        drawColourScale();
    }
}

void ChartDrawing::drawHeading() {
    double left = m_layout.plotArea.left;
    const Colour verdictColour = m_chart.failed ? kFailColour : kPassColour;
    auto write = [&](const std::string& text, const Font& font, Colour colour) {
        if (text.empty()) {
            return;
        }
        textAt(text, {left, 42}, font, colour);
        left += textExtent(text, font).width + 18;
    };
    write(m_chart.title, Font{24, true}, verdictColour);
    write(m_chart.titleNote, Font{20}, verdictColour);
    write(m_chart.subject, Font{18}, kInk);
    left = m_layout.plotArea.left;
    textAt(m_chart.summary, {left, 70}, Font{14}, kMutedInk);
    textAt(m_chart.warning, {left, 94}, Font{14, true}, kWarningColour);
}

void ChartDrawing::drawGrid() {
    const Rect& area = m_layout.plotArea;
    const Font font = fontFor(TextRole::AxisLabel);
    for (const AxisLine& axisLine : m_layout.frequencyLines) {
        line({axisLine.at, area.top}, {axisLine.at, area.bottom()},
             stroked(axisLine.major ? kMajorLineColour : kMinorLineColour, 1));
        textAt(axisLine.label, axisLine.labelAt, font, axisLine.major ? kInk : kMutedInk);
    }
    for (const AxisLine& axisLine : m_layout.levelLines) {
        line({area.left, axisLine.at}, {area.right(), axisLine.at}, stroked(kLevelLineColour, 1));
        textAt(axisLine.label, axisLine.labelAt, font, kInk);
    }
    m_canvas.rectangle(area, 0, stroked(kFrameColour, 1.2));
}

void ChartDrawing::drawAxisTitles() {
    const Rect& area = m_layout.plotArea;
    const Font font{15};
    m_canvas.text("Frequency", {area.centre().x, m_layout.frequencyTitleBaseline},
                  TextAnchor::Middle, font, kInk);
    m_canvas.text("Level (dBµV)", {area.left - 62, area.centre().y}, TextAnchor::Middle, font, kInk,
                  -90);
}

void ChartDrawing::drawSeries(const SeriesLayout& series) {
    if (series.marks.empty()) {
        return;
    }
    const Colour colour = seriesColour(series.style);
    m_canvas.path(series.outline, false,
                  stroked(m_layout.bySeries ? towardsWhite(colour, 0.6) : kOutlineColour, 1));
    for (const Mark& each : series.marks) {
        if (each.undefined) {
            cross(each.at, 6);
            continue;
        }
        Style style = markStyle(m_layout.bySeries ? colour : shadeColour(each.shade));
        if (m_layout.bySeries) {
            style.fill->alpha = kOverlayMarkAlpha;
        }
        mark(each.at, series.style.shape, each.radius, style);
    }
}

void ChartDrawing::drawLabels(const SeriesLayout& series) {
    const Font font = fontFor(TextRole::PointLabel);
    const Colour frame = m_layout.bySeries ? seriesColour(series.style) : kLabelFrameColour;
    for (const PointLabel& label : series.labels) {
        line(label.point, label.anchor, stroked(kMutedInk, 1));
        m_canvas.rectangle(label.box, 3,
                           {kLabelBackground, Stroke{frame, m_layout.bySeries ? 1.6 : 1}});
        textCentredIn(label.text, label.box, font, kInk);
    }
}

void ChartDrawing::drawBandStrip() {
    if (m_layout.bandStrip.empty()) {
        return;
    }
    textAt(m_layout.bandsCaption.text, m_layout.bandsCaption.at, fontFor(TextRole::AxisLabel),
           kInk);
    const Font font = fontFor(TextRole::BandLabel);
    for (const SeriesLayout& series : m_layout.series) {
        const Colour colour = seriesColour(series.style);
        if (m_layout.bySeries && !series.bandRow.empty()) {
            mark({series.bandRow.left - 9, series.bandRow.centre().y}, series.style.shape, 4.5,
                 markStyle(colour));
        }
        for (const BandBox& band : series.bands) {
            const Colour fill = std::isnan(band.share) ? kWhite : towardsWhite(colour, band.share);
            m_canvas.rectangle(band.box, 0, {fill, Stroke{kBandEdgeColour, 1}});
            // Dark text on a light box, light text on a dark one.
            textCentredIn(band.label, band.box, font, lightness(fill) > 0.6 ? kInk : kWhite);
        }
    }
}

void ChartDrawing::drawColourScale() {
    const double left = m_layout.legendLeft;
    const double top = m_layout.plotArea.top;
    textAt("Point colour", {left, top + 4}, Font{14, true}, kInk);
    textAt(m_chart.weightName, {left, top + 22}, Font{13}, kMutedInk);

    const Rect bar{left, top + 36, 18, 200};
    // The bar shades from the bottom up, in strips that each reach to its bottom, so that no
    // seam shows between them.
    constexpr int kStrips = 100;
    for (int strip = 0; strip < kStrips; ++strip) {
        const double stripTop = bar.top + bar.height * strip / kStrips;
        const double fraction = 1 - (strip + 0.5) / kStrips;
        m_canvas.rectangle({bar.left, stripTop, bar.width, bar.bottom() - stripTop}, 0,
                           {shadeColour(fraction), {}});
    }
    m_canvas.rectangle(bar, 0, stroked(kFrameColour, 0.8));
    for (const ScaleTick& tick : m_layout.colourScale) {
        const double y = bar.bottom() - tick.fraction * bar.height;
        line({bar.right(), y}, {bar.right() + 5, y}, stroked(kInk, 1));
        textAt(tick.label, {bar.right() + 9, y + 5}, Font{13}, kInk);
    }
    drawColourScaleSamples(left, bar.bottom() + 30);
}

void ChartDrawing::drawColourScaleSamples(double left, double top) {
    const Font font{13};
    textAt("size grows with it", {left, top}, font, kMutedInk);
    top += 28;
    line({left, top - 5}, {left + 22, top - 5}, stroked(kOutlineColour, 1));
    textAt("trace", {left + 30, top}, font, kMutedInk);
    if (m_layout.anyUndefined) {
        top += 28;
        cross({left + 11, top - 5}, 6);
        textAt("term not finite", {left + 30, top}, font, kMutedInk);
    }
}

void ChartDrawing::drawSeriesLegend() {
    const Legend& legend = m_layout.legend;
    textAt(legend.heading.text, legend.heading.at, Font{14, true}, kInk);
    const Font textFont = fontFor(TextRole::LegendText);
    for (const LegendEntry& entry : legend.entries) {
        const Series& series = m_chart.series[entry.series];
        const SeriesStyle& style = m_layout.series[entry.series].style;
        const Colour colour = seriesColour(style);
        line({entry.sample.x - 10, entry.sample.y}, {entry.sample.x + 10, entry.sample.y},
             stroked(towardsWhite(colour, 0.6), 1));
        mark(entry.sample, style.shape, 5, markStyle(colour));
        textAt(entry.name.text, entry.name.at, fontFor(TextRole::LegendHeading), kInk);
        textAt(entry.verdict.text, entry.verdict.at, textFont,
               series.failed ? kFailColour : kPassColour);
        textAt(entry.margin.text, entry.margin.at, textFont, kMutedInk);
    }
    for (const PlacedText& note : legend.notes) {
        textAt(note.text, note.at, textFont, kMutedInk);
    }
}

// Pixels per picture unit in a window whose font's em is `fontPixels` high; a font that names no
// size leaves the units pixels.
double windowScale(double fontPixels) {
    return fontPixels > 0 ? fontPixels / kSmallestChartText : 1;
}

}  // namespace

Font fontFor(TextRole role) {
    switch (role) {
        case TextRole::PointLabel:
        case TextRole::LegendHeading:
            return Font{13, true};
        case TextRole::BandLabel:
            return Font{kSmallestChartText};
        case TextRole::AxisLabel:
        case TextRole::LegendText:
            break;
    }
    return Font{13};
}

TextExtent measureChartText(std::string_view text, TextRole role) {
    return textExtent(text, fontFor(role));
}

ChartLayout layOutChart(const Chart& chart) {
    return layOutChart(chart, measureChartText);
}

WindowChart layOutForWindow(const Chart& chart, Size room, double fontPixels) {
    const double scale = std::min({windowScale(fontPixels), room.width / kSmallestCanvas.width,
                                   room.height / kSmallestCanvas.height});
    if (!(scale > 0)) {
        return {1, layOutChart(chart, measureChartText, kSmallestCanvas)};
    }
    return {scale, layOutChart(chart, measureChartText, {room.width / scale, room.height / scale})};
}

Size smallestPictureRoom(double fontPixels) {
    const double scale = windowScale(fontPixels);
    return {kSmallestCanvas.width * scale, kSmallestCanvas.height * scale};
}

void drawChart(Canvas& canvas, const Chart& chart, const ChartLayout& layout) {
    ChartDrawing(canvas, chart, layout).draw();
}

std::string headingOf(const Chart& chart) {
    std::string heading = chart.title;
    if (!chart.titleNote.empty()) {
        heading += "  " + chart.titleNote;
    }
    if (!chart.subject.empty()) {
        heading += " — " + chart.subject;
    }
    return heading;
}

}  // namespace ambersel::plot
