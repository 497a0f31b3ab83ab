// OEBPS/content.opf: the book's metadata, the manifest of its files and the reading order.
#pragma once

#include "BookMetadata.h"
#include "Cover.h"

#include <cstddef>
#include <string>

namespace folivane::engine {

// content.opf for `chapterCount` chapters, with the cover's manifest item and title page when
// `cover` is set, the book's details (AppendBookDetails) and a guide to the cover, the
// contents (EPUB 2: the contents page) and the first page. For EPUB 3 also the modification
// time, accessibility metadata (`ruby`: some page has ruby), the navigation document and the
// cover picture's "cover-image" property; empty author and publisher are left out, since
// EPUB 3 refuses empty metadata.
std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover, bool ruby = false);

} // namespace folivane::engine
