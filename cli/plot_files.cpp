#include "cli/plot_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <set>
#include <system_error>

#include "evaluation/file_handle.h"
#include "evaluation/value_text.h"

namespace ambersel::cli {
namespace {

std::string systemMessage(int error) {
    return std::generic_category().message(error);
}

}  // namespace

std::optional<PlotFormat> plotFormatOf(const std::filesystem::path& target) {
    std::string extension = target.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".svg") {
        return PlotFormat::Svg;
    }
    if (extension == ".png") {
        return PlotFormat::Png;
    }
    return std::nullopt;
}

std::filesystem::path plotTargetFor(const std::string& pattern, const std::string& argument) {
    const std::string name =
        argument == "-" ? std::string("stdin") : std::filesystem::path(argument).stem().string();
    std::string target = pattern;
    for (std::size_t at = target.find(kPlotNamePlaceholder); at != std::string::npos;
         at = target.find(kPlotNamePlaceholder, at + name.size())) {
        target.replace(at, kPlotNamePlaceholder.size(), name);
    }
    return std::filesystem::path(target);
}

bool drawsOnePicture(const std::string& pattern, std::size_t fileCount) {
    return fileCount > 1 && pattern.find(kPlotNamePlaceholder) == std::string::npos;
}

std::optional<std::string> plotNameProblem(const std::string& pattern,
                                           const std::vector<std::string>& files) {
    if (!plotFormatOf(pattern)) {
        return "--plot needs a file name ending in .svg or .png: " + escapedBytes(pattern, true);
    }
    if (drawsOnePicture(pattern, files.size())) {
        return std::nullopt;
    }
    std::set<std::filesystem::path> targets;
    for (const std::string& file : files) {
        const std::filesystem::path target = plotTargetFor(pattern, file);
        if (!targets.insert(target).second) {
            return "two files would be drawn to the same plot " +
                   escapedBytes(target.string(), true);
        }
    }
    return std::nullopt;
}

std::optional<std::string> replaceFile(const std::filesystem::path& target,
                                       std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    errno = 0;
#if defined(_WIN32)
    FileHandle file(_wfopen(temporary.c_str(), L"wb"));
#else
    FileHandle file(std::fopen(temporary.c_str(), "wb"));
#endif
    if (!file) {
        return systemMessage(errno);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    const int closeError = errno;
    std::error_code ignored;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ignored);
        return systemMessage(written ? closeError : writeError);
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return renameError.message();
    }
    return std::nullopt;
}

}  // namespace ambersel::cli
