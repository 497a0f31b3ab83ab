// The size search for a text in a box, and drawing its lines or columns.
#include "CoverLayout.h"

#include "CoverLines.h"

#include <algorithm>
#include <cmath>

namespace folivane::engine {
namespace {

double Length(const std::vector<PlacedGlyph>& glyphs, bool vertical) {
    double length = 0;
    for (const PlacedGlyph& glyph : glyphs)
        length += vertical ? -glyph.yAdvance : glyph.xAdvance;
    return length;
}

double LineLength(const CoverFace& face, std::u32string_view line, const CoverTextStyle& style) {
    return Length(face.Shape(line, style.language, style.vertical), style.vertical);
}

// The lines of `text` at the face's current size. Each is measured again on its own, as
// kerning and ligatures across a break no longer apply.
std::vector<std::u32string> BreakAtSize(const CoverFace& face, std::u32string_view text,
                                        const CoverTextStyle& style, double along) {
    const std::vector<double> advances = CharacterAdvances(
        face.Shape(text, style.language, style.vertical), text.size(), style.vertical);
    std::vector<std::u32string> lines;
    for (const CoverLine& line : BreakCoverLines(text, advances, along))
        lines.emplace_back(text.substr(line.begin, line.end - line.begin));
    return lines;
}

bool AllWithin(const CoverFace& face, const std::vector<std::u32string>& lines,
               const CoverTextStyle& style, double along) {
    return std::ranges::all_of(
        lines, [&](const std::u32string& line) { return LineLength(face, line, style) <= along; });
}

// Cuts `lines` to the `keep` first and ends the last with an ellipsis, shortening it until
// it fits `along`.
void Shorten(const CoverFace& face, std::vector<std::u32string>& lines, std::size_t keep,
             const CoverTextStyle& style, double along) {
    const std::u32string ellipsis = face.Has(U'…') ? U"…" : U"...";
    lines.resize(keep);
    std::u32string& last = lines.back();
    while (!last.empty() && LineLength(face, last + ellipsis, style) > along)
        last.pop_back();
    while (!last.empty() && IsCoverSpace(last.back()))
        last.pop_back();
    last += ellipsis;
}

} // namespace

SetCoverText FitCoverText(CoverFace& face, std::u32string_view text, const CoverTextStyle& style,
                          const CoverBox& box) {
    const double along = style.vertical ? box.height : box.width;
    const double across = style.vertical ? box.width : box.height;
    SetCoverText set;
    for (double size = style.largest;; size = std::max(style.smallest, size * 11 / 12)) {
        face.SetSize(size);
        set.size = size;
        set.lines = BreakAtSize(face, text, style, along);
        if (set.Across() <= across && AllWithin(face, set.lines, style, along)) return set;
        if (size <= style.smallest) break;
    }
    const auto fitting = static_cast<std::size_t>(std::floor(across / set.Pitch()));
    Shorten(face, set.lines, std::clamp<std::size_t>(fitting, 1, set.lines.size()), style, along);
    set.shortened = true;
    return set;
}

void DrawCoverText(CoverCanvas& canvas, CoverFace& face, const SetCoverText& set,
                   const CoverTextStyle& style, const CoverBox& box, std::size_t ink,
                   bool toBottom) {
    face.SetSize(set.size);
    const double pitch = set.Pitch();
    std::vector<std::vector<PlacedGlyph>> shaped;
    double longest = 0;
    for (const std::u32string& line : set.lines) {
        shaped.push_back(face.Shape(line, style.language, style.vertical));
        longest = std::max(longest, Length(shaped.back(), style.vertical));
    }
    if (style.vertical) {
        const double top = toBottom ? box.top + box.height - longest : box.top;
        for (std::size_t i = 0; i < shaped.size(); ++i)
            face.Draw(canvas, shaped[i],
                      box.left + box.width - (static_cast<double>(i) + 0.5) * pitch, top, ink);
        return;
    }
    // The font's ascent and descent centred in each line's pitch.
    const double top = box.top + (box.height - set.Across()) / 2;
    const double baseline = (pitch - face.Ascent() - face.Descent()) / 2 + face.Ascent();
    for (std::size_t i = 0; i < shaped.size(); ++i)
        face.Draw(canvas, shaped[i], box.left + (box.width - Length(shaped[i], false)) / 2,
                  top + static_cast<double>(i) * pitch + baseline, ink);
}

} // namespace folivane::engine
