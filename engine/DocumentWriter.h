// Writing one document of the book to disk.
#pragma once

#include <string>
#include <string_view>

namespace folivane::engine {

// Creates the file anew (replacing an existing one) holding exactly `bytes`. Raises
// ConversionError naming the file and the system's reason when it cannot be created or
// when any byte does not reach it.
void WriteDocument(const std::string& path, std::string_view bytes);

} // namespace folivane::engine
