// Where a title on a cover breaks into lines (or columns).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace folivane::engine {

// One line of text: the characters [begin, end) of the text broken, spaces at its ends left
// out.
struct CoverLine {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Breaks `text` (characters, spaces already collapsed to one) into lines of at most `limit`,
// each character taking `advance[i]` along the line (`advance` as long as `text`). Lines
// break after a space, and between CJK characters or a CJK character and another, but never
// before closing punctuation (、。，！？」』）…) nor after opening punctuation (「『（“…), so
// that no line starts with a mark that closes or ends with one that opens. A word longer
// than a line is cut between its characters, and the same marks are kept with their
// neighbours where the line allows it. Spaces at the end of a line take no room. Empty text
// gives no lines.
std::vector<CoverLine> BreakCoverLines(std::u32string_view text, std::span<const double> advance,
                                       double limit);

// Whether a line may not start with `c` (closing punctuation, a comma or stop, kana
// iteration and prolonged-sound marks) or end with it (opening punctuation).
bool ClosesText(char32_t c);
bool OpensText(char32_t c);

// The spaces lines break at and drop: ASCII space and the ideographic space U+3000.
constexpr bool IsCoverSpace(char32_t c) {
    return c == U' ' || c == U'\u3000';
}

} // namespace folivane::engine
