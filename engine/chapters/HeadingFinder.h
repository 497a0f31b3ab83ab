// Finding the heading lines of a source's text, where its chapters begin.
#pragma once

#include "HeadingRules.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

struct HeadingLine {
    std::size_t begin; // byte offset of the line's first byte in the text
    std::size_t end;   // offset just past the line's last byte, before its line end
    HeadingKind kind;
    std::string name; // HeadingName of the line

    bool operator==(const HeadingLine&) const = default;
};

// The heading lines of `text` (UTF-8) by `rules`, in order. Lines end at CR LF, LF or a lone CR
// (LF CR is two line ends).
//
// A contents list at the top of the text is left out, so that it does not become a row of
// empty chapters: its lines stay text of whatever chapter holds them. A heading is bare when
// the text up to the next heading (or the end) holds no non-blank line, or one line of at most
// rules.MaxLength() characters. The run of bare headings that starts at the first heading is a
// contents list when it holds at least 3 headings, or 2 whose first has the name of the
// heading that follows the run. A volume heading that ends the run and stands directly above
// (only blank lines between) the first chapter heading with text is the book's real first
// volume: it is kept and not counted in the run. So "第一卷 风起" directly above "第一章 渡口"
// and its text stays, and so does a single heading or a book that begins with its text.
std::vector<HeadingLine> FindHeadings(std::string_view text, const HeadingRules& rules);

} // namespace folivane::engine
