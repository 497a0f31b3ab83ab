// The notation of Japanese archive texts: ruby readings in 《》, ｜ before a ruby base,
// annotations in ［＃…］, a legend between dashed lines and a colophon from 底本：.
#pragma once

#include "HeadingKind.h"
#include "NotationLine.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace folivane::engine {

// The heading a line's annotation makes it: 大見出し a volume, 中見出し a chapter; a line
// that opens a block of heading lines (ここから中見出し) too.
HeadingKind AnnotatedHeading(std::string_view line);

// Where the heading that `text` begins with ends: past the line that closes a block of
// heading lines the first line opens (ここから…見出し ... ここで…見出し終わり), or past its
// first line of text when none closes it within kLongestHeadingBlock lines; else past the
// first line (its line end too).
std::size_t NotationHeadingEnd(std::string_view text);
inline constexpr std::size_t kLongestHeadingBlock = 8;

// The heading's lines, text[0, NotationHeadingEnd), as plain text joined by a space.
std::string NotationHeadingText(std::string_view text);

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

// The annotations of `text` that ask for nothing this program does, outside the legend:
// how many, and the first few different ones as they stand.
struct UnknownAnnotations {
    std::size_t count = 0;
    std::vector<std::string> examples;
};
UnknownAnnotations FindUnknownAnnotations(std::string_view text, const NotationLayout& layout);
inline constexpr std::size_t kUnknownExamples = 3;

// Whether every line of `text` is blank once its annotations are left out.
bool IsNotationBlank(std::string_view text);

// The first two non-blank lines of `text`, as plain text: the title and author lines of a
// text in the notation. Empty strings for lines it lacks.
std::pair<std::string, std::string> NotationTitleAndAuthor(std::string_view text);

} // namespace folivane::engine
