// OEBPS/toc.ncx: the table of contents as EPUB 2 readers read it.
#pragma once

#include "BookMetadata.h"

#include "engine/chapters/ChapterList.h"

#include <string>

namespace folivane::engine {

// toc.ncx with one navigation point per listed page, labelled by PageLabel, those of a
// volume's chapters nested in the volume's (BuildTableOfContents). EPUB 3 keeps it for older
// readers, without the doctype that EPUB 3 forbids.
std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters);

} // namespace folivane::engine
