#include "plot/painting/pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "plot/drawing/chart_drawing.h"
#include "plot/painting/qt_canvas.h"

namespace ambersel::plot {

std::string pngPicture(Size size, const std::function<void(Canvas&)>& draw) {
    QImage image(static_cast<int>(size.width), static_cast<int>(size.height), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        draw(canvas);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return {};
    }
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

std::string pngPicture(const Chart& chart) {
    const ChartLayout layout = layOutChart(chart);
    return pngPicture(layout.canvas, [&](Canvas& canvas) { drawChart(canvas, chart, layout); });
}

}  // namespace ambersel::plot
