#pragma once

// What a production lot's margins say together: their spread and how far the lot as a whole sits
// from the pass line, for the owner of a line rather than the engineer of one unit.

#include <cstddef>
#include <optional>
#include <span>

namespace ambersel {

// The `fraction` quantile (0 to 1) of `sorted`, ascending and not empty, by linear interpolation
// between the closest ranks: rank h = (n - 1) * fraction counted from 0, and between the values at
// floor(h) and floor(h) + 1 by the part of h after the point. The smallest value is quantile 0, the
// largest quantile 1, and the median of an even count the mean of the middle two; this is the
// "inclusive" method of Python's statistics.quantiles and of spreadsheets' PERCENTILE.INC.
double inclusiveQuantile(std::span<const double> sorted, double fraction);

// The margins of a lot's lists, in dB, as a whole.
struct MarginStatistics {
    std::size_t count = 0;
    double minimum = 0;
    double fifthPercentile = 0;  // inclusiveQuantile(0.05)
    double median = 0;
    double maximum = 0;
    double mean = 0;
    // The sample standard deviation (divided by n - 1); nothing for fewer than two margins.
    std::optional<double> standardDeviation;
    // The capability index against the pass line at 0 dB, Cpk = mean / (3 s): how many times three
    // standard deviations fit between the lot's mean margin and the limit. Nothing for fewer than
    // two margins or when every margin is the same (no spread).
    std::optional<double> capability;
};

// The statistics of `margins`, in any order and all finite; nothing when there are none. `margins`
// is sorted in place.
std::optional<MarginStatistics> marginStatistics(std::span<double> margins);

}  // namespace ambersel
