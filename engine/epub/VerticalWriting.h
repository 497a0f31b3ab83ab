// What a book written vertically adds: its style, its page order and the metadata saying so.
#pragma once

#include <string_view>

namespace folivane::engine {

// Appended to the style sheet: lines run top to bottom, columns right to left. The prefixed
// properties serve readers on older engines. Paragraphs sit side by side, so no margin
// meant for stacked ones.
inline constexpr std::string_view kVerticalCss =
    "html{-epub-writing-mode:vertical-rl;-webkit-writing-mode:vertical-rl;writing-mode:"
    "vertical-rl;}p{margin-bottom:0;}";

// The writing mode readers learn from the package's metadata before opening a page.
inline constexpr std::string_view kPrimaryWritingMode =
    "<meta name=\"primary-writing-mode\" content=\"vertical-rl\"/>";

// On the spine: pages turn from right to left, as vertical columns are read.
inline constexpr std::string_view kRightToLeftPages = " page-progression-direction=\"rtl\"";

} // namespace folivane::engine
