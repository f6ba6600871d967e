#include "cli/plot_files.h"

#include <set>

#include "cli/argument_text.h"
#include "files/output_file.h"
#include "text/byte_text.h"

namespace ambersel::cli {

std::optional<PlotFormat> plotFormatOf(const std::filesystem::path& target) {
    return formatOfName<PlotFormat>(target, {{".svg", PlotFormat::Svg}, {".png", PlotFormat::Png}});
}

std::filesystem::path plotTargetFor(const std::string& pattern, const std::string& argument) {
    const std::optional<std::filesystem::path> path = pathOfArgument(argument);
    const std::string name =
        argument == "-" ? std::string("stdin") : (path ? argumentOfPath(path->stem()) : argument);
    std::string target = pattern;
    for (std::size_t at = target.find(kPlotNamePlaceholder); at != std::string::npos;
         at = target.find(kPlotNamePlaceholder, at + name.size())) {
        target.replace(at, kPlotNamePlaceholder.size(), name);
    }
    return pathOfCommandLineName(target);
}

bool drawsOnePicture(const std::string& pattern, std::size_t fileCount) {
    return fileCount > 1 && pattern.find(kPlotNamePlaceholder) == std::string::npos;
}

std::optional<std::filesystem::path> sharedTarget(const std::string& pattern,
                                                  const std::vector<std::string>& files) {
    if (pattern.find(kPlotNamePlaceholder) == std::string::npos) {
        return std::nullopt;
    }
    std::set<std::filesystem::path> targets;
    for (const std::string& file : files) {
        const std::filesystem::path target = plotTargetFor(pattern, file);
        if (!targets.insert(target).second) {
            return target;
        }
    }
    return std::nullopt;
}

std::optional<std::string> plotNameProblem(const std::string& pattern,
                                           const std::vector<std::string>& files) {
    if (!plotFormatOf(pattern)) {
        return "--plot needs a file name ending in .svg or .png: " + escapedBytes(pattern, true);
    }
    if (const std::optional<std::filesystem::path> shared = sharedTarget(pattern, files)) {
        return "two files would be drawn to the same plot " +
               escapedBytes(argumentOfPath(*shared), true);
    }
    return std::nullopt;
}

}  // namespace ambersel::cli
