#include "cli/band_edges.h"

#include <charconv>
#include <cmath>

namespace ambersel::cli {
namespace {

// One edge, or nothing when `item` is not a plain decimal with an optional unit suffix.
std::variant<double, std::string> parseEdge(std::string_view item) {
    double scale = 1;
    if (!item.empty()) {
        switch (item.back()) {
            case 'k':
                scale = 1e3;
                break;
            case 'M':
                scale = 1e6;
                break;
            case 'G':
                scale = 1e9;
                break;
            default:
                break;
        }
    }
    const std::string_view number = scale == 1 ? item : item.substr(0, item.size() - 1);
    double value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (number.empty() || parsed.ec != std::errc() || parsed.ptr != number.data() + number.size()) {
        return "'" + std::string(item) + "' is not a frequency like 150k, 1M or 2.5G";
    }
    value *= scale;
    if (!std::isfinite(value) || value <= 0) {
        return "'" + std::string(item) + "' is not a positive frequency";
    }
    return value;
}

}  // namespace

std::variant<std::vector<double>, std::string> parseBandEdges(std::string_view text) {
    std::vector<double> edges;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::variant<double, std::string> edge = parseEdge(text.substr(0, comma));
        if (const auto* why = std::get_if<std::string>(&edge)) {
            return *why;
        }
        const double value = std::get<double>(edge);
        if (!edges.empty() && value <= edges.back()) {
            return "band edges must increase: '" + std::string(text.substr(0, comma)) +
                   "' does not lie above the edge before it";
        }
        edges.push_back(value);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (edges.size() < 2) {
        return std::string("a band needs two edges, as in 150k,30M");
    }
    return edges;
}

}  // namespace ambersel::cli
