// Reading numbers by hand: kanji with their multipliers, digits of either width, Roman letters.
#include "Numerals.h"

#include "engine/text/AsciiText.h"
#include "engine/text/CodePoints.h"
#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <string>

namespace folivane::engine {
namespace {

// Chapters beyond this number are none a book has; longer numbers are years and counts.
constexpr unsigned kLargestNumber = 9999;

constexpr std::u32string_view kKanjiDigits = U"〇一二三四五六七八九";
constexpr std::u32string_view kClosingMarks = U".、．";

enum Numerals : unsigned { Kanji = 1, Digits, WideDigits, RomanUpper, RomanLower };

// One decimal place of an upper-case Roman numeral, written with that place's letters for one,
// five and ten: one-ten (IX), one-five (IV), or an optional five and up to three ones (VIII).
unsigned TakeRomanPlace(std::string_view& text, char one, char five, char ten) {
    if (text.size() >= 2 && text[0] == one && (text[1] == ten || text[1] == five)) {
        const unsigned value = text[1] == ten ? 9 : 4;
        text.remove_prefix(2);
        return value;
    }
    unsigned value = 0;
    if (!text.empty() && text[0] == five) {
        text.remove_prefix(1);
        value = 5;
    }
    for (int i = 0; i < 3 && !text.empty() && text[0] == one; ++i) {
        text.remove_prefix(1);
        ++value;
    }
    return value;
}

bool IsKanjiNumeral(char32_t c) {
    return kKanjiDigits.find(c) != std::u32string_view::npos || c == U'十' || c == U'百' ||
           c == U'千';
}

} // namespace

unsigned RomanNumeralValue(std::string_view word) {
    if (word.empty() || word.size() > 15) return 0;
    const bool lower = std::ranges::all_of(word, IsAsciiLower);
    if (!lower && std::ranges::any_of(word, IsAsciiLower)) return 0;
    const std::string upper = AsciiUppered(word);
    std::string_view rest = upper;
    unsigned value = 0;
    for (int i = 0; i < 3 && !rest.empty() && rest[0] == 'M'; ++i) {
        rest.remove_prefix(1);
        value += 1000;
    }
    value += 100 * TakeRomanPlace(rest, 'C', 'D', 'M');
    value += 10 * TakeRomanPlace(rest, 'X', 'L', 'C');
    value += TakeRomanPlace(rest, 'I', 'V', 'X');
    return rest.empty() ? value : 0;
}

unsigned KanjiNumeralValue(std::string_view text) {
    if (text.empty()) return 0;
    unsigned total = 0;
    unsigned lastUnit = 10000; // multipliers must fall: 百 after 千, never 千 after 百
    unsigned digits = 0;
    bool inDigits = false;
    while (!text.empty()) {
        const char32_t c = TakeCodePoint(text);
        const std::size_t digit = kKanjiDigits.find(c);
        if (digit != std::u32string_view::npos) {
            // Positional digits (一〇五) run on; a digit before a multiplier is one place.
            digits = digits * 10 + static_cast<unsigned>(digit);
            inDigits = true;
            if (digits > kLargestNumber) return 0;
            continue;
        }
        const unsigned unit = c == U'十' ? 10 : c == U'百' ? 100 : c == U'千' ? 1000 : 0;
        if (unit == 0 || unit >= lastUnit || digits > 9 || (inDigits && digits == 0)) return 0;
        total += (inDigits ? digits : 1) * unit;
        lastUnit = unit;
        digits = 0;
        inDigits = false;
    }
    total += digits;
    return total <= kLargestNumber ? total : 0;
}

std::optional<NumberLine> ParseNumberLine(std::string_view trimmed) {
    if (trimmed.empty()) return std::nullopt;
    std::string_view rest = trimmed;
    const char32_t first = TakeCodePoint(rest);
    rest = trimmed;
    unsigned value = 0;
    unsigned numerals = 0;
    // The number: the longest run of one kind of numeral the line begins with.
    const auto takeWhile = [&](auto test) {
        std::string_view number = rest;
        std::size_t length = 0;
        while (!rest.empty()) {
            std::string_view next = rest;
            if (!test(TakeCodePoint(next))) break;
            length += rest.size() - next.size();
            rest = next;
        }
        return number.substr(0, length);
    };
    if (IsKanjiNumeral(first)) {
        numerals = Kanji;
        value = KanjiNumeralValue(takeWhile(IsKanjiNumeral));
    } else if (first >= U'0' && first <= U'9') {
        numerals = Digits;
        const std::string_view number =
            takeWhile([](char32_t c) { return c >= U'0' && c <= U'9'; });
        if (number.size() <= 4) value = static_cast<unsigned>(std::stoul(std::string(number)));
    } else if (first >= U'０' && first <= U'９') {
        numerals = WideDigits;
        const std::string_view number =
            takeWhile([](char32_t c) { return c >= U'０' && c <= U'９'; });
        std::string_view digits = number;
        while (!digits.empty() && value <= kLargestNumber)
            value = value * 10 + static_cast<unsigned>(TakeCodePoint(digits) - U'０');
    } else if (first < 0x80 && std::string_view("IVXLCDMivxlcdm").find(static_cast<char>(first)) !=
                                   std::string_view::npos) {
        numerals = IsAsciiLower(static_cast<char>(first)) ? RomanLower : RomanUpper;
        value = RomanNumeralValue(
            takeWhile([](char32_t c) { return c < 0x80 && IsAsciiLetter(static_cast<char>(c)); }));
    } else {
        return std::nullopt;
    }
    if (value == 0 || value > kLargestNumber) return std::nullopt;
    // The closing mark, then nothing or a title after white space ("12b", "一人" are words).
    unsigned closing = 0;
    if (!rest.empty()) {
        std::string_view next = rest;
        const std::size_t mark = kClosingMarks.find(TakeCodePoint(next));
        if (mark != std::u32string_view::npos) {
            closing = static_cast<unsigned>(mark) + 1;
            rest = next;
        }
    }
    if (!rest.empty() && LeadingSpaceLength(rest) == 0) return std::nullopt;
    // Latin lines begin with "I" and "1" in running text ("I think", "1 cup of flour"): a
    // title after Latin numerals needs the closing mark.
    const bool latin = numerals == Digits || numerals == RomanUpper || numerals == RomanLower;
    if (!rest.empty() && latin && closing == 0) return std::nullopt;
    return NumberLine{value, numerals * 4 + closing};
}

} // namespace folivane::engine
