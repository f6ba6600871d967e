#include "plot/painting/pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QSvgGenerator>

#include "plot/layout/chart_layout.h"
#include "plot/painting/chart_painter.h"

namespace ambersel::plot {
namespace {

ChartLayout layOut(const Chart& chart) {
    return layOutChart(chart, [](std::string_view text, TextRole role) {
        const QFontMetricsF metrics(fontFor(role));
        return TextExtent{metrics.horizontalAdvance(
                              QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
                          metrics.height()};
    });
}

// "FAIL : F = 1.1201  margin -0.99 dB — run.ASC": what the heading says, on one line.
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

std::string bytesOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::string svgPicture(const Chart& chart) {
    const ChartLayout layout = layOut(chart);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    const QSize size(static_cast<int>(layout.canvas.width), static_cast<int>(layout.canvas.height));
    generator.setSize(size);
    generator.setViewBox(QRectF(0, 0, size.width(), size.height()));
    // One picture unit is one CSS pixel, so the picture has the same size wherever it is pasted.
    generator.setResolution(96);
    generator.setTitle(QString::fromStdString(headingOf(chart)));
    generator.setDescription(QString::fromStdString(chart.summary));
    QPainter painter(&generator);
    ChartPainter(painter, chart, layout).paint();
    painter.end();
    return bytesOf(bytes);
}

std::string pngPicture(const Chart& chart) {
    const ChartLayout layout = layOut(chart);
    QImage image(static_cast<int>(layout.canvas.width), static_cast<int>(layout.canvas.height),
                 QImage::Format_RGB32);
    QPainter painter(&image);
    ChartPainter(painter, chart, layout).paint();
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytesOf(bytes);
}

}  // namespace ambersel::plot
