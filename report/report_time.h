#pragma once

// When a report says its lists were evaluated, and in which zone it gives its times (written as
// text/time_text.h writes every instant).

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace ambersel::report {

// Where a report's times are given: in UTC, or in the machine's local time at each instant.
enum class TimeZoneShown { Utc, Local };

// When a list was evaluated, and so where the report gives all its times.
struct EvaluationTime {
    std::int64_t seconds = 0;  // since 1970-01-01T00:00:00Z
    TimeZoneShown zone = TimeZoneShown::Utc;
};

// `seconds` in the zone a report shows; local time falls back to UTC where it is unknown.
std::string timeText(std::int64_t seconds, TimeZoneShown zone);

// The evaluation time for the environment's SOURCE_DATE_EPOCH (null: not set) and the clock's
// `clockSeconds`: set, it names the instant in decimal seconds since 1970 (0 to 253402300799, the
// last second of year 9999), and the report gives every time in UTC, so that the same list gives
// the same report; otherwise the clock's instant in local time. Returns why a value set is not
// such a number.
std::variant<EvaluationTime, std::string> evaluationTimeFor(const char* sourceDateEpoch,
                                                            std::int64_t clockSeconds);

// The same for now, from the process's environment and the system clock.
std::variant<EvaluationTime, std::string> evaluationTimeNow();

}  // namespace ambersel::report
