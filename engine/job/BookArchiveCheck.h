// The finished archive read back before it becomes the book.
#pragma once

#include "zip/Stream.h"

#include <string>
#include <vector>

namespace folivane::engine {

// Reads the archive's directory back and raises ConversionError naming `bookPath` unless
// the archive holds exactly `entries` (in any order) and its first entry is "mimetype",
// stored, without extra field, holding the EPUB media type, as readers require.
void CheckBookArchive(zip::TStream& archive, const std::vector<std::string>& entries,
                      const std::string& bookPath);

} // namespace folivane::engine
