#pragma once

// The files --plot writes: their format and their names.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ambersel::cli {

enum class PlotFormat { Svg, Png };

// The format a plot file's extension asks for (".svg" or ".png", in any letter case), if any.
std::optional<PlotFormat> plotFormatOf(const std::filesystem::path& target);

// What stands in a plot name for each list's file name.
inline constexpr std::string_view kPlotNamePlaceholder = "{name}";

// The plot file for the list `argument`: `pattern` with every {name} replaced by the list's file
// name without its extension, or by "stdin" for "-".
std::filesystem::path plotTargetFor(const std::string& pattern, const std::string& argument);

}  // namespace ambersel::cli
