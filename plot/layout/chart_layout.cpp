#include "plot/layout/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "plot/layout/band_strip.h"
#include "plot/layout/label_placer.h"
#include "plot/layout/point_marks.h"
#include "plot/layout/scale.h"
#include "text/value_text.h"

namespace ambersel::plot {
namespace {

// The canvas of picture files and reports, before the band strip adds its height.
constexpr Size kFileCanvas{1200, 700};
// Room above the plot area for the headings, below it (and its band strip) for the axis labels
// and title, left of it for the level labels and title.
constexpr double kAbovePlot = 112;
constexpr double kBelowPlot = 84;
constexpr double kLeftOfPlot = 96;
// Points closer than this many units share a cell and are drawn as one.
constexpr double kCell = 4;
// Room right of the plot area for the colour scale, or for the legend of several series.
constexpr double kColourScaleWidth = 200;
constexpr double kLegendWidth = 260;
constexpr double kLegendGap = 30;
// The band strip: its distance from the plot area, and the height of a row and the gap between
// rows; several series get thinner rows.
constexpr double kStripGap = 8;
constexpr double kBandRow = 24;
constexpr double kBandRowBySeries = 16;
constexpr double kBandRowGap = 4;
// Room left of each row for the sample mark of its series.
constexpr double kRowSampleWidth = 16;
// The least room between two labels of the frequency axis, where the axis is short enough to
// crowd them.
constexpr double kAxisLabelGap = 10;

struct Extent {
    Range frequencies{std::numeric_limits<double>::infinity(),
                      -std::numeric_limits<double>::infinity()};  // log10 of Hz
    Range levels{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    double heaviestWeight = 0;
    bool anyUndefined = false;
    bool anyDrawn = false;
};

Extent extentOf(const Chart& chart) {
    Extent extent;
    for (const Series& series : chart.series) {
        for (const ChartPoint& point : series.points) {
            if (!isDrawable(point)) {
                continue;
            }
            extent.anyDrawn = true;
            const double x = std::log10(point.frequency);
            extent.frequencies = {std::min(extent.frequencies.low, x),
                                  std::max(extent.frequencies.high, x)};
            extent.levels = {std::min(extent.levels.low, point.level),
                             std::max(extent.levels.high, point.level)};
            if (std::isnan(point.weight)) {
                extent.anyUndefined = true;
            } else {
                extent.heaviestWeight = std::max(extent.heaviestWeight, point.weight);
            }
        }
    }
    return extent;
}

Point placeOf(const AreaPoint& point, const ChartLayout& layout) {
    return {layout.frequencies.origin + point.across * layout.frequencies.extent,
            layout.levels.origin + point.up * layout.levels.extent};
}

Mark markOf(const AreaPoint& point, const ChartLayout& layout, double heaviestWeight) {
    Mark mark;
    mark.at = placeOf(point, layout);
    mark.undefined = std::isnan(point.weight);
    mark.shade = heaviestWeight > 0 ? std::max(point.weight, 0.0) / heaviestWeight : 0;
    mark.radius = 2.5 + 5.5 * std::sqrt(mark.shade);
    return mark;
}

// The series' heaviest marks whose weight is a number, heaviest first, with their weights.
std::vector<std::pair<Mark, double>> labelledMarks(const std::vector<AreaPoint>& kept,
                                                   const SeriesLayout& series, std::size_t count) {
    std::vector<std::pair<Mark, double>> labelled;
    for (std::size_t i = kept.size(); i-- > 0 && labelled.size() < count;) {
        if (!series.marks[i].undefined) {
            labelled.emplace_back(series.marks[i], kept[i].weight);
        }
    }
    return labelled;
}

void labelHeaviest(ChartLayout& layout, const std::vector<std::vector<AreaPoint>>& kept,
                   const MeasureText& measure) {
    LabelPlacer placer(layout.plotArea.grown(-4));
    std::vector<std::vector<std::pair<Mark, double>>> labelled;
    const std::size_t count = layout.bySeries ? kLabelledPointsBySeries : kLabelledPoints;
    for (std::size_t s = 0; s < layout.series.size(); ++s) {
        labelled.push_back(labelledMarks(kept[s], layout.series[s], count));
        // No label may hide a labelled point.
        for (const auto& [mark, weight] : labelled.back()) {
            placer.reserve({mark.at.x - mark.radius, mark.at.y - mark.radius, 2 * mark.radius,
                            2 * mark.radius});
        }
    }
    for (std::size_t s = 0; s < layout.series.size(); ++s) {
        int rank = 0;
        for (const auto& [mark, weight] : labelled[s]) {
            PointLabel label;
            label.point = mark.at;
            label.text = "#" + std::to_string(++rank) + "  " + percentText(weight);
            const TextExtent text = measure(label.text, TextRole::PointLabel);
            const Size size{text.width + 12, text.height + 6};
            // Over several series, a label that would cover another says less than it hides.
            const std::optional<Rect> box =
                layout.bySeries ? placer.placeFree(mark.at, size) : placer.place(mark.at, size);
            if (!box) {
                continue;
            }
            label.box = *box;
            label.anchor = {std::clamp(mark.at.x, label.box.left, label.box.right()),
                            std::clamp(mark.at.y, label.box.top, label.box.bottom())};
            layout.series[s].labels.push_back(std::move(label));
        }
    }
}

// The marks and outline of each series; the points kept as marks, for labelling.
std::vector<std::vector<AreaPoint>> placeSeries(ChartLayout& layout, const Chart& chart,
                                                double heaviestWeight) {
    const Rect& area = layout.plotArea;
    const auto cellColumns = static_cast<std::size_t>(area.width / kCell) + 1;
    const auto cellRows = static_cast<std::size_t>(area.height / kCell) + 1;
    const auto pixelColumns = static_cast<std::size_t>(area.width) + 1;
    std::vector<std::vector<AreaPoint>> kept;
    for (const Series& series : chart.series) {
        SeriesThinning thinning(cellColumns, cellRows, pixelColumns);
        for (std::size_t index = 0; index < series.points.size(); ++index) {
            const ChartPoint& point = series.points[index];
            if (isDrawable(point)) {
                thinning.add({layout.frequencies.fraction(std::log10(point.frequency)),
                              layout.levels.fraction(point.level), point.weight, index});
            }
        }
        SeriesLayout& placed = layout.series.emplace_back();
        placed.style = seriesStyle(layout.series.size() - 1);
        kept.push_back(thinning.marks());
        for (const AreaPoint& point : kept.back()) {
            placed.marks.push_back(markOf(point, layout, heaviestWeight));
        }
        for (const AreaPoint& point : thinning.outline()) {
            placed.outline.push_back(placeOf(point, layout));
        }
    }
    return kept;
}

// How much taller the band strip makes the chart: its rows and their gaps, and its distance from
// the plot area.
double bandStripHeight(const Chart& chart) {
    const double rowHeight = chart.series.size() > 1 ? kBandRowBySeries : kBandRow;
    double height = 0;
    for (const Series& series : chart.series) {
        if (!series.bands.empty()) {
            height += (height == 0 ? kStripGap : kBandRowGap) + rowHeight;
        }
    }
    return height;
}

// A row of band boxes for each series that has bands, from `top`. Returns the strip's bottom, or
// `top` when no series has bands.
double placeBandStrip(ChartLayout& layout, const Chart& chart, double top,
                      const MeasureText& measure) {
    const double rowHeight = layout.bySeries ? kBandRowBySeries : kBandRow;
    double bottom = top;
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        if (chart.series[s].bands.empty()) {
            continue;
        }
        const double rowTop = bottom == top ? top : bottom + kBandRowGap;
        const Rect& area = layout.plotArea;
        layout.series[s].bands =
            bandBoxes(chart.series[s].bands, layout.frequencies, rowTop, rowHeight, measure);
        layout.series[s].bandRow = {area.left, rowTop, area.width, rowHeight};
        bottom = rowTop + rowHeight;
    }
    if (bottom > top) {
        const Rect& area = layout.plotArea;
        layout.bandStrip = Rect::fromCorners({area.left, top}, {area.right(), bottom});
        const TextExtent caption = measure(chart.bandsName, TextRole::AxisLabel);
        const double end = area.left - (layout.bySeries ? kRowSampleWidth : 0) - 10;
        layout.bandsCaption = {{end - caption.width, (top + bottom) / 2 + 5}, chart.bandsName};
    }
    return bottom;
}

// `chart` laid out on `canvas`, its frequency labels thinned out to keep `axisLabelGap` apart
// where one is given.
ChartLayout layOutOn(const Chart& chart, const MeasureText& measure, Size canvas,
                     std::optional<double> axisLabelGap);

}  // namespace

bool isDrawable(const ChartPoint& point) {
    return point.frequency > 0 && std::isfinite(point.frequency) && std::isfinite(point.level);
}

bool ChartLayout::hasMarks() const {
    return std::any_of(series.begin(), series.end(),
                       [](const SeriesLayout& s) { return !s.marks.empty(); });
}

ChartLayout layOutChart(const Chart& chart, const MeasureText& measure) {
    // Picture files keep every axis label they have always had, so that their bytes stay the
    // same from version to version.
    return layOutOn(chart, measure,
                    {kFileCanvas.width, kFileCanvas.height + bandStripHeight(chart)}, std::nullopt);
}

ChartLayout layOutChart(const Chart& chart, const MeasureText& measure, Size canvas) {
    return layOutOn(chart, measure, canvas, kAxisLabelGap);
}

namespace {

ChartLayout layOutOn(const Chart& chart, const MeasureText& measure, Size canvas,
                     std::optional<double> axisLabelGap) {
    canvas = {std::max(canvas.width, kSmallestCanvas.width),
              std::max(canvas.height, kSmallestCanvas.height)};
    ChartLayout layout;
    layout.bySeries = chart.series.size() > 1;
    layout.canvas = canvas;
    const double right = canvas.width - (layout.bySeries ? kLegendWidth : kColourScaleWidth);
    layout.plotArea = Rect::fromCorners(
        {kLeftOfPlot, kAbovePlot}, {right, canvas.height - kBelowPlot - bandStripHeight(chart)});
    layout.legendLeft = right + kLegendGap;
    const Rect& area = layout.plotArea;
    const Extent extent = extentOf(chart);
    layout.frequencies = {
        extent.anyDrawn ? paddedRange(extent.frequencies.low, extent.frequencies.high, 0.5, 0.03)
                        : Range{std::log10(150e3), std::log10(30e6)},
        area.left, area.width};
    layout.levels = {extent.anyDrawn ? paddedRange(extent.levels.low, extent.levels.high, 5, 0.08)
                                     : Range{0, 100},
                     area.bottom(), -area.height};
    layout.anyUndefined = extent.anyUndefined;
    for (const double at : {0.0, 0.5, 1.0}) {
        layout.colourScale.push_back({at, percentText(at * extent.heaviestWeight)});
    }
    const std::vector<std::vector<AreaPoint>> kept =
        placeSeries(layout, chart, extent.heaviestWeight);
    labelHeaviest(layout, kept, measure);

    const double stripTop = area.bottom() + kStripGap;
    const double stripBottom = placeBandStrip(layout, chart, stripTop, measure);
    const double axisBottom = stripBottom > stripTop ? stripBottom : area.bottom();
    layout.frequencyLines =
        frequencyLines(layout.frequencies, axisBottom + 22, measure, axisLabelGap);
    layout.levelLines = levelLines(layout.levels, area.left - 10, measure);
    layout.frequencyTitleBaseline = axisBottom + 54;
    if (layout.bySeries) {
        const Rect column = Rect::fromCorners({layout.legendLeft, area.top - 8},
                                              {canvas.width - 10, area.bottom()});
        layout.legend = layOutLegend(chart, column, measure);
    }
    return layout;
}

}  // namespace

}  // namespace ambersel::plot
