#pragma once

// The details of the list behind the main dialog's result line, for the engineer who must make a
// device pass: its picture, its margin in dB, where in the spectrum F comes from, its ten largest
// contributors, and "Save report…", which writes the report for the record as HTML.
//
// A modal window over the main dialog, from the template IDD_DETAILS; Esc and Close close it. It
// holds the record it shows, taken from the Calculate that gave the line.

#include <windows.h>

#include <memory>

#include "plot/gdiplus/gdiplus_canvas.h"
#include "report/list_record.h"
#include "win32/framework/window.h"
#include "win32/ui/resource.h"

class CDetailsDlg : public ambersel::win32::CDialog {
  public:
    // Throws std::runtime_error when GDI+, which draws the picture, cannot start.
    CDetailsDlg(ambersel::report::ListRecord record, ambersel::report::ReportHeading heading,
                ambersel::win32::CWnd* parent);

  protected:
    const ambersel::win32::MessageMap* GetMessageMap() const override;
    // Shows the line, the margin and both tables; the focus goes to Save report.
    BOOL OnInitDialog() override;

  private:
    // Draws the picture, scaled to fit its control, on white.
    BOOL OnDrawItem(WPARAM id, LPARAM item);
    // Asks for the report's file in the Save dialog and writes it; a failure is shown in a
    // message box and leaves no file behind.
    void OnSaveReport();

    static const ambersel::win32::MessageMapEntry messageEntries[];
    static const ambersel::win32::MessageMap messageMap;

    ambersel::report::ListRecord m_record;
    ambersel::report::ReportHeading m_heading;
    // Declared before the picture, which must go first.
    ambersel::plot::GdiplusSession m_gdiplus;
    std::unique_ptr<Gdiplus::Bitmap> m_picture;  // nothing when the record has no picture
};
