// Headings known by their order: number lines that count up, Japanese parts 上, 中, 下.
#pragma once

#include "Numerals.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace folivane::engine {

// A line of the text that is only a number (ParseNumberLine), at byte offset `begin`.
struct NumberCandidate {
    std::size_t begin;
    NumberLine number;
};

// The indexes, in order, of the `candidates` (in text order) that head chapters: runs of one
// style numbered 1, 2, 3 ... with three lines at least. A run may restart at 1; every volume
// heading (`volumeBegins`, in order) ends the runs before it. Within a run a new one starting
// at 1 is held apart (a numbered list inside a chapter, a lone 一 said in dialogue): when
// the outer run goes on, the inner one was text; so is a run of another style that lies
// between two lines of a run. Lines out of order stay text.
std::vector<std::size_t> NumberedHeadingIndexes(const std::vector<NumberCandidate>& candidates,
                                                const std::vector<std::size_t>& volumeBegins);

// The rank of a Japanese part line: 1, 2, 3 for 上, 中, 下 and 11, 12, 13 for 前編, 中編,
// 後編 followed by white space and a title ("上　先生と私"); 0 for any other `trimmed` line.
unsigned JapanesePartRank(std::string_view trimmed);

struct PartCandidate {
    std::size_t begin;
    unsigned rank;
};

// The indexes of the `candidates` (in text order) that are the book's parts: the first that
// opens a series (上, 前編) and those after it of the same series that come later in it
// (中 or 下 after 上, then 下), when there are two at least; none otherwise.
std::vector<std::size_t> JapanesePartIndexes(const std::vector<PartCandidate>& candidates);

} // namespace folivane::engine
