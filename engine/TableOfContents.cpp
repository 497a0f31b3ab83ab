// Listed pages into a two-level tree.
#include "TableOfContents.h"

#include "XmlText.h"

namespace folivane::engine {

std::vector<TocEntry> BuildTableOfContents(const TChapterList& chapters) {
    std::vector<TocEntry> entries;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const FileList& chapter = chapters[i];
        if (!chapter.Listed) continue;
        TocEntry entry{PageLabel(chapter, i), i, {}};
        if (chapter.Level > 0 && !entries.empty())
            entries.back().children.push_back(std::move(entry));
        else
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::string PageLabel(const FileList& page, std::size_t index) {
    // An entry or title without text is one a reader cannot show, and EPUB 3 refuses it.
    if (EscapeXmlText(page.Name).find_first_not_of(" \t\r\n") == std::string::npos)
        return std::to_string(index + 1);
    return page.Name;
}

int TocDepth(const std::vector<TocEntry>& entries) {
    for (const TocEntry& entry : entries)
        if (!entry.children.empty()) return 2;
    return 1;
}

} // namespace folivane::engine
