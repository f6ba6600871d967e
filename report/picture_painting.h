#pragma once

// A record's picture painted with Qt, onto a PDF page or for a window, drawn as every other
// picture is: through the chart's canvas, from its layout.

#include <QPainter>
#include <QRectF>

#include "report/list_record.h"

namespace ambersel::report {

// Paints `picture` over `target`, scaled to fill it; `painter` is left as it was found.
void paintPicture(QPainter& painter, const RecordPicture& picture, const QRectF& target);

}  // namespace ambersel::report
