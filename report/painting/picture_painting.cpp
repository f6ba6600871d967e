#include "report/painting/picture_painting.h"

#include "plot/drawing/chart_drawing.h"
#include "plot/painting/qt_canvas.h"

namespace ambersel::report {

void paintPicture(QPainter& painter, const RecordPicture& picture, const QRectF& target) {
    paintDrawing(
        painter, picture.layout.canvas,
        [&](plot::Canvas& canvas) { plot::drawChart(canvas, picture.chart, picture.layout); },
        target);
}

void paintDrawing(QPainter& painter, plot::Size size,
                  const std::function<void(plot::Canvas&)>& draw, const QRectF& target) {
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width, target.height() / size.height);
    {
        plot::QtCanvas canvas(painter);
        draw(canvas);
    }
    painter.restore();
}

}  // namespace ambersel::report
