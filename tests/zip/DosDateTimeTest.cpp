// MS-DOS date and time: local time, two-second steps, the range 1980 to 2107, and clamping.
#include "ZipTestSupport.h"

#include "zip/DosDateTime.h"

#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

TEST(DosDateTime, EncodesLocalTimeWithTimeLowAndDateHigh) {
    ScopedTimeZone zone("UTC0");

    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(2011, 3, 7, 10, 15, 30)), 0x3E6751EFu);
}

TEST(DosDateTime, UsesTheLocalTimeOfTheZoneInForce) {
    // 01:15:30 UTC is 10:15:30 in a zone nine hours east.
    std::time_t moment = 0;
    {
        ScopedTimeZone utc("UTC0");
        moment = LocalMoment(2011, 3, 7, 1, 15, 30);
    }
    ScopedTimeZone east("JST-9");

    EXPECT_EQ(DosDateTimeFromTime(moment), 0x3E6751EFu);
}

TEST(DosDateTime, HalvesOddSecondsDownward) {
    ScopedTimeZone zone("UTC0");

    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(2011, 3, 7, 10, 15, 31)), 0x3E6751EFu);
}

TEST(DosDateTime, HasNoValueOutside1980To2107) {
    ScopedTimeZone zone("UTC0");

    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(1979, 12, 31, 23, 59, 59)), kNoDosDateTime);
    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(2108, 1, 1, 0, 0, 0)), kNoDosDateTime);
    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(1980, 1, 1, 0, 0, 0)), 0x00210000u);
    EXPECT_EQ(DosDateTimeFromTime(LocalMoment(2107, 12, 31, 23, 59, 58)), 0xFF9FBF7Du);
}

std::uint32_t Dos(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                  unsigned second) {
    const std::uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
    const std::uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
    return date << 16 | time;
}

struct ClampRow {
    const char* name;
    std::uint32_t value;
    std::uint32_t clamped;
};

void PrintTo(const ClampRow& row, std::ostream* out) {
    *out << row.name;
}

class DosDateTimeClamp : public ::testing::TestWithParam<ClampRow> {};

TEST_P(DosDateTimeClamp, PullsFieldsIntoRange) {
    EXPECT_EQ(ClampDosDateTime(GetParam().value), GetParam().clamped);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DosDateTimeClamp,
    ::testing::Values(
        ClampRow{"valid_value_unchanged", 0x3E6751EF, 0x3E6751EF},
        ClampRow{"hour_24_becomes_23", Dos(2011, 3, 7, 24, 0, 0), Dos(2011, 3, 7, 23, 0, 0)},
        ClampRow{"minute_60_becomes_59", Dos(2011, 3, 7, 1, 60, 0), Dos(2011, 3, 7, 1, 59, 0)},
        ClampRow{"seconds_62_become_58", Dos(2011, 3, 7, 1, 2, 62), Dos(2011, 3, 7, 1, 2, 58)},
        ClampRow{"year_2100_becomes_2099", Dos(2100, 1, 1, 0, 0, 0), Dos(2099, 1, 1, 0, 0, 0)},
        ClampRow{"month_13_becomes_12", Dos(2011, 13, 1, 0, 0, 0), Dos(2011, 12, 1, 0, 0, 0)},
        ClampRow{"month_0_becomes_1", Dos(2011, 0, 1, 0, 0, 0), Dos(2011, 1, 1, 0, 0, 0)},
        ClampRow{"day_0_becomes_1", Dos(2011, 2, 0, 0, 0, 0), Dos(2011, 2, 1, 0, 0, 0)},
        ClampRow{"day_past_month_end_stays", Dos(2011, 2, 31, 0, 0, 0), Dos(2011, 2, 31, 0, 0, 0)},
        ClampRow{"no_value_is_clamped_too", kNoDosDateTime, Dos(2099, 12, 31, 23, 59, 58)}),
    RowName());

TEST(DosDateTime, OrdersValuesInTimeAndRejectsImpossibleDays) {
    const auto earlier = DosDateTimeKey(Dos(2011, 3, 7, 10, 15, 30));
    const auto later = DosDateTimeKey(Dos(2011, 3, 7, 10, 15, 32));
    const auto nextYear = DosDateTimeKey(Dos(2012, 1, 1, 0, 0, 0));
    ASSERT_TRUE(earlier && later && nextYear);

    EXPECT_LT(*earlier, *later);
    EXPECT_LT(*later, *nextYear);
    EXPECT_FALSE(DosDateTimeKey(Dos(2011, 2, 29, 0, 0, 0)).has_value());
    EXPECT_TRUE(DosDateTimeKey(Dos(2012, 2, 29, 0, 0, 0)).has_value());
}

TEST(DosDateTime, ReadsAFilesModificationTime) {
    ScopedTimeZone zone("UTC0");
    TempFolder temp;
    WriteFile(temp / "dated", "x");
    SetModified(temp / "dated", LocalMoment(2011, 3, 7, 10, 15, 30));

    EXPECT_EQ(FileDosDateTime(temp / "dated"), 0x3E6751EFu);
    EXPECT_EQ(FileDosDateTime(temp / "missing"), ClampDosDateTime(kNoDosDateTime));
}

} // namespace
} // namespace folivane::zip::test
