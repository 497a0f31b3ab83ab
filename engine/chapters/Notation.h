// The notation of Japanese archive texts: ruby readings in 《》, ｜ before a ruby base,
// annotations in ［＃…］, a legend between dashed lines and a colophon from 底本：.
#pragma once

#include "HeadingKind.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace folivane::engine {

// A piece of a line: text, or a ruby base with its reading.
struct NotationPiece {
    std::string_view text;
    std::string_view reading; // empty: plain text
};

// Cuts `line` (UTF-8, one line) into `pieces` (cleared first). A reading is 《…》 holding only
// kana and ー, directly after its base: the characters after ｜, or else the run of one kind
// (kanji, katakana, hiragana, Latin letters and digits) before 《. ｜ goes where it starts a
// base and stays elsewhere; a 《…》 holding anything else, or with no base, stays text
// (《史記》). Annotations ［＃…］ are left out. Returns whether the line held an annotation.
bool SplitNotation(std::string_view line, std::vector<NotationPiece>& pieces);

// `line` as it reads without the notation: its text and ruby bases, readings and annotations
// left out.
std::string PlainNotationText(std::string_view line);

// The heading a line's annotation makes it: 大見出し a volume, 中見出し a chapter.
HeadingKind AnnotatedHeading(std::string_view line);

// Where a source that uses the notation has its parts. Offsets are line starts; npos: none.
struct NotationLayout {
    static constexpr std::size_t npos = std::string_view::npos;
    bool used = false;                // a legend, or annotations
    std::size_t legendBegin = npos;   // the first dashed line
    std::size_t legendEnd = npos;     // just past the closing dashed line's line end
    std::size_t colophonBegin = npos; // the line that begins with 底本：
    std::vector<std::size_t> pageBreaks; // lines of 改ページ (改丁, 改見開き) and nothing else
};

// The layout of `text` (UTF-8). The legend is the text between the first two lines of dashes
// when it explains the notation (names 《》, ［＃］ or 記号). Cheap for text without 《 or ［＃.
NotationLayout FindNotationLayout(std::string_view text);

// Whether every line of `text` is blank once its annotations are left out.
bool IsNotationBlank(std::string_view text);

// The first two non-blank lines of `text`, as plain text: the title and author lines of a
// text in the notation. Empty strings for lines it lacks.
std::pair<std::string, std::string> NotationTitleAndAuthor(std::string_view text);

} // namespace folivane::engine
