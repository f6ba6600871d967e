#pragma once

// A production lot as data: how many lists passed, the spread of their margins, the capability of
// the lot against the pass line and its worst lists. Keeps a few numbers per list and nothing of
// its points, so a lot of any size fits. Its text and JSON are written by results/lot_output.h,
// its picture drawn by plot/drawing/lot_chart.h.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/evaluated_list.h"
#include "evaluation/lot_statistics.h"

namespace ambersel {

// One list as the lot's pictures show it.
struct LotEntry {
    ListStatus status = ListStatus::Error;
    std::optional<double> margin;  // dB, unrounded; nothing where F has none
    // The file's modification time in seconds since 1970 (UTC); nothing for standard input or
    // where it is not known.
    std::optional<std::int64_t> modified;
};

// One of the lists with the lowest margins.
struct LowMarginList {
    std::string path;  // the FILE argument as given
    std::string line;  // "FAIL : F = 1.1201"
    std::optional<double> margin;
    std::size_t position = 0;  // among the lists given, from 0
};

inline constexpr std::size_t kLowestListCount = 10;

class LotSummary {
  public:
    // Counts `list` in, the next list in the order given, with its file's modification time when
    // it was evaluated with its facts.
    void add(const EvaluatedList& list);

    std::size_t given() const { return m_entries.size(); }
    std::size_t count(ListStatus status) const;
    // The lists in the order given.
    const std::vector<LotEntry>& entries() const { return m_entries; }
    // The statistics of every list's margin; nothing when none has one.
    std::optional<MarginStatistics> statistics() const;
    // The lists with the lowest margins, lowest first, at most kLowestListCount: a failing list
    // without a margin (F not a number, infinite or negative) counts as lower than any margin;
    // lists of equal margin in the order given. A passing list without a margin (F = 0) is never
    // among them.
    const std::vector<LowMarginList>& lowest() const { return m_lowest; }

  private:
    std::vector<LotEntry> m_entries;
    std::vector<LowMarginList> m_lowest;
};

}  // namespace ambersel
