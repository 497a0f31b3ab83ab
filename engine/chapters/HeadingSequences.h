// Headings known by their order: number lines that count up, Japanese parts 上, 中, 下.
#pragma once

#include "Numerals.h"
#include "TextNotice.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace folivane::engine {

// A line of the text that is only a number (ParseNumberLine), at byte offset `begin`; `line`
// counts the non-blank lines before it, the measure of distance between headings.
struct NumberCandidate {
    std::size_t begin;
    std::size_t line;
    NumberLine number;
};

// A heading found otherwise (by the rules, or a Japanese part), at non-blank line `line`.
struct FoundHeading {
    std::size_t line;
    bool volume;   // a volume heading: number lines after it may start again at 1
    bool numbered; // a chapter heading that carries a number ("Chapter 3", "第三章")
};

struct NumberedHeadings {
    std::vector<std::size_t> indexes; // of the candidates that head chapters, in order
    std::vector<TextNotice> notices;  // numbers missing or repeated among them, in order
};

// The `candidates` (in text order) that head chapters, in a text of `lines` non-blank lines
// whose other headings are `found` (in order). Runs of one style count up 1, 2, 3 ..., one
// number missing or one repeated on the way (1-6, 8-12; a second 7), with three lines at
// least; every volume heading ends the runs before it, and a run may start again at 1 after
// one. Within a run a new one starting at 1 is held apart (a numbered list, a lone 一 said in
// dialogue): when the outer run goes on, the inner one was text; and when the outer run's
// next number comes twice, the first was the inner run's. A skipped number that comes after
// all gives way to it (6, 8 said in the text, 7). A repeated number, or a skip that ends its
// run, that leaves less than half the usual lines on either side is a number said in the text.
// A run is a list, not headings, when it lies between two lines of another run, when its
// numbers are usually less than two lines apart (a list's items, a step and its note), when
// it lies within one numbered chapter found otherwise, or when the runs of its style in its
// part of the text (between volume headings) do not hold a third of that part's lines
// together: chapters divide the text, a list takes a small share of it. Lines out of order
// stay text.
NumberedHeadings FindNumberedHeadings(const std::vector<NumberCandidate>& candidates,
                                      const std::vector<FoundHeading>& found, std::size_t lines);

// The rank of a Japanese part line: 1, 2, 3 for 上, 中, 下 and 11, 12, 13 for 前編, 中編,
// 後編 followed by white space and a title ("上　先生と私"); 0 for any other `trimmed` line.
unsigned JapanesePartRank(std::string_view trimmed);

struct PartCandidate {
    std::size_t begin;
    std::size_t line; // non-blank lines before it
    unsigned rank;
};

// The indexes of the `candidates` (in text order) that are the book's parts: the first that
// opens a series (上, 前編) and those after it of the same series that come later in it
// (中 or 下 after 上, then 下), when there are two at least; none otherwise.
std::vector<std::size_t> JapanesePartIndexes(const std::vector<PartCandidate>& candidates);

} // namespace folivane::engine
