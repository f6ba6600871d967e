#include "plot/gdiplus/gdiplus_pictures.h"

#include <memory>

#include "plot/drawing/chart_drawing.h"
#include "plot/gdiplus/gdiplus_canvas.h"

namespace ambersel::plot {

std::string pngPicture(Size size, const std::function<void(Canvas&)>& draw) {
    const GdiplusSession session;
    const std::unique_ptr<Gdiplus::Bitmap> picture =
        whiteBitmap(static_cast<int>(size.width), static_cast<int>(size.height));
    if (picture->GetLastStatus() != Gdiplus::Ok) {
        return {};
    }
    {
        Gdiplus::Graphics graphics(picture.get());
        GdiplusCanvas canvas(graphics, session);
        draw(canvas);
    }
    return pngBytes(*picture);
}

std::string pngPicture(const Chart& chart) {
    const ChartLayout layout = layOutChart(chart);
    return pngPicture(layout.canvas, [&](Canvas& canvas) { drawChart(canvas, chart, layout); });
}

}  // namespace ambersel::plot
