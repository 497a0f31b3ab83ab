// Time stamps of the book's metadata.
#include "engine/epub/UtcTime.h"
#include "engine/text/ConversionError.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

struct TimeCase {
    const char* row;
    std::time_t when;
    const char* text; // null: refused
};

class UtcTimestampOf : public testing::TestWithParam<TimeCase> {};

TEST_P(UtcTimestampOf, IsCalendarTimeInUtcOrRefused) {
    const TimeCase& c = GetParam();
    if (c.text)
        EXPECT_EQ(UtcTimestamp(c.when), c.text);
    else
        EXPECT_THROW(UtcTimestamp(c.when), ConversionError);
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
