// Conversion of text between character sets through glibc iconv.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::platform {

// Converts `input` from one iconv character set to another. Each byte that cannot be
// decoded, and an incomplete sequence at the end, becomes `replacement` (given in the
// target set) and conversion goes on with the next byte; `replaced`, when given, receives how
// many bytes were. Raises std::invalid_argument when iconv does not know one of the two sets.
std::string ConvertText(std::string_view input, const std::string& from, const std::string& to,
                        std::string_view replacement, std::size_t* replaced = nullptr);

// True when iconv can convert from the named set to UTF-8.
bool IsKnownCharset(const std::string& name);

bool IsAscii(std::string_view text);

} // namespace folivane::platform
