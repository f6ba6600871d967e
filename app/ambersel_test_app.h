#pragma once

// The application: starts the toolkit, runs the main dialog modally as the program's only window
// and ends the program when the dialog closes.
//
// The one instance, theApp, lives for the whole process. It holds nothing of the toolkit's, so it
// can be built before main() runs and outlive it: the toolkit itself starts and stops inside Run(),
// which main() calls.

class CAmbersel_TestDlg;

class CAmbersel_TestApp {
  public:
    CAmbersel_TestApp() noexcept = default;
    virtual ~CAmbersel_TestApp() = default;

    CAmbersel_TestApp(const CAmbersel_TestApp&) = delete;
    CAmbersel_TestApp& operator=(const CAmbersel_TestApp&) = delete;

    // Exit status of a start where there is no display to open the window on.
    static constexpr int kNoDisplay = 1;

    // Runs the program and returns its exit status: 0, or kNoDisplay after saying so in one line on
    // standard error. Only argv[0] reaches the toolkit: command-line arguments, the toolkit's own
    // options among them, change nothing. The program's name, the title of its message boxes, is
    // argv[0]'s file name ("Ambersel_Test").
    int Run(int argc, char** argv);

  protected:
    // Runs the main dialog to its end; the program then ends, without an event loop of its own.
    virtual void InitInstance();
    // Runs `dialog` modally until it closes, by whichever means, and returns how it closed.
    virtual int DoModal(CAmbersel_TestDlg& dialog);
};
