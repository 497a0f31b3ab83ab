// A font face at a pixel size: text shaped by HarfBuzz, glyphs drawn by FreeType.
#pragma once

#include "CoverCanvas.h"
#include "CoverFont.h"

#include <memory>
#include <string_view>
#include <vector>

namespace folivane::engine {

// A glyph as shaping placed it, in pixels, y upwards as fonts measure.
struct PlacedGlyph {
    unsigned id = 0;           // 0 is the font's "missing" box
    std::size_t character = 0; // index in the shaped text of the first character it shows
    double xAdvance = 0, yAdvance = 0, xOffset = 0, yOffset = 0;
};

// One open face. Not shared between threads (FreeType's library object is not); move-only.
class CoverFace {
public:
    // Opens `face`; raises std::runtime_error naming the file when FreeType cannot.
    explicit CoverFace(const FontFace& face);
    ~CoverFace();
    CoverFace(CoverFace&&) noexcept;
    CoverFace& operator=(CoverFace&&) noexcept;

    // Whether the face maps `c` to a glyph of its own.
    bool Has(char32_t c) const;

    // Sets the size of the em square in pixels; call before Shape.
    void SetSize(double pixels);
    // Above and below the baseline of a horizontal line, in pixels at the size set.
    double Ascent() const;
    double Descent() const;

    // `text` shaped for `language` (BCP 47) in visual order, top to bottom when `vertical`
    // (advances then run down: yAdvance is negative).
    std::vector<PlacedGlyph> Shape(std::u32string_view text, std::string_view language,
                                   bool vertical) const;

    // Draws `glyphs` starting with the pen at (x, y) in the canvas's pixels (y downwards):
    // the baseline's left end for a horizontal line, the top of a vertical column's centre
    // line. `ink` is the canvas's ink number.
    void Draw(CoverCanvas& canvas, const std::vector<PlacedGlyph>& glyphs, double x, double y,
              std::size_t ink) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// How far `glyphs` reach along their line (the sum of their advances), and each character's
// share of it (a ligature's advance goes to its first character), for `characters` of text.
std::vector<double> CharacterAdvances(const std::vector<PlacedGlyph>& glyphs,
                                      std::size_t characters, bool vertical);

} // namespace folivane::engine
