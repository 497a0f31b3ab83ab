// How the notation's marks look: the classes its pages use and the style sheet's rules for them.
#pragma once

#include "BookLayout.h"

#include "engine/chapters/Annotation.h"

#include <string>
#include <string_view>

namespace folivane::engine {

// The element and class a style is written with: `tag` opens as <tag class="name">, or as
// <tag> when `name` is empty.
struct StyleMarkup {
    std::string_view tag;
    std::string_view name;
};
StyleMarkup MarkupOf(TextStyle style);

// The class of an emphasis or line on the left of vertical lines (below horizontal ones).
inline constexpr std::string_view kLeftClass = "left";
// Paragraph classes, each followed by a count from 1 to kMaxIndent: the lines begin that many
// characters in; the first line that many further out (hang) or in (lead); the line stands at
// its end that many short of it (raise). "end" alone: at its end.
inline constexpr std::string_view kIndentClass = "indent";
inline constexpr std::string_view kHangClass = "hang";
inline constexpr std::string_view kLeadClass = "lead";
inline constexpr std::string_view kRaiseClass = "raise";
inline constexpr std::string_view kEndClass = "end";
// A character note without a code, a kanbun order mark, a kanbun reading aid.
inline constexpr std::string_view kNoteClass = "note";
inline constexpr std::string_view kKaeritenClass = "kaeriten";
inline constexpr std::string_view kOkuriganaClass = "okurigana";
// Digits set upright as one cell in vertical lines.
inline constexpr std::string_view kUprightClass = "tcy";

// The rules of the style sheet for pages in the notation, for books of `version`, written
// vertically or not: EPUB 3 sets emphasis dots with text-emphasis (prefixed as readers need),
// EPUB 2 books, whose readers have no such property, in bold; indents are from the top of
// vertical lines and from the left of horizontal ones. One rule per selector.
std::string NotationStyleSheet(EpubVersion version, bool vertical);

} // namespace folivane::engine
