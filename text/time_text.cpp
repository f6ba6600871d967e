#include "text/time_text.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace ambersel {
namespace {

using Seconds = std::chrono::duration<std::int64_t>;

struct CivilTime {
    std::chrono::year_month_day date;
    std::chrono::hh_mm_ss<Seconds> time;
};

CivilTime civilTimeOf(std::int64_t seconds) {
    const std::chrono::sys_time<Seconds> instant{Seconds{seconds}};
    const auto day = std::chrono::floor<std::chrono::days>(instant);
    return {std::chrono::year_month_day{day}, std::chrono::hh_mm_ss<Seconds>{instant - day}};
}

}  // namespace

std::string isoTimeText(std::int64_t seconds, std::optional<int> offsetMinutes) {
    // Shifting by at most a day cannot overflow any instant a file system gives.
    const CivilTime civil = civilTimeOf(seconds + std::int64_t{offsetMinutes.value_or(0)} * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld",
                  static_cast<int>(civil.date.year()), static_cast<unsigned>(civil.date.month()),
                  static_cast<unsigned>(civil.date.day()),
                  static_cast<long long>(civil.time.hours().count()),
                  static_cast<long long>(civil.time.minutes().count()),
                  static_cast<long long>(civil.time.seconds().count()));
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
    const auto asUtc = std::chrono::sys_days{date} + std::chrono::hours{broken.tm_hour} +
                       std::chrono::minutes{broken.tm_min} + Seconds{broken.tm_sec};
    const auto offset = std::chrono::floor<std::chrono::minutes>(
        asUtc - std::chrono::sys_time<Seconds>{Seconds{seconds}});
    return static_cast<int>(offset.count());
}

std::string monthDayTimeText(std::int64_t seconds, bool withSeconds) {
    const CivilTime civil = civilTimeOf(seconds);
    char text[32];
    std::snprintf(
        text, sizeof text, "%02u-%02u %02lld:%02lld", static_cast<unsigned>(civil.date.month()),
        static_cast<unsigned>(civil.date.day()), static_cast<long long>(civil.time.hours().count()),
        static_cast<long long>(civil.time.minutes().count()));
    std::string label = text;
    if (withSeconds) {
        std::snprintf(text, sizeof text, ":%02lld",
                      static_cast<long long>(civil.time.seconds().count()));
        label += text;
    }
    return label;
}

}  // namespace ambersel
