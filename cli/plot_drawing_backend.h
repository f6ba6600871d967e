#pragma once

// What draws the files that need a painting backend: PNG pictures and PDF reports. On Linux it is
// a plug-in library, ambersel-painting, loaded only when such a file is asked for, so that every
// other run of ambersel-eval starts without the toolkit that paints. The program and the plug-in
// are built together from one tree and installed together; the entry checks their version.

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "plot/canvas/canvas.h"
#include "plot/layout/chart.h"
#include "report/document.h"
#include "report/list_record.h"

namespace ambersel::cli {

class PaintingBackend {
  public:
    PaintingBackend() = default;
    PaintingBackend(const PaintingBackend&) = delete;
    PaintingBackend& operator=(const PaintingBackend&) = delete;
    virtual ~PaintingBackend() = default;

    // `chart` as a PNG image; empty when it could not be drawn.
    virtual std::string pngPicture(const plot::Chart& chart) const = 0;
    // What `draw` draws on a canvas of `size` as a PNG image; empty when it could not be drawn.
    virtual std::string pngPicture(plot::Size size,
                                   const std::function<void(plot::Canvas&)>& draw) const = 0;

    // `document` as a PDF document; empty when it could not be made.
    virtual std::string pdfReport(const report::Document& document,
                                  const report::ReportHeading& heading) const = 0;
};

// The plug-in's file name, and the one function it exports: given the program's name (which
// prefixes the toolkit's messages on standard error) and version, it starts its graphics session
// and hands over a backend, which the caller deletes before it unloads the plug-in; null when the
// versions differ. One backend at a time.
inline constexpr const char* kPaintingModuleName = "ambersel-painting.so";
inline constexpr const char* kPaintingEntryName = "ambersel_start_painting";
using PaintingEntry = PaintingBackend* (*)(const char* programName, const char* programVersion);

// Starts the backend for a run that asks for PNG pictures or PDF reports (`pdf`: a PDF report is
// among them), or says why this build or installation cannot draw them. The plug-in's graphics
// session sets the C library's locale from the environment, which changes nothing here: the
// reader, the reports and the pictures convert numbers without the C library.
std::variant<std::unique_ptr<PaintingBackend>, std::string> startPaintingBackend(
    const std::string& programName, bool pdf);

}  // namespace ambersel::cli
