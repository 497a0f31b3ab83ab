// Conversions between file times and the MS-DOS date-time format of zip headers.
#include "DosDateTime.h"

#include "platform/FileStatus.h"

namespace folivane::zip {
namespace {

struct DosFields {
    unsigned year, month, day, hour, minute, second;
};

DosFields Split(std::uint32_t value) {
    const std::uint32_t date = value >> 16;
    const std::uint32_t time = value & 0xFFFF;
    return {1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F,
            time >> 11,         (time >> 5) & 0x3F, (time & 0x1F) * 2};
}

std::uint32_t Join(const DosFields& f) {
    const std::uint32_t date = ((f.year - 1980) << 9) | (f.month << 5) | f.day;
    const std::uint32_t time = (f.hour << 11) | (f.minute << 5) | (f.second / 2);
    return (date << 16) | time;
}

bool IsLeap(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

std::int64_t Key(const DosFields& f) {
    return ((((static_cast<std::int64_t>(f.year) * 13 + f.month) * 32 + f.day) * 24 + f.hour) * 60 +
            f.minute) *
               60 +
           f.second;
}

} // namespace

std::uint32_t DosDateTimeFromTime(std::time_t moment) {
    std::tm local{};
    if (!localtime_r(&moment, &local)) return kNoDosDateTime;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return kNoDosDateTime;
    // A leap second (60) still fits the five-bit field as 30.
    return Join({static_cast<unsigned>(year), static_cast<unsigned>(local.tm_mon + 1),
                 static_cast<unsigned>(local.tm_mday), static_cast<unsigned>(local.tm_hour),
                 static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec)});
}

std::uint32_t ClampDosDateTime(std::uint32_t value) {
    DosFields f = Split(value);
    const DosFields original = f;
    if (f.hour > 23) f.hour = 23;
    if (f.minute > 59) f.minute = 59;
    if (f.second > 59) f.second = 58;
    if (f.year > 2099) f.year = 2099;
    if (f.month > 12) f.month = 12;
    if (f.month == 0) f.month = 1;
    if (f.day == 0) f.day = 1;
    const bool changed = f.hour != original.hour || f.minute != original.minute ||
                         f.second != original.second || f.year != original.year ||
                         f.month != original.month || f.day != original.day;
    return changed ? Join(f) : value;
}

std::optional<std::int64_t> DosDateTimeKey(std::uint32_t value) {
    const DosFields f = Split(value);
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > DaysInMonth(f.year, f.month) ||
        f.hour > 23 || f.minute > 59 || f.second > 59)
        return std::nullopt;
    return Key(f);
}

std::int64_t CurrentDosDateTimeKey() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Key({static_cast<unsigned>(local.tm_year + 1900),
                static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min),
                static_cast<unsigned>(local.tm_sec / 2 * 2)});
}

std::uint32_t FileDosDateTime(const std::string& path) {
    std::string name = path;
    if (name.size() > 1 && name.back() == '/') name.pop_back();
    const std::optional<platform::FileStatus> status = platform::StatPath(name);
    const std::uint32_t value = status ? DosDateTimeFromTime(status->modified) : kNoDosDateTime;
    return ClampDosDateTime(value);
}

} // namespace folivane::zip
