// The table of contents of a book: its listed pages, volumes holding their chapters.
#pragma once

#include "ChapterList.h"

#include <cstddef>
#include <vector>

namespace folivane::engine {

struct TocEntry {
    std::size_t page = 0; // the index of the page it points at
    std::vector<TocEntry> children;

    bool operator==(const TocEntry&) const = default;
};

// One entry per listed page, in reading order; a page of Level 1 lies within the last
// top-level entry before it (one with none before it stays at the top).
std::vector<TocEntry> BuildTableOfContents(const TChapterList& chapters);

// 1 for a flat table, 2 when any entry holds others.
int TocDepth(const std::vector<TocEntry>& entries);

} // namespace folivane::engine
