#include "tests/support/figure_reference.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace ambersel::support {

ReferenceVerdict referenceVerdict(const FrequencyLevelList& points) {
    float figure = 0;
    for (const FrequencyLevelPoint& point : points) {
        const double x = point.frequency;
        const float a = static_cast<float>(double{point.level} / 20);
        const float b = static_cast<float>(std::pow(10.0, double{a}));
        const float V = static_cast<float>(double{b} * 1e-06);
        const float Z =
            static_cast<float>(3.629e-05 * std::pow(x / 1000 * 1000000, 0.5283) + 0.1087);
        const double w = x * 12.56637061 / 1000;
        const double s = std::sqrt(1 + w * w);
        const float K = static_cast<float>((s * double{V}) / (double{Z} * 0.47516600000000003));
        const float D = static_cast<float>(x * 135 / 1000);
        figure = static_cast<float>(double{K} / double{D} + double{figure});
    }
    ReferenceVerdict verdict;
    verdict.figure = std::isnan(figure) ? -std::numeric_limits<float>::quiet_NaN() : figure;
    verdict.failed = !(verdict.figure >= 0 && verdict.figure <= 1);
    char text[400];
    std::snprintf(text, sizeof text, "%s : F = %.4f", verdict.failed ? "FAIL" : "PASS",
                  double{verdict.figure});
    verdict.line = text;
    return verdict;
}

}  // namespace ambersel::support
