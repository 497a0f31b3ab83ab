// Dates as books carry them: the W3C form of dc:date, read from what users and headers write.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// Whether `date` is a date of the W3C profile of ISO 8601 that dc:date takes without a time:
// YYYY, YYYY-MM or YYYY-MM-DD, with a month and a day the calendar has (2024-02-29, not
// 2023-02-29).
bool IsBookDate(std::string_view date);

// The date in a header's words, as IsBookDate's form: "January 1, 1994", "1 January 1994",
// "June, 1998", "Jan 1994" (English month names, whole or in three letters, any letter case),
// "1994-01-01", "1994", or a Japanese "2004年1月5日" (also with full-width digits and an era
// in brackets after the year: "1938（昭和13）年10月1日"); what follows the date ("[eBook
// #1342]") is ignored. Empty when it holds no such date.
std::string BookDateOf(std::string_view text);

} // namespace folivane::engine
