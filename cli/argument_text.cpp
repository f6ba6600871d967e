#include "cli/argument_text.h"

namespace ambersel::cli {

std::optional<std::filesystem::path> pathOfArgument(const std::string& argument) {
#if defined(_WIN32)
    const std::optional<std::u16string> units = utf16FromGeneralizedUtf8(argument);
    if (!units) {
        return std::nullopt;
    }
    return std::filesystem::path(std::wstring(units->begin(), units->end()));
#else
    return std::filesystem::path(argument);
#endif
}

std::filesystem::path pathOfCommandLineName(const std::string& name) {
    return pathOfArgument(name).value_or(std::filesystem::path(name));
}

std::string argumentOfPath(const std::filesystem::path& path) {
#if defined(_WIN32)
    const std::wstring& units = path.native();
    return generalizedUtf8FromUtf16(std::u16string(units.begin(), units.end()));
#else
    return path.native();
#endif
}

}  // namespace ambersel::cli
