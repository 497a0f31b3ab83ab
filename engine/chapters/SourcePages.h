// The pages of one source, made from its chapters: held in memory or kept as pieces.
#pragma once

#include "ChapterList.h"
#include "ChapterSpans.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace folivane::engine {

// What every page of a source shares.
struct SourcePageFacts {
    std::string path;
    std::size_t index = 0;
    std::shared_ptr<const std::string> text; // held for the pages; null: kept as pieces
    ParagraphShape paragraphs;
    bool notation = false;
    // Told where each page made ends in the text: keeping a piece takes a while.
    std::function<void(std::size_t end)> pageMade = {};
};

// Makes the pages of one source. A source whose text is not held has each page kept in
// `pieces` as it is made, from the text read at the start.
class SourcePages {
public:
    SourcePages(SourcePageFacts facts, PieceStore* pieces)
        : facts_(std::move(facts)), pieces_(pieces) {}

    // One chapter of `text` (the source's decoded text), cut into pages when span.cut is
    // set, and then each page listed under a name with its number (span.numbered), or only
    // the first one under the chapter's name. The first page takes the span's role.
    void AddChapter(std::string_view text, const ChapterSpan& span, TChapterList& chapters);

private:
    SourcePageFacts facts_;
    PieceStore* pieces_;
    int kept_ = 0;
    std::size_t numbered_ = 0; // pages listed under the name with a number, so far
};

} // namespace folivane::engine
