// The paragraphs of a page's text, as its source's shape makes them.
#pragma once

#include "ParagraphStyle.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace folivane::engine {

enum class ParagraphKind {
    Text,       // its lines joined into one run of text
    Verse,      // its lines kept, each on a line of its own
    Quote,      // lines quoted with ">" (as mail quotes), kept; the marks give the depth
    Code,       // indented lines of a listing, kept with their indentation
    BreakMarks, // a scene break written with marks ("* * *"), kept
    BreakGap,   // a scene break made of a long run of blank lines
};

// A paragraph: its kind and its lines, text[begin, end) (line ends included between them;
// empty for a BreakGap).
struct Paragraph {
    ParagraphKind kind = ParagraphKind::Text;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Whether `line` is a scene break written with marks: three or more of * ＊ ※ # - — = ~ ·
// • ◇ ◆ ○ ●, with white space between them allowed, and nothing else.
bool IsBreakLine(std::string_view line);

// The length of `line` in characters, without the white space around it.
std::size_t LineWidth(std::string_view line);

// Whether a line of `width` characters was ended on purpose: the first word of `next` (one
// CJK character, or up to a space) would have fitted after it within `wrapWidth`.
bool EndedBeforeWrap(std::size_t width, std::string_view next, std::size_t wrapWidth);

// Whether `line` is quoted as mail quotes: ">" after at most three spaces.
bool IsQuoteLine(std::string_view line);

// The paragraphs of `text` in order; blank lines part paragraphs and make no paragraph of
// their own. Every non-blank line lies in exactly one paragraph. Whatever the style, lines
// quoted with ">" next to each other are one Quote. A block of joined lines (Blocks,
// Indented) keeps its lines, as Verse, when none of them was wrapped (each ended before the
// next word would have reached the wrap width: an address, verse in prose), or when it reads
// as a stanza: each line after the first begins with a capital letter and at most half of
// the lines before the last end a sentence (two lines: neither does). In Blocks style a
// block of two lines or more, each indented by a tab or four spaces, that holds a mark of
// code ({ } = < > [ ] \ | _ # $ or "()") is Code.
std::vector<Paragraph> BuildParagraphs(std::string_view text, const ParagraphShape& shape);

// Whether a page may begin at the line starting at `at` without cutting a paragraph: after a
// blank line, at any line in Lines style, at an indented line in Indented style.
bool StartsParagraph(std::string_view text, std::size_t previousLine, std::size_t at,
                     ParagraphStyle style);

} // namespace folivane::engine
