#pragma once

// The report for the record as HTML: a summary table when it holds several lists, then one page
// per list.

#include <string>
#include <vector>

#include "report/list_record.h"

namespace ambersel::report {

// How the report's HTML refers to each list's picture.
enum class PictureSource {
    // Inline as a data URI, so that the file stands alone: no script and no outside resource.
    DataUri,
    // By the name "picture-N.png" (N the list's 0-based position), for a renderer that is handed
    // the pictures apart.
    ResourceName,
};

// The whole document. Text from the lists (names, excerpts) is escaped; each list starts a new
// printed page, and its page fits on one A4 sheet.
std::string reportHtml(const ReportHeading& heading, const std::vector<ListRecord>& records,
                       PictureSource pictures);

// The name a list's picture has with PictureSource::ResourceName.
std::string pictureResourceName(std::size_t index);

}  // namespace ambersel::report
