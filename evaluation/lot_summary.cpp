#include "evaluation/lot_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "evaluation/list_analysis.h"
#include "evaluation/test_figure.h"

namespace ambersel {
namespace {

// Where a list stands among the lowest: a failure without a margin below every margin.
double rankOf(const LowMarginList& list) {
    return list.margin ? *list.margin : -std::numeric_limits<double>::infinity();
}

bool lower(const LowMarginList& a, const LowMarginList& b) {
    return rankOf(a) < rankOf(b) || (rankOf(a) == rankOf(b) && a.position < b.position);
}

}  // namespace

void LotSummary::add(const EvaluatedList& list) {
    LotEntry entry;
    entry.status = list.status;
    if (list.facts) {
        entry.modified = list.facts->modifiedSeconds;
    }
    if (list.hasVerdict()) {
        entry.margin = list.analysis.margin;
    }
    m_entries.push_back(entry);
    if (!list.hasVerdict() || (!entry.margin && list.status == ListStatus::Pass)) {
        return;
    }
    LowMarginList candidate{list.name, formatVerdictUtf8(list.analysis.verdict), entry.margin,
                            m_entries.size() - 1};
    if (m_lowest.size() == kLowestListCount && !lower(candidate, m_lowest.back())) {
        return;
    }
    m_lowest.insert(std::upper_bound(m_lowest.begin(), m_lowest.end(), candidate, lower),
                    std::move(candidate));
    if (m_lowest.size() > kLowestListCount) {
        m_lowest.pop_back();
    }
}

std::size_t LotSummary::count(ListStatus status) const {
    return static_cast<std::size_t>(std::count_if(
        m_entries.begin(), m_entries.end(), [&](const LotEntry& e) { return e.status == status; }));
}

std::optional<MarginStatistics> LotSummary::statistics() const {
    std::vector<double> margins;
    for (const LotEntry& entry : m_entries) {
        if (entry.margin) {
            margins.push_back(*entry.margin);
        }
    }
    return marginStatistics(margins);
}

}  // namespace ambersel
