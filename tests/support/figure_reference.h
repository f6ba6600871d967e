#pragma once

// The figure F and its result line computed the plain way, one point at a time, straight from the
// figure's definition: the values the validation kit expects, made without the program's own code.

#include <string>

#include "evaluation/frequency_level_list.h"

namespace ambersel::support {

struct ReferenceVerdict {
    float figure = 0;  // F; a NaN is the one with the sign bit set, as the program gives it
    bool failed = false;
    std::string line;  // "PASS : F = 0.1210", printed by the C library's "%.4f"
};

ReferenceVerdict referenceVerdict(const FrequencyLevelList& points);

}  // namespace ambersel::support
