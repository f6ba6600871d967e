#pragma once

// How the series of a chart are told apart when several are drawn over one another: a colour from
// a palette that readers with the common colour-vision deficiencies still tell apart, and a mark
// shape once the colours come round again.

#include <QColor>
#include <QPainter>
#include <QPointF>

#include "plot/layout/chart_legend.h"

namespace ambersel::plot {

// The colour of `style`.
QColor seriesColour(const SeriesStyle& style);

// `colour` at `strength` between white (0) and itself (1): the shade of a band box.
QColor towardsWhite(const QColor& colour, double strength);

// Draws a mark of `shape` about `centre`, `radius` out from it, with the painter's pen and brush.
void drawMark(QPainter& painter, MarkShape shape, QPointF centre, double radius);

}  // namespace ambersel::plot
