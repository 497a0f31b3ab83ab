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

// Date and time fields as Python's zipfile, another writer, packs them: the dates in the
// comments, some of them impossible, as an archive may hold them.
constexpr std::uint32_t k20110307_240000 = 0x3E67C000;
constexpr std::uint32_t k20110307_230000 = 0x3E67B800;
constexpr std::uint32_t k20110307_016000 = 0x3E670F80;
constexpr std::uint32_t k20110307_015900 = 0x3E670F60;
constexpr std::uint32_t k20110307_010262 = 0x3E67085F;
constexpr std::uint32_t k20110307_010258 = 0x3E67085D;
constexpr std::uint32_t k20110307_101530 = 0x3E6751EF;
constexpr std::uint32_t k20110307_101532 = 0x3E6751F0;
constexpr std::uint32_t k21000101 = 0xF0210000;
constexpr std::uint32_t k20990101 = 0xEE210000;
constexpr std::uint32_t k20991231_235958 = 0xEF9FBF7D;
constexpr std::uint32_t k20111301 = 0x3FA10000;
constexpr std::uint32_t k20111201 = 0x3F810000;
constexpr std::uint32_t k20110001 = 0x3E010000;
constexpr std::uint32_t k20110101 = 0x3E210000;
constexpr std::uint32_t k20110200 = 0x3E400000;
constexpr std::uint32_t k20110201 = 0x3E410000;
constexpr std::uint32_t k20110229 = 0x3E5D0000;
constexpr std::uint32_t k20110231 = 0x3E5F0000;
constexpr std::uint32_t k20120101 = 0x40210000;
constexpr std::uint32_t k20120229 = 0x405D0000;

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
    ::testing::Values(ClampRow{"valid_value_unchanged", k20110307_101530, k20110307_101530},
                      ClampRow{"hour_24_becomes_23", k20110307_240000, k20110307_230000},
                      ClampRow{"minute_60_becomes_59", k20110307_016000, k20110307_015900},
                      ClampRow{"seconds_62_become_58", k20110307_010262, k20110307_010258},
                      ClampRow{"year_2100_becomes_2099", k21000101, k20990101},
                      ClampRow{"month_13_becomes_12", k20111301, k20111201},
                      ClampRow{"month_0_becomes_1", k20110001, k20110101},
                      ClampRow{"day_0_becomes_1", k20110200, k20110201},
                      ClampRow{"day_past_month_end_stays", k20110231, k20110231},
                      ClampRow{"no_value_is_clamped_too", kNoDosDateTime, k20991231_235958}),
    RowName());

TEST(DosDateTime, OrdersValuesInTimeAndRejectsImpossibleDays) {
    const auto earlier = DosDateTimeKey(k20110307_101530);
    const auto later = DosDateTimeKey(k20110307_101532);
    const auto nextYear = DosDateTimeKey(k20120101);
    ASSERT_TRUE(earlier && later && nextYear);

    EXPECT_LT(*earlier, *later);
    EXPECT_LT(*later, *nextYear);
    EXPECT_FALSE(DosDateTimeKey(k20110229).has_value());
    EXPECT_TRUE(DosDateTimeKey(k20120229).has_value());
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
