#pragma once

// The main dialog: the program's whole user interface.
//
// It holds the chosen list file's path and the last result line, shows them in a read-only path
// field and a centred result line, and offers three buttons: File chooses the list file, Calculate
// (the default button, also reached by Enter) evaluates it, Cancel ends the dialog, as do Esc and a
// close request. The two texts only ever travel from the members to the controls.

#include <QDialog>
#include <QIcon>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "files/calculate_command.h"
#include "report/list_record.h"
#include "ui/dialog_units.h"

class QContextMenuEvent;
class QLabel;
class QLineEdit;

class CAmbersel_TestDlg : public QDialog {
    Q_OBJECT

  public:
    // One Calculate command, from a path to its outcome. The program runs
    // ambersel::calculateFromFile; tests put their own in its place.
    using Calculation = std::function<ambersel::CalculationOutcome(std::u16string_view path)>;

    // Builds the dialog from its template, sized in units of its font, with the focus on Calculate.
    explicit CAmbersel_TestDlg(Calculation calculation = &ambersel::calculateFromFile,
                               QWidget* parent = nullptr);
    ~CAmbersel_TestDlg() override;

    CAmbersel_TestDlg(const CAmbersel_TestDlg&) = delete;
    CAmbersel_TestDlg& operator=(const CAmbersel_TestDlg&) = delete;

  protected:
    // Sets the window icon, shows the members and puts the focus on the first tab stop.
    void OnInitDialog();
    // Copies m_strResult and m_strFilePath into their controls; never the other way.
    void DoDataExchange();
    // Once a result line is shown, offers "Details…" for the list behind it; otherwise nothing.
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void createControls(ambersel::ui::DialogBaseUnits units);
    // Runs a button's handler. Nothing it throws may unwind into the toolkit's event dispatch, so
    // an exception ends the command here and is reported to the operator; the dialog stays open.
    void dispatch(void (CAmbersel_TestDlg::*handler)());
    void reportFailure(const QString& text);

    void OnBrowseFile();
    void OnCalculate();
    void OnCancelButton();
    void OnDetails();

    // The list behind the shown result line, kept for its details until the next Calculate.
    struct ShownList {
        ambersel::EvaluatedList list;  // named by the path shown
        std::variant<ambersel::report::ReportHeading, std::string> heading;
        // The file as its descriptor gave it when it was read: Details takes the file's facts
        // only while it is still so.
        ambersel::ListFileStamp stamp;
    };

    QIcon m_hIcon;
    QString m_strResult;    // the result line; written only by OnCalculate
    QString m_strFilePath;  // the chosen list file; written only by OnBrowseFile
    Calculation m_calculation;
    std::optional<ShownList> m_shownList;
    QLabel* m_resultControl = nullptr;       // owned by the dialog
    QLineEdit* m_filePathControl = nullptr;  // owned by the dialog
};
