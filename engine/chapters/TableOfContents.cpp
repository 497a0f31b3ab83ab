// Listed pages into a two-level tree.
#include "TableOfContents.h"

namespace folivane::engine {

std::vector<TocEntry> BuildTableOfContents(const TChapterList& chapters) {
    std::vector<TocEntry> entries;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const FileList& chapter = chapters[i];
        if (!chapter.Listed) continue;
        TocEntry entry{i, {}};
        if (chapter.Level > 0 && !entries.empty())
            entries.back().children.push_back(std::move(entry));
        else
            entries.push_back(std::move(entry));
    }
    return entries;
}

int TocDepth(const std::vector<TocEntry>& entries) {
    for (const TocEntry& entry : entries)
        if (!entry.children.empty()) return 2;
    return 1;
}

} // namespace folivane::engine
