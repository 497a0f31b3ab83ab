// White space and blank text: one definition for headings, names, fields and pages.
#pragma once

#include "CodePoints.h"

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// The white space of text: ASCII space, TAB, LF, VT, FF, CR and the ideographic space
// U+3000, with which Chinese and Japanese text indents.
constexpr bool IsTextSpace(char32_t c) {
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == U'\u3000';
}

// The length in bytes of the white space character `text` begins with; 0 when it begins
// with anything else.
constexpr std::size_t LeadingSpaceLength(std::string_view text) {
    if (text.empty()) return 0;
    if (static_cast<unsigned char>(text.front()) < 0x80)
        return IsTextSpace(static_cast<unsigned char>(text.front())) ? 1 : 0;
    std::string_view rest = text;
    return IsTextSpace(TakeCodePoint(rest)) ? text.size() - rest.size() : 0;
}

// The same for the white space character `text` ends with.
constexpr std::size_t TrailingSpaceLength(std::string_view text) {
    if (text.empty()) return 0;
    if (static_cast<unsigned char>(text.back()) < 0x80)
        return IsTextSpace(static_cast<unsigned char>(text.back())) ? 1 : 0;
    return IsTextSpace(LastCodePoint(text)) ? text.size() - LastCodePointStart(text) : 0;
}

// `text` less its leading and trailing white space.
constexpr std::string_view TrimSpace(std::string_view text) {
    while (const std::size_t space = LeadingSpaceLength(text))
        text.remove_prefix(space);
    while (const std::size_t space = TrailingSpaceLength(text))
        text.remove_suffix(space);
    return text;
}

// Nothing but white space, or nothing at all.
constexpr bool IsBlank(std::string_view text) {
    return TrimSpace(text).empty();
}

// The length of the indentation a line begins with: spaces, tabs and U+3000, which a page
// drops since its style sheet indents.
constexpr std::size_t IndentLength(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t')
            ++i;
        else if (line.substr(i, 3) == "\xE3\x80\x80")
            i += 3;
        else
            break;
    }
    return i;
}

} // namespace folivane::engine
