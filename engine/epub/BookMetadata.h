// What the book's documents say about the book itself.
#pragma once

#include "BookLayout.h"

#include <string>

namespace folivane::engine {

struct BookMetadata {
    std::string title; // never empty: the job puts the output's name in for a blank title
    std::string author;
    std::string publisher;
    std::string uuid;
    std::string language = kDefaultLanguage; // BCP 47, for dc:language and every xml:lang
    EpubVersion epubVersion = EpubVersion::Epub2;
    // When the book was made, in UTC as CCYY-MM-DDThh:mm:ssZ; EPUB 3 books carry it.
    std::string modified = "1970-01-01T00:00:00Z";
};

} // namespace folivane::engine
