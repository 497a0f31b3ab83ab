// The book's content: chapter pages, the package file content.opf and the navigation file toc.ncx.
#pragma once

#include "ChapterList.h"
#include "Cover.h"
#include "ProgressSink.h"

#include <optional>
#include <string>

namespace folivane::zip {
class TEntryPrecompressor;
}

namespace folivane::engine {

struct BookMetadata {
    std::string title; // never empty: the job puts the output's name in for a blank title
    std::string author;
    std::string publisher;
    std::string uuid;
    std::string language = "zh-CN"; // BCP 47, for dc:language and every page's xml:lang
};

// content.opf for `chapterCount` chapters, with the cover's manifest item, title page and
// guide when `cover` is set.
std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover);
// toc.ncx with one navigation point per listed page, those of a volume's chapters nested in
// the volume's (BuildTableOfContents).
std::string BuildTocNcx(const BookMetadata& book, const TChapterList& chapters);

// Writes into the book folder's OEBPS: each chapter's page (sending its chapter report just
// after it, and stopping when the sink asks), the cover picture, content.opf and toc.ncx. Raises
// ConversionError when a chapter cannot be read or a document cannot be written.
// `ahead`, when given, receives each page as it is written, to compress it while the next
// ones are made.
void WritePackageDocuments(const std::string& bookFolder, const BookMetadata& book,
                           const TChapterList& chapters, const CoverImage* cover,
                           const std::string& legacyEncoding, ProgressSink& progress,
                           zip::TEntryPrecompressor* ahead = nullptr);

} // namespace folivane::engine
