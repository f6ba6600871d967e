#pragma once

// The C library's own reading of a list, which the list reader must reproduce: the loop
// `while (fscanf(file, "%f,%f\n", &frequency, &level) > 1)` in the "C" locale.

#include <cstdio>
#include <string_view>

#include "evaluation/frequency_level_list.h"

namespace ambersel::support {

// The points the loop reads from `file`, from where it stands. When `itemsEnd` is given it
// receives the stream position after the last complete item (0 when there is none).
FrequencyLevelList readWithScanFormat(std::FILE* file, long* itemsEnd = nullptr);

// The loop's reading of `text`, and where it stopped, said as the list reader says it: the end of
// the text when only white space follows the last complete item, otherwise the malformed item,
// its line and the start of its text.
struct ScanFormatReading {
    FrequencyLevelList points;
    ReadingStop stop;
};
ScanFormatReading readTextWithScanFormat(std::string_view text);

}  // namespace ambersel::support
