#include "plot/gdiplus/gdiplus_pictures.h"

#include <memory>

#include "plot/drawing/chart_drawing.h"
#include "plot/gdiplus/gdiplus_canvas.h"

namespace ambersel::plot {

std::string pngPicture(const Chart& chart) {
    const GdiplusSession session;
    const ChartLayout layout = layOutChart(chart);
    const std::unique_ptr<Gdiplus::Bitmap> picture =
        whiteBitmap(static_cast<int>(layout.canvas.width), static_cast<int>(layout.canvas.height));
    if (picture->GetLastStatus() != Gdiplus::Ok) {
        return {};
    }
    {
        Gdiplus::Graphics graphics(picture.get());
        GdiplusCanvas canvas(graphics, session);
        drawChart(canvas, chart, layout);
    }
    return pngBytes(*picture);
}

}  // namespace ambersel::plot
