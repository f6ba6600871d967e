#pragma once

// Names of the main dialog's controls. Each control carries its name as its object name, so that
// code outside the dialog (tests, accessibility tools) finds it without reaching into the class.

namespace ambersel::ui {

inline constexpr const char* IDOK = "IDOK";                  // the Calculate button
inline constexpr const char* IDCANCEL = "IDCANCEL";          // the Cancel button
inline constexpr const char* IDC_RESULT = "IDC_RESULT";      // the result line
inline constexpr const char* IDC_BROWSE = "IDC_BROWSE";      // the File button
inline constexpr const char* IDC_FILEPATH = "IDC_FILEPATH";  // the path field

// The application icon, 32 x 32 pixels.
inline constexpr const char* IDR_MAINFRAME = ":/ambersel/icons/ambersel-test-calculator-32.png";

}  // namespace ambersel::ui
