// Every document of the book, made in order and handed to whoever puts them in the book.
#pragma once

#include "BookMetadata.h"
#include "Cover.h"

#include "engine/chapters/ChapterList.h"

#include <functional>
#include <string>
#include <string_view>

namespace folivane::engine {

// Takes the book's documents as they are made. Called on the thread that makes them.
class DocumentSink {
public:
    virtual ~DocumentSink() = default;
    // One document: `name` is its path in the book ("OEBPS/0.html"), `bytes` all of it (valid
    // during the call only), `page` the chapter whose page it is, null for the book's other
    // documents. May raise to stop the book.
    virtual void Add(const std::string& name, std::string_view bytes, const FileList* page) = 0;
    // The same for a document the maker gives away, which a sink that keeps documents takes
    // without copying it. By default as Add.
    virtual void AddMade(const std::string& name, std::string&& bytes, const FileList* page) {
        Add(name, bytes, page);
    }
};

// Gives the book's cover picture, or null for none; asked once, after the chapters' pages, so
// that a cover can be made while they are.
using CoverSource = std::function<const CoverImage*()>;

// Makes every document of the book and hands each to `sink`: mimetype, the container, the
// style sheet, each chapter's page in book order, with a cover its title page and picture, for
// EPUB 2 the contents page, the package document, toc.ncx and for EPUB 3 the navigation
// document. Raises ConversionError when a chapter's text cannot be read, and whatever the
// sink or `cover` raises.
void MakeBookDocuments(const BookMetadata& book, const TChapterList& chapters,
                       const CoverSource& cover, const std::string& legacyEncoding,
                       DocumentSink& sink);

// The same with the cover known before.
void MakeBookDocuments(const BookMetadata& book, const TChapterList& chapters,
                       const CoverImage* cover, const std::string& legacyEncoding,
                       DocumentSink& sink);

} // namespace folivane::engine
