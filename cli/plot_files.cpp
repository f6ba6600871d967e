#include "cli/plot_files.h"

#include <algorithm>
#include <cctype>

namespace ambersel::cli {

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
        argument == "-" ? std::string("stdin") : std::filesystem::path(argument).stem().native();
    std::string target = pattern;
    for (std::size_t at = target.find(kPlotNamePlaceholder); at != std::string::npos;
         at = target.find(kPlotNamePlaceholder, at + name.size())) {
        target.replace(at, kPlotNamePlaceholder.size(), name);
    }
    return std::filesystem::path(target);
}

}  // namespace ambersel::cli
