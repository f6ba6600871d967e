#include "report/report_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "report/report_text.h"

namespace ambersel::report {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

struct CivilDate {
    std::int64_t year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

// The proleptic Gregorian date `days` after 1970-01-01, for any day a 64-bit count of seconds
// reaches.
CivilDate civilFromDays(std::int64_t days) {
    days += 719468;  // from 0000-03-01, so that a leap day ends each cycle
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 for March
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace

std::string isoTimeText(std::int64_t seconds, std::optional<int> offsetMinutes) {
    // Shifting by at most a day cannot overflow any instant a file system gives.
    const std::int64_t local = seconds + std::int64_t{offsetMinutes.value_or(0)} * 60;
    const std::int64_t days = floorDivide(local, kSecondsPerDay);
    const std::int64_t ofDay = local - days * kSecondsPerDay;
    const CivilDate date = civilFromDays(days);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
                  static_cast<int>(ofDay % 60));
    std::string iso = text;
    if (!offsetMinutes) {
        return iso + "Z";
    }
    const int offset = *offsetMinutes;
    const int magnitude = offset < 0 ? -offset : offset;
    std::snprintf(text, sizeof text, "%c%02d:%02d", offset < 0 ? '-' : '+', magnitude / 60,
                  magnitude % 60);
    return iso + text;
}

std::optional<int> localOffsetMinutes(std::int64_t seconds) {
    const auto instant = static_cast<std::time_t>(seconds);
    if (static_cast<std::int64_t>(instant) != seconds) {
        return std::nullopt;
    }
    std::tm broken{};
#if defined(_WIN32)
    if (localtime_s(&broken, &instant) != 0) {
        return std::nullopt;
    }
#else
    if (localtime_r(&instant, &broken) == nullptr) {
        return std::nullopt;
    }
#endif
    // The local date and time read as if they were UTC, less the instant: the offset.
    const std::chrono::year_month_day date{
        std::chrono::year{broken.tm_year + 1900},
        std::chrono::month{static_cast<unsigned>(broken.tm_mon + 1)},
        std::chrono::day{static_cast<unsigned>(broken.tm_mday)}};
    const std::int64_t asUtc =
        std::chrono::sys_days{date}.time_since_epoch().count() * kSecondsPerDay +
        std::int64_t{broken.tm_hour} * 3600 + std::int64_t{broken.tm_min} * 60 + broken.tm_sec;
    return static_cast<int>(floorDivide(asUtc - seconds, 60));
}

std::string timeText(std::int64_t seconds, TimeZoneShown zone) {
    return isoTimeText(seconds,
                       zone == TimeZoneShown::Local ? localOffsetMinutes(seconds) : std::nullopt);
}

std::variant<EvaluationTime, std::string> evaluationTimeFor(const char* sourceDateEpoch,
                                                            std::int64_t clockSeconds) {
    if (sourceDateEpoch == nullptr) {
        return EvaluationTime{clockSeconds, TimeZoneShown::Local};
    }
    constexpr std::int64_t kLastSecondOf9999 = 253402300799;
    const std::string_view text(sourceDateEpoch);
    std::int64_t seconds = 0;
    bool valid = !text.empty() && text.size() <= 12;
    for (const char digit : text) {
        valid = valid && digit >= '0' && digit <= '9';
        seconds = valid ? seconds * 10 + (digit - '0') : 0;
    }
    if (!valid || seconds > kLastSecondOf9999) {
        return "SOURCE_DATE_EPOCH must be whole seconds since 1970 in decimal digits, "
               "0 to 253402300799, not '" +
               printableText(text.substr(0, 40)) + (text.size() > 40 ? "…'" : "'");
    }
    return EvaluationTime{seconds, TimeZoneShown::Utc};
}

std::variant<EvaluationTime, std::string> evaluationTimeNow() {
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return evaluationTimeFor(std::getenv("SOURCE_DATE_EPOCH"), now.time_since_epoch().count());
}

}  // namespace ambersel::report
