// The lines of a text as a reader of the book sees them, written apart from the engine so
// that the targets do not share its mistakes.
#pragma once

#include <string_view>
#include <vector>

namespace folivane::fuzz {

// Each line ends at CR LF, LF or a lone CR; a line end that ends the text starts no
// further line, so an empty text has none.
inline std::vector<std::string_view> TextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        lines.push_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace folivane::fuzz
