#pragma once

// The details of the list behind the main dialog's result line, for the engineer who must make a
// device pass: its picture, its margin in dB, where in the spectrum F comes from, its ten largest
// contributors, and "Save report…", which writes the report for the record as HTML.
//
// A modal window over the main dialog, from the template IDD_DETAILS; Esc and Close close it. It
// holds the record it shows, taken from the Calculate that gave the line.

#include <windows.h>

#include <string>
#include <variant>

#include "plot/gdiplus/gdiplus_canvas.h"
#include "report/list_record.h"
#include "win32/framework/window.h"
#include "win32/ui/resource.h"

class CDetailsDlg : public ambersel::win32::CDialog {
  public:
    // `heading` is the report's heading, or why there can be no report (a SOURCE_DATE_EPOCH that
    // names no time), which Save report then says. Throws std::runtime_error when GDI+, which
    // draws the picture, cannot start.
    CDetailsDlg(ambersel::report::ListRecord record,
                std::variant<ambersel::report::ReportHeading, std::string> heading,
                ambersel::win32::CWnd* parent);

  protected:
    const ambersel::win32::MessageMap* GetMessageMap() const override;
    // Shows the line, the margin and both tables; the focus goes to Save report.
    BOOL OnInitDialog() override;

  private:
    // Draws the picture, scaled to fit its control, on white, through the GDI+ canvas.
    BOOL OnDrawItem(WPARAM id, LPARAM item);
    // Asks for the report's file in the Save dialog and writes it; a failure is shown in a
    // message box and leaves no file behind.
    void OnSaveReport();

    static const ambersel::win32::MessageMapEntry messageEntries[];
    static const ambersel::win32::MessageMap messageMap;

    ambersel::report::ListRecord m_record;
    std::variant<ambersel::report::ReportHeading, std::string> m_heading;
    ambersel::plot::GdiplusSession m_gdiplus;
};
