#pragma once

// The files --plot writes: their format and their names.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ambersel::cli {

enum class PlotFormat { Svg, Png };

// The format a plot file's extension asks for (".svg" or ".png", in any letter case), if any.
std::optional<PlotFormat> plotFormatOf(const std::filesystem::path& target);

// What stands in a plot name for each list's file name.
inline constexpr std::string_view kPlotNamePlaceholder = "{name}";

// The plot file for the list `argument`: `pattern` with every {name} replaced by the list's file
// name without its extension, or by "stdin" for "-".
std::filesystem::path plotTargetFor(const std::string& pattern, const std::string& argument);

// Whether the lists go onto one picture, drawn over one another: there are several, and the plot
// name holds no {name}.
bool drawsOnePicture(const std::string& pattern, std::size_t fileCount);

// The first file that two of `files` would each be written to alone under the name `pattern`
// (a later one would replace an earlier one's picture or report without a word); nothing when
// each goes to a file of its own, or when `pattern` holds no {name}, which puts all of them into
// one file.
std::optional<std::filesystem::path> sharedTarget(const std::string& pattern,
                                                  const std::vector<std::string>& files);

// Why `pattern` does not do as the plot name for `files`, or nothing when it does: it must end in
// .svg or .png, and when it holds {name}, no two files may be drawn to the same plot.
std::optional<std::string> plotNameProblem(const std::string& pattern,
                                           const std::vector<std::string>& files);

}  // namespace ambersel::cli
