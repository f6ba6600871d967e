#pragma once

// The report for the record as HTML.

#include <ostream>
#include <string>

#include "report/document.h"

namespace ambersel::report {

// The whole document, standing alone: each picture inline as SVG (the same bytes on every
// platform, its ids prefixed by its own), no script and no outside resource. Text is made
// printable and escaped; a section of its own page starts a new printed page, and a list's page
// fits on one A4 sheet.
std::string reportHtml(const Document& document);

// One section's HTML, as reportHtml() writes it.
void writeSectionHtml(std::ostream& out, const Section& section);

}  // namespace ambersel::report
