// The picture a cover is drawn on: a palette of a background and inks, coverage blending,
// PNG.
#pragma once

#include "platform/Memory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folivane::engine {

class ZlibSegments;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Width × height pixels of one background colour, on which inks are laid by coverage. A
// cover shows nothing else, so a pixel is one byte: 0 the background, or an ink at one of
// 255 / inks levels of coverage (255 with one ink, 127 each with two). Drawing outside,
// or with an ink the canvas was not given, is clipped; the layout keeps text inside, and
// the clipping only keeps a mistake there from writing past the pixels.
class CoverCanvas {
public:
    // At most 255 inks, the palette's size; raises std::invalid_argument beyond.
    CoverCanvas(int width, int height, Rgb background, std::vector<Rgb> inks);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Lays ink number `ink` over the pixel at (x, y) by `coverage` (0 none, 255 full). Over
    // the same ink coverage accumulates as alpha does; over another ink, the new one takes
    // the coverage the two make together.
    void Blend(int x, int y, std::size_t ink, std::uint8_t coverage);

    // Blends `count` pixels rightwards from (x, y), each by its own coverage: as Blend for
    // each, clipped once for the row.
    void BlendRow(int x, int y, std::size_t ink, const std::uint8_t* coverage, int count);

    // A rectangle [x0, x1) × [y0, y1) of ink number `ink` at full coverage.
    void Fill(int x0, int y0, int x1, int y1, std::size_t ink);

    // The pixels as a PNG file (8-bit palette, every level of every ink in it), the same
    // bytes for the same pixels. Only the rows with ink are compressed.
    std::string Png() const;

private:
    std::uint8_t& Pixel(int x, int y);
    void DeflateRows(ZlibSegments& zlib) const;

    int width_;
    int height_;
    Rgb background_;
    std::vector<Rgb> inks_;
    int levels_; // of coverage, per ink
    // Rows top to bottom, each a PNG scanline: the filter byte (0, none) and one palette
    // index a pixel, so that a run of rows is deflated from where it lies. In pages of their
    // own, untouched until drawn on: most rows never are.
    platform::ZeroedPages rows_;
    std::vector<bool> inked_; // per row: whether it holds anything but the background
};

} // namespace folivane::engine
