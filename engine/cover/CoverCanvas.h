// The picture a cover is drawn on: RGB pixels, a plain fill, coverage blending, PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folivane::engine {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Width × height pixels, filled with one colour. Drawing outside is clipped; the layout
// keeps text inside, and the clipping only keeps a mistake there from writing past the
// pixels.
class CoverCanvas {
public:
    CoverCanvas(int width, int height, Rgb fill);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Lays `colour` over the pixel at (x, y) by `coverage` (0 none, 255 full).
    void Blend(int x, int y, Rgb colour, std::uint8_t coverage);

    // A filled rectangle [x0, x1) × [y0, y1).
    void Fill(int x0, int y0, int x1, int y1, Rgb colour);

    // The pixels as a PNG file (RGB, 8 bits), the same bytes for the same pixels.
    std::string Png() const;

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_; // rows top to bottom, three bytes a pixel
};

} // namespace folivane::engine
