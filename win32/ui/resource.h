#pragma once

// Identifiers of the dialogs' resources, controls and commands. Macros, because the resource
// compiler reads this file too; IDOK (Calculate) and IDCANCEL (Cancel, Close) are the platform's
// own.

#define IDD_TEST_DIALOG 102  // the main dialog's template
#define IDD_DETAILS 103      // the Details window's template
#define IDR_MAINFRAME 128    // the application icon, 32 x 32 pixels, 24 bits per pixel
#define IDC_RESULT 1003      // the result line
#define IDC_BROWSE 1005      // the File button
#define IDC_FILEPATH 1006    // the path field
#define IDC_DETAILS_LINE 1010
#define IDC_DETAILS_PICTURE 1011
#define IDC_DETAILS_BANDS_CAPTION 1012
#define IDC_DETAILS_BANDS 1013
#define IDC_DETAILS_CONTRIBUTORS_CAPTION 1014
#define IDC_DETAILS_CONTRIBUTORS 1015
#define IDC_SAVE_REPORT 1016
#define ID_DETAILS 32771  // "Details…" in the main dialog's context menu
