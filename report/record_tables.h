#pragma once

// The two tables of a list record as the dialogs' details show them: where F comes from, band by
// band, and the largest contributors. Texts in UTF-8, made printable.

#include <string>
#include <vector>

#include "report/list_record.h"

namespace ambersel::report {

struct TextTable {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;  // each as many cells as there are columns
};

// Band, points, sum of terms, share of F, margin without the band: one row per band.
TextTable bandTable(const ListRecord& record);

// Point (1-based), frequency, level, term, share of F: one row per contributor, heaviest first.
TextTable contributorTable(const ListRecord& record);

}  // namespace ambersel::report
