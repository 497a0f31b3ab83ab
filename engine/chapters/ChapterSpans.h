// Where the chapters of one source lie in its text, found from its headings, its archive
// sections or its notation, before any page is made.
#pragma once

#include "ChapterList.h"
#include "HeadingFinder.h"
#include "Notation.h"
#include "PageCuts.h"
#include "TextSections.h"

#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// One chapter of a source: its text, its name and kind, and how it becomes pages.
struct ChapterSpan {
    PageRange range;
    std::string name;
    HeadingKind heading = HeadingKind::None;
    bool listed = true;
    bool topLevel = false; // outside any volume, as a colophon is
    PageRole role = PageRole::Text;
    int level = 0;         // 1 within the volume before it
    bool cut = false;      // cut into pages of at most kSizeLimit
    bool numbered = false; // each of its pages listed under its name and number
    bool byNumber = false; // headed by a number line of a sequence
};

// What the chapters of one source are found from.
struct SourceLayout {
    std::string_view text;                    // decoded
    std::string name;                         // the source's, for text without a heading
    TextSections sections;                    // an archive's header and end; all body otherwise
    std::vector<HeadingLine> headings;        // in the text's order, within the body
    const NotationLayout* notation = nullptr; // null: the text does not use the notation
    bool large = false;                       // the file is over kSizeLimit
};

// The layout of `text` when it uses the notation and is Japanese; an unused one otherwise.
NotationLayout NotationOf(std::string_view text);

// The chapters of a source in text order. `inVolume` says whether the text before it lies
// within a volume, and is left saying so for the text after it.
std::vector<ChapterSpan> FindChapterSpans(const SourceLayout& source, bool& inVolume);

} // namespace folivane::engine
