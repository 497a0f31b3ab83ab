// Numbers written as kanji, digits or Roman numerals, and lines that hold nothing but one.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace folivane::engine {

// The value of `word` as a Roman numeral of one letter case (XII, xii) from 1 to 3999; 0
// when it is none.
unsigned RomanNumeralValue(std::string_view word);

// The value of kanji numerals: positional (一〇五) or with 十, 百 and 千 in falling order
// (五十六, 百二, 千九百); 0 when `text` is not one.
unsigned KanjiNumeralValue(std::string_view text);

// A line that is only a number, optionally closed by ".", "、" or "．" and followed by a title
// after white space: "一", "12.", "１２", "一　先生", "XII. The Return". After Latin numerals a
// title needs the closing mark. `style` tells the way of writing
// apart (numerals and closing mark), so that a numbered list in other numerals is never taken
// for the next chapter.
struct NumberLine {
    unsigned value;
    unsigned style;
};

// `trimmed`: a trimmed line. Looks at its first character before anything dearer.
std::optional<NumberLine> ParseNumberLine(std::string_view trimmed);

} // namespace folivane::engine
