#pragma once

// The frequency bands an engineer names on the command line: "--bands 150k,1M,10M,30M".

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ambersel::cli {

// The band edges in Hz from a comma-separated list of frequencies, each a decimal number with an
// optional suffix k (10^3), M (10^6) or G (10^9): "150k,1M,10M,30M". At least two edges, each
// finite and positive, strictly increasing. Gives the edges, or why the text is not such a list.
std::variant<std::vector<double>, std::string> parseBandEdges(std::string_view text);

}  // namespace ambersel::cli
