// Where the text of a long chapter is cut into pages.
#pragma once

#include "ParagraphStyle.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace folivane::engine {

// A source, or a chapter, of more than 100 KiB is cut into pages.
constexpr std::size_t kSizeLimit = 102400;
// A page is closed once its lines take this many bytes (90 KiB) with CR LF line ends. Every
// byte counts, blank lines and line ends too, so that no page can grow without bound.
constexpr std::size_t kPieceThreshold = 92160;

// A page: its first byte and the byte after its last one in the text.
using PageRange = std::pair<std::size_t, std::size_t>;

// The pages of text[range): cut between paragraphs of `style`, each closed at the first
// paragraph end after its lines reach kPieceThreshold bytes, none past kSizeLimit: a line
// that would carry a page past it ends the page at the last paragraph end on it, else (one
// paragraph larger than a page) before that line; one page, possibly empty, for a short or empty
// text. A line longer than kSizeLimit is cut into pages of at most kPieceThreshold bytes, between
// characters: after the last sentence in the second half of the page where there is one (。！？… or
// . ! ? before a space, closing quotes kept with their sentence), else after the last white space
// there, else after the last whole character that fits.
std::vector<PageRange> CutPages(std::string_view text, PageRange range,
                                ParagraphStyle style = ParagraphStyle::Lines);

} // namespace folivane::engine
