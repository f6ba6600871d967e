#include "results/lot_output.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "text/byte_text.h"
#include "text/value_text.h"

namespace ambersel {
namespace {

using Json = nlohmann::ordered_json;

// To six decimals: a margin comes from the C library's logarithm, whose last bits differ between
// platforms, and the summary is to read the same everywhere.
Json sixDecimals(double value) {
    return std::round(value * 1e6) / 1e6 + 0.0;
}

Json optionalNumber(std::optional<double> value) {
    return value ? sixDecimals(*value) : Json(nullptr);
}

std::string marginLine(const MarginStatistics& margins) {
    return "  margin of " + countText(margins.count, "list", "lists") + ": min " +
           marginText(margins.minimum) + ", 5th percentile " + marginText(margins.fifthPercentile) +
           ", median " + marginText(margins.median) + ", max " + marginText(margins.maximum);
}

std::string capabilityLine(const MarginStatistics& margins) {
    if (margins.capability) {
        return "  Cpk " + decimalsText(*margins.capability, 2) + " (mean " +
               marginText(margins.mean) + ", s " + decimalsText(*margins.standardDeviation, 2) +
               " dB)";
    }
    return std::string("  Cpk none (") +
           (margins.count < 2 ? "fewer than 2 margins" : "every margin is the same") + ")";
}

}  // namespace

std::vector<std::string> lotSummaryLines(const LotSummary& summary) {
    const std::size_t passed = summary.count(ListStatus::Pass);
    const std::size_t failed = summary.count(ListStatus::Fail);
    const std::size_t readable = passed + failed;
    std::vector<std::string> lines;
    lines.push_back("summary: " + countText(summary.given(), "list", "lists") + ", " +
                    std::to_string(passed) + " passed, " + std::to_string(failed) + " failed, " +
                    std::to_string(summary.count(ListStatus::Error)) + " unreadable");
    lines.push_back("  yield " + (readable == 0 ? std::string("none (no list could be read)")
                                                : percentOfCount(passed, readable) + " (" +
                                                      std::to_string(passed) + " of " +
                                                      std::to_string(readable) + " readable)"));
    if (const std::optional<MarginStatistics> margins = summary.statistics()) {
        lines.push_back(marginLine(*margins));
        lines.push_back(capabilityLine(*margins));
    } else {
        lines.emplace_back("  margin none (no list has one)");
    }
    const std::vector<LowMarginList>& lowest = summary.lowest();
    if (!lowest.empty()) {
        lines.emplace_back("  lowest margins:");
    }
    for (std::size_t rank = 0; rank < lowest.size(); ++rank) {
        const LowMarginList& list = lowest[rank];
        lines.push_back("  " + std::string(rank + 1 < 10 ? " " : "") + std::to_string(rank + 1) +
                        ". " + marginText(list.margin) + "  " + list.line + "  " +
                        escapedBytes(list.path, true));
    }
    return lines;
}

std::string lotSummaryOneLine(const LotSummary& summary) {
    std::string description;
    for (const std::string& line : lotSummaryLines(summary)) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos) {
            const char* joint = description.empty() ? "" : (description.back() == ':' ? " " : "; ");
            description += joint + line.substr(start);
        }
    }
    return description;
}

void writeLotSummaryJson(std::ostream& out, const LotSummary& summary) {
    const std::size_t passed = summary.count(ListStatus::Pass);
    const std::size_t readable = passed + summary.count(ListStatus::Fail);
    Json object = Json::object();
    object["lists"] = summary.given();
    object["passed"] = passed;
    object["failed"] = summary.count(ListStatus::Fail);
    object["unreadable"] = summary.count(ListStatus::Error);
    object["yield_percent"] =
        readable == 0
            ? Json(nullptr)
            : sixDecimals(100.0 * static_cast<double>(passed) / static_cast<double>(readable));
    const std::optional<MarginStatistics> margins = summary.statistics();
    Json margin = Json::object();
    margin["count"] = margins ? margins->count : 0;
    margin["min_db"] = margins ? sixDecimals(margins->minimum) : Json(nullptr);
    margin["p5_db"] = margins ? sixDecimals(margins->fifthPercentile) : Json(nullptr);
    margin["median_db"] = margins ? sixDecimals(margins->median) : Json(nullptr);
    margin["max_db"] = margins ? sixDecimals(margins->maximum) : Json(nullptr);
    margin["mean_db"] = margins ? sixDecimals(margins->mean) : Json(nullptr);
    margin["stdev_db"] = margins ? optionalNumber(margins->standardDeviation) : Json(nullptr);
    margin["cpk"] = margins ? optionalNumber(margins->capability) : Json(nullptr);
    object["margin"] = std::move(margin);
    Json lowest = Json::array();
    for (const LowMarginList& list : summary.lowest()) {
        Json entry = Json::object();
        entry["path"] = list.path;
        entry["line"] = list.line;
        entry["margin_db"] = list.margin ? Json(roundedMargin(*list.margin)) : Json(nullptr);
        lowest.push_back(std::move(entry));
    }
    object["lowest"] = std::move(lowest);
    out << object.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string lotTitle(const LotSummary& summary) {
    return "Lot of " + countText(summary.given(), "list", "lists");
}

}  // namespace ambersel
