#include "results/junit_report.h"

#include <cstddef>
#include <string_view>

#include "text/byte_text.h"
#include "text/value_text.h"

namespace ambersel {
namespace {

// Text for an XML attribute value or element content: what XML 1.0 may not hold is marked, not
// passed on, so that the file stays well-formed whatever a path holds.
std::string xmlText(std::string_view bytes) {
    return markupText(sanitisedText(
        bytes, {ByteTextRules::Controls::Escape, false, ByteTextRules::NonAscii::Utf8, true}));
}

std::string secondsText(double seconds) {
    return decimalsText(seconds < 0 ? 0 : seconds, 3);
}

struct Counts {
    std::size_t failures = 0;
    std::size_t errors = 0;
    double seconds = 0;
};

Counts countsOf(const std::vector<JunitCase>& cases) {
    Counts counts;
    for (const JunitCase& list : cases) {
        counts.failures += list.outcome == JunitOutcome::Failed ? 1 : 0;
        counts.errors += list.outcome == JunitOutcome::Error ? 1 : 0;
        counts.seconds += list.seconds;
    }
    return counts;
}

void writeCase(std::ostream& out, const JunitCase& list) {
    const JunitName name = junitNameOf(list.path);
    out << "    <testcase classname=\"" << xmlText(name.className) << "\" name=\""
        << xmlText(name.name) << "\" time=\"" << secondsText(list.seconds) << "\"";
    switch (list.outcome) {
        case JunitOutcome::Passed:
            out << "/>\n";
            return;
        case JunitOutcome::Failed: {
            const std::string margin = "margin " + marginText(list.marginDb);
            out << ">\n      <failure type=\"FAIL\" message=\""
                << xmlText(list.resultLine + ", " + margin) << "\">" << xmlText(list.resultLine)
                << "\n"
                << xmlText(margin) << "</failure>\n";
            break;
        }
        case JunitOutcome::Error:
            out << ">\n      <error type=\"ERROR\" message=\"" << xmlText(list.errorReason) << "\">"
                << xmlText(list.errorReason) << "</error>\n";
            break;
    }
    out << "    </testcase>\n";
}

}  // namespace

JunitName junitNameOf(const std::string& path) {
#if defined(_WIN32)
    constexpr std::string_view kSeparators = "/\\";
#else
    constexpr std::string_view kSeparators = "/";
#endif
    const std::size_t separator = path.find_last_of(kSeparators);
    if (separator == std::string::npos) {
        return {".", path};
    }
    const std::size_t folderEnd = path.find_last_not_of(kSeparators, separator);
    std::string folder =
        folderEnd == std::string::npos ? path.substr(0, 1) : path.substr(0, folderEnd + 1);
    return {std::move(folder), path.substr(separator + 1)};
}

void writeJunitXml(std::ostream& out, const JunitRun& run) {
    const Counts counts = countsOf(run.cases);
    const std::string attributes = " tests=\"" + std::to_string(run.cases.size()) +
                                   "\" failures=\"" + std::to_string(counts.failures) +
                                   "\" errors=\"" + std::to_string(counts.errors) + "\"";
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites name=\"" << xmlText(run.suiteName) << "\"" << attributes << " time=\""
        << secondsText(counts.seconds) << "\">\n";
    out << "  <testsuite name=\"" << xmlText(run.suiteName) << "\"" << attributes
        << " skipped=\"0\" time=\"" << secondsText(counts.seconds) << "\" timestamp=\""
        << xmlText(run.timestamp) << "\"";
    if (!run.hostname.empty()) {
        out << " hostname=\"" << xmlText(run.hostname) << "\"";
    }
    out << ">\n    <properties>\n      <property name=\"ambersel.version\" value=\""
        << xmlText(run.programVersion) << "\"/>\n    </properties>\n";
    for (const JunitCase& list : run.cases) {
        writeCase(out, list);
    }
    out << "  </testsuite>\n</testsuites>\n";
}

}  // namespace ambersel
