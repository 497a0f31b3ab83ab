// White space and blank text: one definition for headings, names, fields and pages.
#pragma once

#include "CodePoints.h"

#include <cstddef>
#include <string_view>

namespace folivane::engine {

// The white space of text: ASCII space, TAB, LF, VT, FF, CR; the ideographic space U+3000,
// with which Chinese and Japanese text indents; the other spaces of Unicode (NEL, no-break
// space, Ogham space, the fixed-width spaces U+2000-U+200A, line and paragraph separators,
// narrow no-break space, medium mathematical space), which word processors and web pages
// indent and align with; and U+FEFF, a byte-order mark left inside a text where files were
// joined. A reader shows none of them as anything but space, so names and headings are
// trimmed of them and text of nothing else is blank; IndentLength alone keeps to its own
// characters, so that a paragraph keeps the spaces it was written with.
constexpr bool IsTextSpace(char32_t c) {
    if (c < 0x80) return c == U' ' || (c >= U'\t' && c <= U'\r');
    return c == U'\u0085' || c == U'\u00A0' || c == U'\u1680' ||
           (c >= U'\u2000' && c <= U'\u200A') || c == U'\u2028' || c == U'\u2029' ||
           c == U'\u202F' || c == U'\u205F' || c == U'\u3000' || c == U'\uFEFF';
}

// Whether a character whose UTF-8 begins with `lead`, a byte above ASCII, may be white space:
// C2 begins U+0085 and U+00A0, E1 U+1680, E2 U+2000-U+205F, E3 U+3000 and EF U+FEFF. The
// characters of CJK text mostly begin otherwise, and are passed over without decoding.
constexpr bool MayBeginSpace(unsigned char lead) {
    return lead == 0xC2 || (lead >= 0xE1 && lead <= 0xE3) || lead == 0xEF;
}

// The length of the white space character above ASCII that `text` (not empty) begins with;
// 0 when it begins with anything else. U+3000, with which CJK text indents, is told by its
// bytes, E3 80 80, as no other space begins with E3.
constexpr std::size_t WideSpaceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead == 0xE3) return text.size() >= 3 && text[1] == '\x80' && text[2] == '\x80' ? 3 : 0;
    if (!MayBeginSpace(lead)) return 0;
    std::string_view rest = text;
    return IsTextSpace(TakeCodePoint(rest)) ? text.size() - rest.size() : 0;
}

// The length in bytes of the white space character `text` begins with; 0 when it begins
// with anything else.
constexpr std::size_t LeadingSpaceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) return IsTextSpace(lead) ? 1 : 0;
    return WideSpaceLength(text);
}

// The same for the white space character `text` ends with.
constexpr std::size_t TrailingSpaceLength(std::string_view text) {
    if (text.empty()) return 0;
    if (static_cast<unsigned char>(text.back()) < 0x80)
        return IsTextSpace(static_cast<unsigned char>(text.back())) ? 1 : 0;
    const std::size_t start = LastCodePointStart(text);
    const std::size_t space = WideSpaceLength(text.substr(start));
    return space == text.size() - start ? space : 0;
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
