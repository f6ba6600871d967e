#include "report/report_time.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "text/byte_text.h"
#include "text/time_text.h"

namespace ambersel::report {

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
