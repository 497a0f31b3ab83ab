// Reading UTF-8 text one character (code point) at a time.
#pragma once

#include "UnicodeText.h"

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// The character `rest` begins with (not empty), which is then dropped from `rest`. A malformed
// sequence reads as U+FFFD and is dropped as NextUtf8Sequence measures it.
constexpr char32_t TakeCodePoint(std::string_view& rest) {
    const Utf8Sequence sequence = NextUtf8Sequence(rest);
    const auto lead = static_cast<unsigned char>(rest[0]);
    char32_t c = U'\uFFFD';
    if (sequence.valid) {
        if (sequence.length == 1) {
            c = lead;
        } else {
            // The lead byte keeps 7 - length bits of the value, each trail byte 6.
            c = lead & (0x7Fu >> sequence.length);
            for (std::size_t i = 1; i < sequence.length; ++i)
                c = (c << 6) | (static_cast<unsigned char>(rest[i]) & 0x3Fu);
        }
    }
    rest.remove_prefix(sequence.length);
    return c;
}

// Where the last character of `text` (not empty) begins: after at most three continuation
// bytes, so that damaged text is never read past a character's length.
constexpr std::size_t LastCodePointStart(std::string_view text) {
    std::size_t start = text.size() - 1;
    while (start > 0 && text.size() - start < 4 &&
           (static_cast<unsigned char>(text[start]) & 0xC0u) == 0x80u)
        --start;
    return start;
}

// The last character of `text` (not empty); U+FFFD when it is malformed or cut.
constexpr char32_t LastCodePoint(std::string_view text) {
    std::string_view last = text.substr(LastCodePointStart(text));
    const char32_t c = TakeCodePoint(last);
    return last.empty() ? c : U'\uFFFD';
}

// How many characters `utf8` holds, counted by the bytes that do not continue a sequence.
constexpr std::size_t CountCodePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (const char byte : utf8)
        if ((static_cast<unsigned char>(byte) & 0xC0u) != 0x80u) ++count;
    return count;
}

// Han, kana, hangul and the punctuation and full-width forms of CJK text: the characters
// between which lines break without a space.
constexpr bool IsCjkCharacter(char32_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) ||
           (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

} // namespace folivane::engine
