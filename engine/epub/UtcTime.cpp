// UTC time stamps from the system's calendar.
#include "UtcTime.h"

#include "engine/text/ConversionError.h"

#include <cstdio>

namespace folivane::engine {

std::string UtcTimestamp(std::time_t when) {
    std::tm utc{};
    if (!::gmtime_r(&when, &utc) || utc.tm_year < -1900 || utc.tm_year > 9999 - 1900)
        throw ConversionError(
            {.kind = FailureKind::ClockOutOfRange, .number = static_cast<std::int64_t>(when)});
    char text[80]; // room for any int, so the compiler sees no cut
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

} // namespace folivane::engine
