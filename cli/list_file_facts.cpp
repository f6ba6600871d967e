#include "cli/list_file_facts.h"

#include <charconv>
#include <chrono>
#include <string>

namespace ambersel::cli {
namespace {

// "2026-12-07 05:45:55 UTC" and "2026-12-07T05:45:55Z" alike: the separators where they belong.
bool isTimeText(std::string_view text) {
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' ||
        (text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':') {
        return false;
    }
    const std::string_view rest = text.substr(19);
    return rest == " UTC" || rest == "Z";
}

std::optional<int> field(std::string_view text, std::size_t at, std::size_t length) {
    int value = 0;
    const char* end = text.data() + at + length;
    const auto parsed = std::from_chars(text.data() + at, end, value);
    if (parsed.ec != std::errc() || parsed.ptr != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string isoTimeOf(std::string_view modified) {
    if (!isTimeText(modified)) {
        return std::string(modified);
    }
    return std::string(modified.substr(0, 10)) + "T" + std::string(modified.substr(11, 8)) + "Z";
}

std::optional<std::int64_t> secondsOfTime(std::string_view modified) {
    if (!isTimeText(modified)) {
        return std::nullopt;
    }
    const auto year = field(modified, 0, 4);
    const auto month = field(modified, 5, 2);
    const auto day = field(modified, 8, 2);
    const auto hour = field(modified, 11, 2);
    const auto minute = field(modified, 14, 2);
    const auto second = field(modified, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    const auto days = std::chrono::sys_days(date).time_since_epoch().count();
    return static_cast<std::int64_t>(days) * 86400 + *hour * 3600 + *minute * 60 + *second;
}

}  // namespace ambersel::cli
