// OEBPS/content.opf: the book's metadata, the manifest of its files and the reading order.
#pragma once

#include "BookMetadata.h"
#include "Cover.h"

#include <cstddef>
#include <string>

namespace folivane::engine {

// content.opf for `chapterCount` chapters, with the cover's manifest item, title page and
// guide when `cover` is set. For EPUB 3 also the modification time, the navigation document
// and the cover picture's "cover-image" property; empty author and publisher are left out
// there, since EPUB 3 refuses empty metadata.
std::string BuildContentOpf(const BookMetadata& book, std::size_t chapterCount,
                            const CoverImage* cover);

} // namespace folivane::engine
