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

// Why `pattern` does not do as the plot name for `files`, or nothing when it does: it must end in
// .svg or .png, and when it holds {name}, no two files may be drawn to the same plot.
std::optional<std::string> plotNameProblem(const std::string& pattern,
                                           const std::vector<std::string>& files);

// Replaces the file `target` with `bytes`, whole or not at all: they are written beside it first
// and then renamed over it, so that a reader never finds half a picture, and nothing is left
// beside it when that fails. Returns why it could not be replaced, or nothing on success.
std::optional<std::string> replaceFile(const std::filesystem::path& target, std::string_view bytes);

}  // namespace ambersel::cli
