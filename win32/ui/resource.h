#pragma once

// Identifiers of the main dialog's resources and controls. Macros, because the resource compiler
// reads this file too; IDOK (Calculate) and IDCANCEL (Cancel) are the platform's own.

#define IDD_TEST_DIALOG 102  // the dialog template
#define IDR_MAINFRAME 128    // the application icon, 32 x 32 pixels, 24 bits per pixel
#define IDC_RESULT 1003      // the result line
#define IDC_BROWSE 1005      // the File button
#define IDC_FILEPATH 1006    // the path field
