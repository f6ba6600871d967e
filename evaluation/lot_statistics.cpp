#include "evaluation/lot_statistics.h"

#include <algorithm>
#include <cmath>

namespace ambersel {

double inclusiveQuantile(std::span<const double> sorted, double fraction) {
    const double rank = static_cast<double>(sorted.size() - 1) * fraction;
    const auto below = static_cast<std::size_t>(std::floor(rank));
    if (below + 1 >= sorted.size()) {
        return sorted.back();
    }
    const double part = rank - static_cast<double>(below);
    return sorted[below] + part * (sorted[below + 1] - sorted[below]);
}

std::optional<MarginStatistics> marginStatistics(std::span<double> margins) {
    if (margins.empty()) {
        return std::nullopt;
    }
    std::sort(margins.begin(), margins.end());
    MarginStatistics statistics;
    statistics.count = margins.size();
    statistics.minimum = margins.front();
    statistics.maximum = margins.back();
    statistics.fifthPercentile = inclusiveQuantile(margins, 0.05);
    statistics.median = inclusiveQuantile(margins, 0.5);
    const auto count = static_cast<double>(margins.size());
    double sum = 0;
    for (double margin : margins) {
        sum += margin;
    }
    statistics.mean = sum / count;
    if (margins.size() < 2) {
        return statistics;
    }
    // Equal margins have no spread at all; the rounding of their mean must not invent one, or a
    // perfectly steady lot would get a huge Cpk from a deviation of a few units in the last place.
    if (statistics.minimum == statistics.maximum) {
        statistics.mean = statistics.minimum;
        statistics.standardDeviation = 0.0;
        return statistics;
    }
    double squares = 0;
    for (double margin : margins) {
        const double deviation = margin - statistics.mean;
        squares += deviation * deviation;
    }
    const double deviation = std::sqrt(squares / (count - 1));
    statistics.standardDeviation = deviation;
    statistics.capability = statistics.mean / (3 * deviation);
    return statistics;
}

}  // namespace ambersel
