// nav.xhtml, the navigation document of an EPUB 3 book, and the contents page of an EPUB 2 one.
#pragma once

#include "BookMetadata.h"

#include "engine/chapters/ChapterList.h"

#include <string>

namespace folivane::engine {

// The table of contents as toc.ncx has it (BuildTableOfContents: the same entries, labels,
// pages and nesting, a volume's chapters in an <ol> within its <li>), and landmarks for the
// title page (when `hasCover`), the contents and the first page of the text (bodymatter), in
// the book's language.
std::string BuildNavigationDocument(const BookMetadata& book, const TChapterList& chapters,
                                    bool hasCover);

// The same table of contents as an XHTML 1.1 page of an EPUB 2 book (kContentsPageFile), for
// the guide's "toc" reference: the book's title as its heading, then the nested lists.
std::string BuildContentsPage(const BookMetadata& book, const TChapterList& chapters);

} // namespace folivane::engine
