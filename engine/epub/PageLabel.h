// What names a page in the table of contents and in its title.
#pragma once

#include "engine/chapters/ChapterList.h"

#include <cstddef>
#include <string>

namespace folivane::engine {

// The page's name, or its number in the book (from 1) when the name would show nothing once
// escaped for XML (empty, white space or only characters XML forbids), as a file named
// " .txt" gives.
std::string PageLabel(const FileList& page, std::size_t index);

} // namespace folivane::engine
