// The book's content: chapter pages, the package file content.opf, the navigation file toc.ncx
// and, in EPUB 3, the navigation document nav.xhtml.
#pragma once

#include "BookMetadata.h"
#include "ChapterList.h"
#include "Cover.h"
#include "ProgressSink.h"

#include <optional>
#include <string>

namespace folivane::zip {
class TEntryPrecompressor;
}

namespace folivane::engine {

// The file name of the page at `page`: "N.html" in EPUB 2; "N.xhtml" in EPUB 3, whose
// validators want XHTML pages so named.
std::string PageFileName(std::size_t page, int epubVersion);

// content.opf for `chapterCount` chapters, with the cover's manifest item, title page and
// guide when `cover` is set. For EPUB 3 also the modification time, the navigation document
// and the cover picture's "cover-image" property; empty author and publisher are left out
// there, since EPUB 3 refuses empty metadata.
std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover);
// toc.ncx with one navigation point per listed page, those of a volume's chapters nested in
// the volume's (BuildTableOfContents). EPUB 3 keeps it for older readers, without the
// doctype that EPUB 3 forbids.
std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters);

// Writes into the book folder's OEBPS: each chapter's page (sending its chapter report just
// after it, and stopping when the sink asks), the cover picture, content.opf, toc.ncx and, for
// EPUB 3, nav.xhtml. Raises ConversionError when a chapter cannot be read or a document
// cannot be written.
// `ahead`, when given, receives each page and the navigation document as it is written, to
// compress it while the next ones are made.
void WritePackageDocuments(const std::string& bookFolder, const BookMetadata& book,
                           const TChapterList& chapters, const CoverImage* cover,
                           const std::string& legacyEncoding, ProgressSink& progress,
                           zip::TEntryPrecompressor* ahead = nullptr);

} // namespace folivane::engine
