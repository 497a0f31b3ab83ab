// Books that killed conversions left hidden beside their output.
#pragma once

#include <string>

namespace folivane::engine {

// Removes the hidden, complete or partial books beside `outputPath` that conversions to it
// left when they were killed before their book took its place, so that the next conversion
// to that output leaves nothing of them. Only files proven to be this program's go: marked
// as its replacements by name, this user's, held by no running conversion, and beginning as
// every EPUB this program writes does (or empty, a minute after they were made). Returns
// how many went; never raises.
int RemoveAbandonedBooks(const std::string& outputPath);

} // namespace folivane::engine
