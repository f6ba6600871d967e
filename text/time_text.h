#pragma once

// Instants as text, all in one style: ISO 8601 to the second with the offset from UTC,
// "2026-12-07T05:45:55Z" or "2026-12-07T06:45:55+01:00". The calendar is std::chrono's.

#include <cstdint>
#include <optional>
#include <string>

namespace ambersel {

// `seconds` since 1970-01-01T00:00:00Z (negative before) as "1969-12-31T23:59:59Z" when
// `offsetMinutes` is empty, else in the time that far east of UTC, with the offset:
// "1970-01-01T05:29:59+05:30", "…+00:00". Years from -32767 to 32767.
std::string isoTimeText(std::int64_t seconds, std::optional<int> offsetMinutes);

// The machine's local time's offset from UTC at `seconds`, in minutes east; nothing when the C
// library cannot tell (some systems refuse times before 1970).
std::optional<int> localOffsetMinutes(std::int64_t seconds);

// A UTC instant as an axis of times labels it: "12-07 06:00", with seconds "12-07 06:00:05".
std::string monthDayTimeText(std::int64_t seconds, bool withSeconds);

}  // namespace ambersel
