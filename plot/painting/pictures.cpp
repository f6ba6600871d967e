#include "plot/painting/pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "plot/drawing/chart_drawing.h"
#include "plot/painting/qt_canvas.h"

namespace ambersel::plot {

std::string pngPicture(const Chart& chart) {
    const ChartLayout layout = layOutChart(chart);
    QImage image(static_cast<int>(layout.canvas.width), static_cast<int>(layout.canvas.height),
                 QImage::Format_RGB32);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        drawChart(canvas, chart, layout);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return {};
    }
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace ambersel::plot
