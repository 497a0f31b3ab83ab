// nav.xhtml, the navigation document of an EPUB 3 book.
#pragma once

#include "BookMetadata.h"

#include "engine/chapters/ChapterList.h"

#include <string>

namespace folivane::engine {

// The table of contents as toc.ncx has it (BuildTableOfContents: the same entries, labels,
// pages and nesting, a volume's chapters in an <ol> within its <li>), and landmarks for the
// title page (when `hasCover`) and the first page of the text, in the book's language.
std::string BuildNavigationDocument(const BookMetadata& book, const TChapterList& chapters,
                                    bool hasCover);

} // namespace folivane::engine
