#pragma once

// A spectrum chart in a window: laid out afresh for the room the widget has and drawn at its size
// in device pixels, its smallest text as large as the widget's font, so that it stays sharp and
// readable on a screen of any resolution and grows with the window.

#include <QPixmap>
#include <QWidget>

#include "plot/drawing/chart_drawing.h"
#include "plot/layout/chart.h"

namespace ambersel::ui {

class ChartView : public QWidget {
  public:
    // `chart` with its points, which every new layout places again.
    ChartView(plot::Chart chart, QWidget* parent);

    // The room the chart needs to keep its texts clear of one another at the widget's font.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // The layout last drawn, and its scale from picture units to the widget's pixels.
    const plot::WindowChart& drawn() const { return m_drawn; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    double fontPixels() const;
    // Lays the chart out and draws it for the widget's present size, font and pixel ratio.
    void redraw();

    plot::Chart m_chart;
    plot::WindowChart m_drawn;
    QPixmap m_picture;
    double m_pictureFontPixels = 0;
};

}  // namespace ambersel::ui
