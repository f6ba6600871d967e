#include "cli/lot_summary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "cli/path_text.h"
#include "evaluation/figure_analysis.h"
#include "evaluation/test_figure.h"
#include "evaluation/value_text.h"

namespace ambersel::cli {
namespace {

using Json = nlohmann::ordered_json;

// Where a list stands among the lowest: a failure without a margin below every margin.
double rankOf(const LowMarginList& list) {
    return list.margin ? *list.margin : -std::numeric_limits<double>::infinity();
}

bool lower(const LowMarginList& a, const LowMarginList& b) {
    return rankOf(a) < rankOf(b) || (rankOf(a) == rankOf(b) && a.position < b.position);
}

// To six decimals: a margin comes from the C library's logarithm, whose last bits differ between
// platforms, and the summary is to read the same everywhere.
Json sixDecimals(double value) {
    return std::round(value * 1e6) / 1e6 + 0.0;
}

Json optionalNumber(std::optional<double> value) {
    return value ? sixDecimals(*value) : Json(nullptr);
}

std::string percentOf(std::size_t part, std::size_t whole) {
    return decimalsText(100.0 * static_cast<double>(part) / static_cast<double>(whole), 2) + "%";
}

}  // namespace

void LotSummary::add(const FileEvaluation& evaluation) {
    LotEntry entry;
    entry.status = evaluation.status;
    if (evaluation.facts) {
        entry.modified = evaluation.facts->modifiedSeconds;
    }
    if (evaluation.status != FileStatus::Error) {
        entry.margin = marginDb(evaluation.verdict.figure);
    }
    m_entries.push_back(entry);
    if (evaluation.status == FileStatus::Error ||
        (!entry.margin && evaluation.status == FileStatus::Pass)) {
        return;
    }
    LowMarginList candidate{evaluation.argument, formatVerdictUtf8(evaluation.verdict),
                            entry.margin, m_entries.size() - 1};
    if (m_lowest.size() == kLowestListCount && !lower(candidate, m_lowest.back())) {
        return;
    }
    m_lowest.insert(std::upper_bound(m_lowest.begin(), m_lowest.end(), candidate, lower),
                    std::move(candidate));
    if (m_lowest.size() > kLowestListCount) {
        m_lowest.pop_back();
    }
}

std::size_t LotSummary::count(FileStatus status) const {
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

void LotSummary::writeText(std::ostream& out) const {
    const std::size_t passed = count(FileStatus::Pass);
    const std::size_t failed = count(FileStatus::Fail);
    const std::size_t readable = passed + failed;
    out << "summary: " << countText(given(), "list", "lists") << ", " << passed << " passed, "
        << failed << " failed, " << count(FileStatus::Error) << " unreadable\n";
    out << "  yield "
        << (readable == 0 ? std::string("none (no list could be read)")
                          : percentOf(passed, readable) + " (" + std::to_string(passed) + " of " +
                                std::to_string(readable) + " readable)")
        << '\n';
    const std::optional<MarginStatistics> margins = statistics();
    if (!margins) {
        out << "  margin none (no list has one)\n";
    } else {
        out << "  margin of " << countText(margins->count, "list", "lists") << ": min "
            << marginText(margins->minimum) << ", 5th percentile "
            << marginText(margins->fifthPercentile) << ", median " << marginText(margins->median)
            << ", max " << marginText(margins->maximum) << '\n';
        out << "  Cpk ";
        if (margins->capability) {
            out << decimalsText(*margins->capability, 2) << " (mean " << marginText(margins->mean)
                << ", s " << decimalsText(*margins->standardDeviation, 2) << " dB)\n";
        } else {
            out << "none ("
                << (margins->count < 2 ? "fewer than 2 margins" : "every margin is the same")
                << ")\n";
        }
    }
    if (!m_lowest.empty()) {
        out << "  lowest margins:\n";
    }
    for (std::size_t rank = 0; rank < m_lowest.size(); ++rank) {
        const LowMarginList& list = m_lowest[rank];
        out << "  " << (rank + 1 < 10 ? " " : "") << rank + 1 << ". " << marginText(list.margin)
            << "  " << list.line << "  " << printedPath(list.path) << '\n';
    }
}

void LotSummary::writeJson(std::ostream& out) const {
    const std::size_t passed = count(FileStatus::Pass);
    const std::size_t readable = passed + count(FileStatus::Fail);
    Json summary = Json::object();
    summary["lists"] = given();
    summary["passed"] = passed;
    summary["failed"] = count(FileStatus::Fail);
    summary["unreadable"] = count(FileStatus::Error);
    summary["yield_percent"] =
        readable == 0
            ? Json(nullptr)
            : sixDecimals(100.0 * static_cast<double>(passed) / static_cast<double>(readable));
    const std::optional<MarginStatistics> margins = statistics();
    Json margin = Json::object();
    margin["count"] = margins ? margins->count : 0;
    margin["min_db"] = margins ? sixDecimals(margins->minimum) : Json(nullptr);
    margin["p5_db"] = margins ? sixDecimals(margins->fifthPercentile) : Json(nullptr);
    margin["median_db"] = margins ? sixDecimals(margins->median) : Json(nullptr);
    margin["max_db"] = margins ? sixDecimals(margins->maximum) : Json(nullptr);
    margin["mean_db"] = margins ? sixDecimals(margins->mean) : Json(nullptr);
    margin["stdev_db"] = margins ? optionalNumber(margins->standardDeviation) : Json(nullptr);
    margin["cpk"] = margins ? optionalNumber(margins->capability) : Json(nullptr);
    summary["margin"] = std::move(margin);
    Json lowest = Json::array();
    for (const LowMarginList& list : m_lowest) {
        Json entry = Json::object();
        entry["path"] = list.path;
        entry["line"] = list.line;
        entry["margin_db"] = list.margin ? Json(roundedMargin(*list.margin)) : Json(nullptr);
        lowest.push_back(std::move(entry));
    }
    summary["lowest"] = std::move(lowest);
    out << summary.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace ambersel::cli
