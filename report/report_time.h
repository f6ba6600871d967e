#pragma once

// The times a report gives, all in one style: ISO 8601 to the second with the offset from UTC,
// "2026-12-07T05:45:55Z" or "2026-12-07T06:45:55+01:00".

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

// `seconds` since 1970-01-01T00:00:00Z (negative before) as "1969-12-31T23:59:59Z" when
// `offsetMinutes` is empty, else in the time that far east of UTC, with the offset:
// "1970-01-01T05:29:59+05:30", "…+00:00".
std::string isoTimeText(std::int64_t seconds, std::optional<int> offsetMinutes);

// The machine's local time's offset from UTC at `seconds`, in minutes east; nothing when the C
// library cannot tell (some systems refuse times before 1970).
std::optional<int> localOffsetMinutes(std::int64_t seconds);

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
