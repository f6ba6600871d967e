#pragma once

// A record's picture painted with Qt, onto a PDF page or for a window, drawn as every other
// picture is: through the chart's canvas, from its layout.

#include <QPainter>
#include <QRectF>

#include <functional>

#include "plot/canvas/canvas.h"
#include "report/list_record.h"

namespace ambersel::report {

// Paints `picture` over `target`, scaled to fill it; `painter` is left as it was found.
void paintPicture(QPainter& painter, const RecordPicture& picture, const QRectF& target);

// Paints what `draw` draws on a canvas of `size` over `target`, scaled to fill it; `painter` is
// left as it was found.
void paintDrawing(QPainter& painter, plot::Size size,
                  const std::function<void(plot::Canvas&)>& draw, const QRectF& target);

}  // namespace ambersel::report
