// MS-DOS date and time: the time in the low 16 bits, the date in the high 16 bits.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace folivane::zip {

// The value written when a time cannot be expressed (before 1980, after 2107, unknown).
constexpr std::uint32_t kNoDosDateTime = 0xFFFFFFFF;

// A moment as local MS-DOS date-time; seconds are halved downward.
std::uint32_t DosDateTimeFromTime(std::time_t moment);

// Out-of-range fields pulled into range: hour 23, minute 59, seconds 58, year 2099,
// month 1 to 12, day at least 1. A day beyond its month's end stays.
std::uint32_t ClampDosDateTime(std::uint32_t value);

// A number that orders MS-DOS date-times in time; nothing for a day that does not exist.
std::optional<std::int64_t> DosDateTimeKey(std::uint32_t value);
// The key of the current local time.
std::int64_t CurrentDosDateTimeKey();

// The clamped MS-DOS date-time of a file's last modification, kNoDosDateTime clamped
// when the file is missing.
std::uint32_t FileDosDateTime(const std::string& path);

} // namespace folivane::zip
