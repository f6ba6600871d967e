#include "evaluation/calculate_command.h"

#include "evaluation/list_file.h"
#include "evaluation/test_figure.h"
#include "evaluation/unicode_text.h"

namespace ambersel {
CalculationOutcome calculateFromPath(const std::filesystem::path& path) {
    ListFileReading reading = readListFile(path);
    // A read error or a change while reading leaves a list that never stood in the file whole; a
    // verdict on it is not one to show.
    if (!reading.opened() || reading.stop.end == ReadingEnd::ReadError ||
        reading.stop.end == ReadingEnd::FileChanged) {
        return CalculationOutcome::openFailure();
    }
    std::u16string line = formatVerdict(evaluateTestFigure(reading.points));
    return CalculationOutcome::withResultLine(std::move(line), std::move(reading.points),
                                              std::move(reading.stop), reading.stamp);
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
