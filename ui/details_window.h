#pragma once

// The details of the list behind the dialog's result line, for the engineer who must make a
// device pass: its picture, its margin in dB, where in the spectrum F comes from, its ten largest
// contributors, and a report of it all for the record.

#include <QImage>
#include <QWidget>

#include <string>
#include <variant>

#include "plot/layout/chart.h"
#include "report/document.h"
#include "report/list_record.h"

class QTableWidget;

namespace ambersel::ui {

// A window of its own, owned by its parent (the dialog) and deleted when it is closed. Holds the
// record it shows, so that a later Calculate in the dialog does not change it, the record's chart
// with its points, which the window lays out at its own size, and the heading of its report, or
// why there can be none (a SOURCE_DATE_EPOCH that names no time), which saving it then says.
class DetailsWindow : public QWidget {
    Q_OBJECT

  public:
    DetailsWindow(report::ListRecord record, plot::Chart chart,
                  std::variant<report::ReportHeading, std::string> heading, QWidget* parent);

    // The report's file: chosen in a file dialog, written as PDF or HTML by its extension. The
    // dialog proposes the user's documents folder and a name made from the list's
    // (report::proposedReportName). A failure is reported in a message box and leaves no file
    // behind.
    void saveReport();

    const report::ListRecord& record() const { return m_record; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // `content` as a table of the window, named `name`.
    QTableWidget* shownTable(const report::Table& content, const char* name);
    // Every cell of both tables shown whole, in the window's present font, the two alike in height.
    void fitTables();

    report::ListRecord m_record;
    std::variant<report::ReportHeading, std::string> m_heading;
};

}  // namespace ambersel::ui
