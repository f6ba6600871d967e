#include "report/picture_painting.h"

#include "plot/drawing/chart_drawing.h"
#include "plot/painting/qt_canvas.h"

namespace ambersel::report {

void paintPicture(QPainter& painter, const RecordPicture& picture, const QRectF& target) {
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / picture.layout.canvas.width,
                  target.height() / picture.layout.canvas.height);
    {
        plot::QtCanvas canvas(painter);
        plot::drawChart(canvas, picture.chart, picture.layout);
    }
    painter.restore();
}

}  // namespace ambersel::report
