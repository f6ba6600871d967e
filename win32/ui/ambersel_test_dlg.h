#pragma once

// The main dialog: the program's whole user interface, on the platform's own dialog manager.
//
// It holds the chosen list file's path and the last result line, shows them in a read-only path
// field and a centred result line, and offers three buttons: File chooses the list file, Calculate
// (the default button, also reached by Enter) evaluates it, Cancel ends the dialog, as do Esc and a
// close request. The two texts only ever travel from the members to the controls. While a result
// line is shown, the context menu (right button, Shift+F10, the Menu key) offers "Details…" of
// the list that Calculate evaluated.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "evaluation/frequency_level_list.h"
#include "files/calculate_command.h"
#include "files/list_file.h"
#include "report/list_record.h"
#include "win32/framework/window.h"
#include "win32/ui/resource.h"

class CAmbersel_TestDlg : public ambersel::win32::CDialog {
  public:
    // One Calculate command, from a path to its outcome. The program runs
    // ambersel::calculateFromFile; tests put their own in its place.
    using Calculation = std::function<ambersel::CalculationOutcome(std::u16string_view path)>;

    // The dialog of template IDD_TEST_DIALOG with the application icon, both texts empty.
    explicit CAmbersel_TestDlg(Calculation calculation = &ambersel::calculateFromFile,
                               ambersel::win32::CWnd* parent = nullptr);

  protected:
    const ambersel::win32::MessageMap* GetMessageMap() const override;
    // Binds m_strResult to the result line and m_strFilePath to the path field.
    void DoDataExchange(ambersel::win32::CDataExchange* pDX) override;
    // Shows the members and sets the window's large and small icon; the focus goes to Calculate.
    BOOL OnInitDialog() override;

    HICON m_hIcon;
    std::wstring m_strResult;    // the result line; written only by OnCalculate
    std::wstring m_strFilePath;  // the chosen list file; written only by OnBrowseFile

  private:
    // Draws the icon in the middle of the window while it is minimised.
    void OnPaint();
    // The picture dragged for the minimised window.
    HCURSOR OnQueryDragIcon();
    void OnCancelButton();
    void OnCalculate();
    void OnBrowseFile();
    // Offers "Details…" at the pointer, or under the result line when the keyboard asked.
    BOOL OnContextMenu(WPARAM window, LPARAM position);
    void OnDetails();

    static const ambersel::win32::MessageMapEntry messageEntries[];
    static const ambersel::win32::MessageMap messageMap;

    // The list behind the result line, from the Calculate that gave it.
    struct ShownList {
        ambersel::EvaluatedList list;  // named by the path shown
        // The report's heading, timed at Calculate, or why there can be no report.
        std::variant<ambersel::report::ReportHeading, std::string> heading;
        ambersel::ListFileStamp stamp;  // the file as Calculate read it
    };

    Calculation m_calculation;
    std::optional<ShownList> m_shownList;  // nothing while no line is shown
};
