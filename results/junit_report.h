#pragma once

// A run's results as JUnit XML, the form build servers (Jenkins, GitLab) and test-station
// dashboards read: one test case per list, a failure for a list that fails, an error for one that
// gives no verdict. The file is valid against schemas/junit.xsd.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ambersel {

enum class JunitOutcome { Passed, Failed, Error };

// One list of the run.
struct JunitCase {
    // The list's path as given: the folder names the test case's class ("." for none), the file
    // name the test case.
    std::string path;
    JunitOutcome outcome = JunitOutcome::Error;
    std::string resultLine;          // "FAIL : F = 1.1201"; for Passed and Failed
    std::optional<double> marginDb;  // the margin, for Failed
    std::string errorReason;         // why the list gave no verdict, for Error
    double seconds = 0;              // the time the list took
};

struct JunitRun {
    std::string suiteName;       // "ambersel-eval"
    std::string programVersion;  // "1.0.0"
    std::string timestamp;       // when the run began, ISO 8601: "2026-12-07T05:45:55Z"
    std::string hostname;        // empty: not written
    std::vector<JunitCase> cases;
};

// Writes `run` as one XML document, UTF-8: a testsuites element holding one testsuite, its counts
// and time, the program's version among its properties, then the cases in order. Text that is not
// valid UTF-8 has each bad byte stood in for by U+FFFD; control bytes are written as \xHH, and
// characters no XML may hold (C1 controls, non-characters) as U+FFFD.
void writeJunitXml(std::ostream& out, const JunitRun& run);

// The test case's class and name for a list's path: its folder and its file name.
struct JunitName {
    std::string className;
    std::string name;
};
JunitName junitNameOf(const std::string& path);

}  // namespace ambersel
