// Time stamps of the book's metadata.
#include "engine/epub/UtcTime.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <ctime>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

struct TimeCase {
    const char* row;
    std::time_t when;
    const char* text; // null: refused
};

class UtcTimestampOf : public testing::TestWithParam<TimeCase> {};

// The machine's own zone must not show: zones ahead of UTC by a part of an hour (India),
// behind it with summer time (Newfoundland), and across the date line give the same text.
// Written as POSIX rules, which need no time zone files.
TEST_P(UtcTimestampOf, IsCalendarTimeInUtcOrRefusedInAnyZone) {
    const TimeCase& c = GetParam();
    for (const char* zone : {"UTC0", "IST-5:30", "NST3:30NDT,M3.2.0,M11.1.0", "LINT-14"}) {
        SCOPED_TRACE(zone);
        const test::ScopedEnv tz("TZ", zone);
        ::tzset();
        if (c.text)
            EXPECT_EQ(UtcTimestamp(c.when), c.text);
        else
            EXPECT_THROW(UtcTimestamp(c.when), ConversionError);
    }
    ::tzset(); // back to the zone of the process
}

const TimeCase kTimeCases[] = {
    {"Epoch", 0, "1970-01-01T00:00:00Z"},
    {"LeapDayOf2000", 951782400, "2000-02-29T00:00:00Z"},
    {"EndOfALeapDay", 1709251199, "2024-02-29T23:59:59Z"},
    {"EndOfALeapYear", 1735689599, "2024-12-31T23:59:59Z"},
    {"BeforeTheEpoch", -1, "1969-12-31T23:59:59Z"},
    {"LastSecondOf9999", 253402300799, "9999-12-31T23:59:59Z"},
    // Five-digit and negative years do not fit the form.
    {"Year10000", 253402300800, nullptr},
    {"YearBeforeZero", -62167219201, nullptr},
};

INSTANTIATE_TEST_SUITE_P(UtcTime, UtcTimestampOf, testing::ValuesIn(kTimeCases),
                         [](const auto& row) { return std::string(row.param.row); });

} // namespace
} // namespace folivane::engine
