// Setting a text in a box on the cover: the largest size at which its lines fit, and drawing.
#pragma once

#include "CoverFace.h"

#include <string>
#include <vector>

namespace folivane::engine {

// A box on the cover in pixels, y downwards.
struct CoverBox {
    double left = 0, top = 0, width = 0, height = 0;
};

// What the size search asks of a text.
struct CoverTextStyle {
    std::string language;  // BCP 47, for shaping
    bool vertical = false; // columns right to left instead of lines top to bottom
    double largest = 0;    // the sizes tried, in pixels of the em square, from the largest
    double smallest = 0;   //   down by a twelfth at a time
};

// A text broken into lines (columns when vertical) at one size.
struct SetCoverText {
    double size = 0;
    std::vector<std::u32string> lines;
    bool shortened = false; // it did not fit at the smallest size: cut, ending with an ellipsis
    // Room each line takes across the lines (their pitch), and the block's extent.
    double Pitch() const { return size * 1.3; }
    double Across() const { return Pitch() * static_cast<double>(lines.size()); }
};

// `text` at the largest size of `style` at which it breaks into lines no longer than the
// box allows along them and no more than fit across it; at the smallest size, what fits,
// ending with "…" (or "..." where the face lacks it). `box` has width and height only.
SetCoverText FitCoverText(CoverFace& face, std::u32string_view text, const CoverTextStyle& style,
                          const CoverBox& box);

// Draws `set` (fitted for `face` with `style`) in `box`: horizontal lines centred in the
// box's width, the block centred in its height; vertical columns from the box's right edge
// leftwards, each starting at the box's top, or ending at its bottom when `toBottom`; in the
// canvas's ink number `ink`.
void DrawCoverText(CoverCanvas& canvas, CoverFace& face, const SetCoverText& set,
                   const CoverTextStyle& style, const CoverBox& box, std::size_t ink,
                   bool toBottom = false);

} // namespace folivane::engine
