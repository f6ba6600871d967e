#include "files/calculate_command.h"

#include "files/list_reading.h"
#include "text/unicode_text.h"

namespace ambersel {

CalculationOutcome calculateFromPath(const std::filesystem::path& path) {
    ListFileStamp stamp;
    // The dialog names the list as it shows its path.
    EvaluatedList list = evaluateListFile({}, path, recordScope(), FactsWanted::No, &stamp);
    // A file that did not open, a read error or a change while reading: no verdict to show.
    if (!list.hasVerdict()) {
        return CalculationOutcome::openFailure();
    }
    std::u16string line = formatVerdict(list.analysis.verdict);
    return CalculationOutcome::withResultLine(std::move(line), std::move(list), stamp);
}

std::optional<std::filesystem::path> listFilePath(std::u16string_view path) {
#if defined(_WIN32)
    // Windows names files in UTF-16 itself: no conversion, so no character is ever replaced.
    return std::filesystem::path(std::wstring(path.begin(), path.end()));
#else
    const std::optional<std::string> narrowPath = utf8FromUtf16(path);
    if (!narrowPath) {
        return std::nullopt;
    }
    return std::filesystem::path(*narrowPath);
#endif
}

CalculationOutcome calculateFromFile(std::u16string_view path) {
    const std::optional<std::filesystem::path> file = listFilePath(path);
    return file ? calculateFromPath(*file) : CalculationOutcome::openFailure();
}

}  // namespace ambersel
