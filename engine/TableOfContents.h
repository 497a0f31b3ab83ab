// The table of contents of a book: its listed pages, volumes holding their chapters.
#pragma once

#include "ChapterList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace folivane::engine {

struct TocEntry {
    std::string label;
    std::size_t page = 0; // the index of the page it points at
    std::vector<TocEntry> children;
};

// One entry per listed page, in reading order, labelled by PageLabel; a page of Level 1 lies
// within the last top-level entry before it (one with none before it stays at the top).
std::vector<TocEntry> BuildTableOfContents(const TChapterList& chapters);

// What names the page at `index` in the table of contents and in its title: its name, or its
// number in the book (from 1) when the name would show nothing once escaped for XML (empty,
// white space or only characters XML forbids), as a file named " .txt" gives.
std::string PageLabel(const FileList& page, std::size_t index);

// 1 for a flat table, 2 when any entry holds others.
int TocDepth(const std::vector<TocEntry>& entries);

} // namespace folivane::engine
