#pragma once

// Spectrum charts drawn as PNG pictures with Qt, offscreen: no display is needed or used.

#include <functional>
#include <memory>
#include <string>

#include "plot/canvas/canvas.h"
#include "plot/layout/chart.h"

namespace ambersel::plot {

// The process's one graphics session, which drawing needs. Starting it sets the C library's locale
// from the environment, as Qt's application object always does.
class GraphicsSession {
  public:
    // `programName` prefixes the toolkit's messages on standard error.
    explicit GraphicsSession(const std::string& programName);
    GraphicsSession(const GraphicsSession&) = delete;
    GraphicsSession& operator=(const GraphicsSession&) = delete;
    ~GraphicsSession();

  private:
    struct Toolkit;
    std::unique_ptr<Toolkit> m_toolkit;
};

// The bytes of `chart` drawn as a PNG image, 1200 pixels wide and 700 high, more with a band
// strip, laid out as its SVG document (plot/drawing/svg_picture.h); empty when it could not be
// drawn. A GraphicsSession must be running.
std::string pngPicture(const Chart& chart);

// What `draw` draws on a canvas of `size` as a PNG image, on white; empty when it could not be
// drawn. A GraphicsSession must be running.
std::string pngPicture(Size size, const std::function<void(Canvas&)>& draw);

}  // namespace ambersel::plot
