// ISBN check digits: ISBN-10 weighs the digits 10 down to 1 (modulo 11), ISBN-13 alternately
// 1 and 3 (modulo 10).
#include "Isbn.h"

#include "engine/text/AsciiText.h"
#include "engine/text/WhiteSpace.h"

namespace folivane::engine {
namespace {

std::string_view WithoutPrefix(std::string_view text) {
    text = TrimSpace(text);
    for (const std::string_view prefix : {"urn:isbn:", "isbn-13:", "isbn-10:", "isbn:", "isbn"})
        if (text.size() >= prefix.size() &&
            EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix))
            return TrimSpace(text.substr(prefix.size()));
    return text;
}

char Isbn10Check(std::string_view digits) {
    int sum = 0;
    for (std::size_t i = 0; i < 9; ++i)
        sum += (10 - static_cast<int>(i)) * (digits[i] - '0');
    const int check = (11 - sum % 11) % 11;
    return check == 10 ? 'X' : static_cast<char>('0' + check);
}

char Isbn13Check(std::string_view digits) {
    int sum = 0;
    for (std::size_t i = 0; i < 12; ++i)
        sum += (i % 2 == 0 ? 1 : 3) * (digits[i] - '0');
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

} // namespace

IsbnCheck CheckIsbn(std::string_view text) {
    const std::string quoted = "\"" + std::string(TrimSpace(text)) + "\"";
    std::string isbn;
    for (const char c : WithoutPrefix(text)) {
        if (c == '-' || c == ' ') continue;
        if (!IsAsciiDigit(c) && c != 'X' && c != 'x')
            return {{},
                    quoted + " is not an ISBN: an ISBN holds only digits, hyphens and a final X"};
        isbn += AsciiUpper(c);
    }
    const std::size_t x = isbn.find('X');
    if (isbn.size() != 10 && isbn.size() != 13)
        return {{},
                quoted + " is not an ISBN: it has " + std::to_string(isbn.size()) +
                    " digits, an ISBN has 10 or 13"};
    if (x != std::string::npos && (isbn.size() != 10 || x != 9))
        return {{}, quoted + " is not an ISBN: only the last character of an ISBN-10 may be X"};
    if (isbn.size() == 13 && !isbn.starts_with("978") && !isbn.starts_with("979"))
        return {{}, quoted + " is not an ISBN: an ISBN-13 begins with 978 or 979"};
    const char check = isbn.size() == 10 ? Isbn10Check(isbn) : Isbn13Check(isbn);
    if (isbn.back() != check)
        return {{},
                quoted + " is not a valid ISBN: its check digit is " + isbn.back() +
                    ", the digits before it give " + check + " (a digit mistyped?)"};
    return {isbn, {}};
}

} // namespace folivane::engine
