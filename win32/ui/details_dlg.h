#pragma once

// The details of the list behind the main dialog's result line, for the engineer who must make a
// device pass: its picture, its margin in dB, where in the spectrum F comes from, its ten largest
// contributors, and "Save report…", which writes the report for the record as HTML.
//
// A modal window over the main dialog, from the template IDD_DETAILS; Esc and Close close it. It
// holds the record it shows, taken from the Calculate that gave the line. It can be resized, and
// it follows its monitor's DPI: the picture takes the room the tables and buttons leave, laid out
// and drawn at its size in pixels; the tables show every row and column whole.

#include <windows.h>

#include <memory>
#include <string>
#include <variant>

#include "plot/gdiplus/gdiplus_canvas.h"
#include "plot/layout/chart.h"
#include "report/list_record.h"
#include "win32/framework/window.h"
#include "win32/framework/window_dpi.h"
#include "win32/ui/details_layout.h"
#include "win32/ui/resource.h"

class CDetailsDlg : public ambersel::win32::CDialog {
  public:
    // `chart` is the record's chart with its points, which the picture lays out at its size.
    // `heading` is the report's heading, or why there can be no report (a SOURCE_DATE_EPOCH that
    // names no time), which Save report then says. Throws std::runtime_error when GDI+, which
    // draws the picture, cannot start.
    CDetailsDlg(ambersel::report::ListRecord record, ambersel::plot::Chart chart,
                std::variant<ambersel::report::ReportHeading, std::string> heading,
                ambersel::win32::CWnd* parent);

  protected:
    const ambersel::win32::MessageMap* GetMessageMap() const override;
    // Shows the line, the margin and both tables, sizes the window to them within its monitor;
    // the focus goes to Save report.
    BOOL OnInitDialog() override;

  private:
    // Draws the picture, laid out for its control's size, through the GDI+ canvas.
    BOOL OnDrawItem(WPARAM id, LPARAM item);
    BOOL OnSize(WPARAM kind, LPARAM size);
    // The smallest size that shows every control whole, within the monitor's work area.
    BOOL OnGetMinMaxInfo(WPARAM unused, LPARAM limits);
    // The monitor's DPI changed (the window moved to another monitor, or the user changed the
    // scale): the font made again for it, the columns fitted, the window at the size the system
    // proposes.
    BOOL OnDpiChanged(WPARAM dpi, LPARAM proposed);
    // Asks for the report's file in the Save dialog, proposing the user's Documents folder, and
    // writes it; a failure is shown in a message box and leaves no file behind.
    void OnSaveReport();

    HFONT font() const;
    // The font's measures and what the tables need, for the layout.
    DetailsMeasures measures() const;
    void placeControls();
    // The picture laid out and drawn at `width` by `height` pixels, unless it is already.
    void drawPicture(int width, int height);

    static const ambersel::win32::MessageMapEntry messageEntries[];
    static const ambersel::win32::MessageMap messageMap;

    ambersel::report::ListRecord m_record;
    ambersel::plot::Chart m_chart;
    std::variant<ambersel::report::ReportHeading, std::string> m_heading;
    ambersel::plot::GdiplusSession m_gdiplus;
    // The DPI the template's font was made for, and the DPI the window is shown at.
    UINT m_templateDpi = USER_DEFAULT_SCREEN_DPI;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    // The font made for a DPI the window moved to; none while the template's serves.
    ambersel::win32::OwnedFont m_font;
    std::unique_ptr<Gdiplus::Bitmap> m_picture;
    int m_pictureFontPixels = 0;
    bool m_placed = false;  // the controls are filled and may be placed
};
