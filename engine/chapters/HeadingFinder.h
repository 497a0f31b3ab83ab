// Finding the heading lines of a source's text, where its chapters begin.
#pragma once

#include "HeadingRules.h"
#include "Notation.h"
#include "TextNotice.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

struct HeadingLine {
    std::size_t begin; // byte offset of the line's first byte in the text
    std::size_t end;   // offset just past the line's last byte, before its line end
    HeadingKind kind;
    std::string name;      // HeadingName of the line
    bool numbered = false; // found by its number in a sequence, not by a rule

    bool operator==(const HeadingLine&) const = default;
};

// The heading lines of `text` (UTF-8) by `rules`, in order. Lines end at CR LF, LF or a lone CR
// (LF CR is two line ends).
//
// A contents list at the top of the text is left out, so that it does not become a row of
// empty chapters: its lines stay text of whatever chapter holds them. A heading is bare when
// the text up to the next heading (or the end) holds no non-blank line, or one line of at most
// rules.MaxLength() characters. The run of bare headings that starts at the first heading
// begins with a contents list only when its entries come again as the text's headings: the
// list is the headings before the first that repeats the run's first one (the same name, or
// the entry's name followed by a page number), when that repeat stands within the run or just
// after it; or the whole run, when the headings after it repeat at least half of its entries.
// A list has two entries at least. A volume heading just above the repeated first entry that
// the list does not name is the book's real first volume and stays. So short chapters of one
// line each at the top stay chapters, and so do a real first chapter right after the list,
// "第一卷 风起" directly above "第一章 渡口", a single heading, and a book that begins with
// its text. `checkPoint`, when given, is called every few thousand lines and may raise to
// stop; `searched`, when given, then hears how many bytes of the text are searched.
//
// The built-in rules also find headings by their order (HeadingSequences): lines that are
// only a number counting up 1, 2, 3 ... head chapters where they divide the text as chapters
// do (FindNumberedHeadings), and Japanese parts 上, 中, 下 in that order head volumes;
// neither counts towards a contents list. `notices`, when given, receives the numbers that
// such a sequence misses or repeats (their source left 0). With `notation` (the
// layout of a text that uses the notation) a line whose annotation says so is a heading of
// that kind whatever the rules, named by its plain text; other lines are judged by their
// plain text; no heading is looked for in the legend or from the colophon on.
std::vector<HeadingLine> FindHeadings(std::string_view text, const HeadingRules& rules,
                                      const std::function<void()>& checkPoint = {},
                                      const NotationLayout* notation = nullptr,
                                      const std::function<void(std::size_t)>& searched = {},
                                      std::vector<TextNotice>* notices = nullptr);

} // namespace folivane::engine
