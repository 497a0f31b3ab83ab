// The user's own style sheet, added to the book after the book's.
#pragma once

#include <string>

namespace folivane::engine {

// The content of the style sheet at `path`: a readable regular file of UTF-8 text (a mark at
// its start is dropped) of at most 1 MiB. Raises ConversionError naming the file and what is
// wrong with it.
std::string ReadUserStyleSheet(const std::string& path);

} // namespace folivane::engine
