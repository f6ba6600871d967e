#include "ui/chart_view.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>

#include <cmath>
#include <utility>

#include "plot/painting/qt_canvas.h"

namespace ambersel::ui {
namespace {

QSize wholePixels(plot::Size size) {
    return {static_cast<int>(std::ceil(size.width)), static_cast<int>(std::ceil(size.height))};
}

}  // namespace

ChartView::ChartView(plot::Chart chart, QWidget* parent)
    : QWidget(parent), m_chart(std::move(chart)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ChartView::minimumSizeHint() const {
    return wholePixels(plot::smallestPictureRoom(fontPixels()));
}

QSize ChartView::sizeHint() const {
    // About the proportions of a picture file, a little larger than the smallest.
    const plot::Size smallest = plot::smallestPictureRoom(fontPixels());
    return wholePixels({smallest.width * 1.25, smallest.height * 1.25});
}

void ChartView::paintEvent(QPaintEvent* /*event*/) {
    const QSize devicePixels = size() * devicePixelRatioF();
    if (m_picture.size() != devicePixels || m_pictureFontPixels != fontPixels()) {
        redraw();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

void ChartView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        // Redrawn at the next paint, which the new size hints bring about.
        m_pictureFontPixels = 0;
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

double ChartView::fontPixels() const {
    return QFontInfo(font()).pixelSize();
}

void ChartView::redraw() {
    m_pictureFontPixels = fontPixels();
    m_drawn = plot::layOutForWindow(m_chart,
                                    {static_cast<double>(width()), static_cast<double>(height())},
                                    m_pictureFontPixels);
    const qreal ratio = devicePixelRatioF();
    m_picture = QPixmap(size() * ratio);
    m_picture.setDevicePixelRatio(ratio);
    m_picture.fill(Qt::white);
    QPainter painter(&m_picture);
    painter.scale(m_drawn.scale, m_drawn.scale);
    plot::QtCanvas canvas(painter);
    plot::drawChart(canvas, m_chart, m_drawn.layout);
}

}  // namespace ambersel::ui
