// Reading dates in the forms headers write them.
#include "CalendarDate.h"

#include "AsciiText.h"
#include "CodePoints.h"

#include <array>
#include <optional>
#include <vector>

namespace folivane::engine {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string TwoDigits(int value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

// "YYYY", "YYYY-MM" or "YYYY-MM-DD" when the parts make a date; month and day 0 for none.
std::string Compose(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 0 || month > 12) return std::string();
    if (day != 0 && (month == 0 || day < 1 || day > DaysIn(year, month))) return std::string();
    std::string date = std::to_string(year);
    date.insert(0, 4 - date.size(), '0');
    if (month != 0) date += "-" + TwoDigits(month);
    if (day != 0) date += "-" + TwoDigits(day);
    return date;
}

// The text as words and numbers: full-width digits as ASCII ones, letters lowered, what
// stands in round brackets (a Japanese era: "1938（昭和13）年") left out.
struct Token {
    std::string text;
    bool number = false;
    char32_t after = 0;  // the character that ends it
    char32_t before = 0; // the last character before it that is no letter or digit
};

std::vector<Token> Tokens(std::string_view text) {
    std::vector<Token> tokens;
    Token current;
    const auto flush = [&](char32_t after) {
        if (!current.text.empty()) {
            current.after = after;
            tokens.push_back(std::move(current));
        }
        current = Token();
    };
    int brackets = 0;
    char32_t last = 0;
    for (std::string_view rest = text; !rest.empty();) {
        char32_t c = TakeCodePoint(rest);
        if (c == U'（' || c == U'(') ++brackets;
        if (brackets > 0) {
            if ((c == U'）' || c == U')')) --brackets;
            continue;
        }
        if (c >= U'０' && c <= U'９') c = c - U'０' + U'0';
        const bool digit = c >= U'0' && c <= U'9';
        const bool letter = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
        if ((digit || letter) && !current.text.empty() && current.number != digit) flush(0);
        if (digit || letter) {
            if (current.text.empty()) current.before = last;
            current.number = digit;
            current.text += AsciiLower(static_cast<char>(c));
        } else {
            flush(c);
            last = c;
        }
    }
    flush(0);
    return tokens;
}

int MonthOf(const std::string& word) {
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (word == kMonths[i] || (word.size() == 3 && kMonths[i].starts_with(word)))
            return static_cast<int>(i) + 1;
    return 0;
}

std::optional<int> NumberOf(const Token& token, std::size_t maxDigits) {
    if (!token.number || token.text.size() > maxDigits) return std::nullopt;
    return std::stoi(token.text);
}

} // namespace

bool IsBookDate(std::string_view date) {
    const auto digits = [&](std::size_t at, std::size_t count) {
        for (std::size_t i = at; i < at + count; ++i)
            if (i >= date.size() || !IsAsciiDigit(date[i])) return false;
        return true;
    };
    if (!(date.size() == 4 || date.size() == 7 || date.size() == 10) || !digits(0, 4)) return false;
    int month = 0, day = 0;
    if (date.size() >= 7) {
        if (date[4] != '-' || !digits(5, 2)) return false;
        month = (date[5] - '0') * 10 + (date[6] - '0');
        if (month == 0) return false;
    }
    if (date.size() == 10) {
        if (date[7] != '-' || !digits(8, 2)) return false;
        day = (date[8] - '0') * 10 + (date[9] - '0');
        if (day == 0) return false;
    }
    const int year = std::stoi(std::string(date.substr(0, 4)));
    return !Compose(year, month, day).empty();
}

std::string BookDateOf(std::string_view text) {
    const std::vector<Token> tokens = Tokens(text);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const Token* next = i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
        const Token* third = i + 2 < tokens.size() ? &tokens[i + 2] : nullptr;
        if (const int month = t.number ? 0 : MonthOf(t.text); month != 0 && next) {
            // "January 1, 1994" or "June, 1998" / "Jan 1994".
            if (third && next->text.size() <= 2 && third->text.size() == 4 && third->number)
                return Compose(std::stoi(third->text), month, std::stoi(next->text));
            if (next->number && next->text.size() == 4)
                return Compose(std::stoi(next->text), month, 0);
            continue;
        }
        if (!t.number) continue;
        // "1 January 1994".
        if (t.text.size() <= 2 && next && !next->number && third && third->number &&
            third->text.size() == 4 && MonthOf(next->text) != 0)
            return Compose(std::stoi(third->text), MonthOf(next->text), std::stoi(t.text));
        // "#1342" is a number of the archive's, not a year.
        if (t.text.size() != 4 || t.before == U'#') continue;
        const int year = std::stoi(t.text);
        // "1994-01-01", "1994-01".
        if (t.after == U'-' && next) {
            const std::optional<int> month = NumberOf(*next, 2);
            const std::optional<int> day =
                next->after == U'-' && third ? NumberOf(*third, 2) : std::nullopt;
            if (month) return Compose(year, *month, day.value_or(0));
        }
        // "2004年1月5日".
        if (t.after == U'年') {
            const std::optional<int> month =
                next && next->after == U'月' ? NumberOf(*next, 2) : std::nullopt;
            const std::optional<int> day =
                month && third && third->after == U'日' ? NumberOf(*third, 2) : std::nullopt;
            return Compose(year, month.value_or(0), day.value_or(0));
        }
        return Compose(year, 0, 0);
    }
    return std::string();
}

} // namespace folivane::engine
