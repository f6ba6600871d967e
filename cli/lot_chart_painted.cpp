// The build with Qt: the lot's picture painted as PNG.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "cli/lot_chart.h"
#include "plot/painting/qt_canvas.h"

namespace ambersel::cli {

std::string lotChartPng(const LotSummary& summary, bool byTime) {
    QImage image(static_cast<int>(kLotChartSize.width), static_cast<int>(kLotChartSize.height),
                 QImage::Format_RGB32);
    {
        QPainter painter(&image);
        plot::QtCanvas canvas(painter);
        drawLotChart(canvas, summary, byTime);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return {};
    }
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace ambersel::cli
