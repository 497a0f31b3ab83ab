// FreeType faces drawn unhinted so that sizes scale, shaped by HarfBuzz from the font's own
// tables.
#include "CoverFace.h"

#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <hb-ft.h>
#include <hb.h>
#include <stdexcept>

namespace folivane::engine {
namespace {

// Hinting would snap outlines and advances to whole pixels differently at each size; the
// size search measures at one size and expects the next to scale.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

// The font's scale is set in 26.6 fixed point, as FreeType's sizes are.
constexpr double FromFixed(hb_position_t value) {
    return value / 64.0;
}

// Where a column's glyphs hang, in a face without vertical metrics: all from the same height
// (the ascent) and centred across, as the font would say for each of them if it could.
hb_bool_t SharedVerticalOrigin(hb_font_t* font, void*, hb_codepoint_t glyph, hb_position_t* x,
                               hb_position_t* y, void*) {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(font, &extents);
    *x = hb_font_get_glyph_h_advance(font, glyph) / 2;
    *y = extents.ascender;
    return true;
}

// A font over `parent` for a face without vertical metrics (DejaVu): each glyph of a column
// would otherwise hang from its own outline's top, so a tall or deep one stood apart from
// the next or overlapped it.
hb_font_t* WithSharedVerticalOrigin(hb_font_t* parent) {
    hb_font_funcs_t* funcs = hb_font_funcs_create();
    hb_font_funcs_set_glyph_v_origin_func(funcs, SharedVerticalOrigin, nullptr, nullptr);
    hb_font_funcs_make_immutable(funcs);
    hb_font_t* font = hb_font_create_sub_font(parent);
    hb_font_set_funcs(font, funcs, nullptr, nullptr);
    hb_font_funcs_destroy(funcs);
    return font;
}

} // namespace

struct CoverFace::State {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    hb_font_t* font = nullptr;   // the one shaping: `parent`, or a font over it
    hb_font_t* parent = nullptr; // HarfBuzz's own functions over the face

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (font != nullptr) hb_font_destroy(font);     // releases its reference to `parent`
        if (parent != nullptr) hb_font_destroy(parent); // and this one to the face
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
};

CoverFace::CoverFace(const FontFace& face) : state_(std::make_unique<State>()) {
    if (FT_Init_FreeType(&state_->library) != 0)
        throw std::runtime_error("FreeType could not start");
    if (FT_New_Face(state_->library, face.file.c_str(), face.index, &state_->face) != 0)
        throw std::runtime_error("FreeType cannot open the font \"" + face.file + "\"");
    hb_face_t* shaped = hb_ft_face_create_referenced(state_->face);
    state_->parent = hb_font_create(shaped);
    hb_face_destroy(shaped);
    state_->font = FT_HAS_VERTICAL(state_->face) ? hb_font_reference(state_->parent)
                                                 : WithSharedVerticalOrigin(state_->parent);
}

CoverFace::~CoverFace() = default;
CoverFace::CoverFace(CoverFace&&) noexcept = default;
CoverFace& CoverFace::operator=(CoverFace&&) noexcept = default;

bool CoverFace::Has(char32_t c) const {
    return FT_Get_Char_Index(state_->face, c) != 0;
}

void CoverFace::SetSize(double pixels) {
    const auto scale = static_cast<int>(std::lround(pixels * 64));
    FT_Set_Char_Size(state_->face, 0, scale, 72, 72);
    hb_font_set_scale(state_->parent, scale, scale);
    hb_font_set_scale(state_->font, scale, scale);
}

double CoverFace::Ascent() const {
    return static_cast<double>(state_->face->size->metrics.ascender) / 64.0;
}

double CoverFace::Descent() const {
    return -static_cast<double>(state_->face->size->metrics.descender) / 64.0;
}

std::vector<PlacedGlyph> CoverFace::Shape(std::u32string_view text, std::string_view language,
                                          bool vertical) const {
    hb_buffer_t* buffer = hb_buffer_create();
    static_assert(sizeof(char32_t) == sizeof(std::uint32_t));
    hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(text.data()),
                        static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
    if (vertical) hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
    hb_buffer_set_language(
        buffer, hb_language_from_string(language.data(), static_cast<int>(language.size())));
    hb_buffer_guess_segment_properties(buffer); // the script, and left or right to left
    hb_shape(state_->font, buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
    std::vector<PlacedGlyph> glyphs;
    glyphs.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        glyphs.push_back({info[i].codepoint, info[i].cluster, FromFixed(position[i].x_advance),
                          FromFixed(position[i].y_advance), FromFixed(position[i].x_offset),
                          FromFixed(position[i].y_offset)});
    hb_buffer_destroy(buffer);
    return glyphs;
}

void CoverFace::Draw(CoverCanvas& canvas, const std::vector<PlacedGlyph>& glyphs, double x,
                     double y, std::size_t ink) const {
    FT_GlyphSlot slot = state_->face->glyph;
    for (const PlacedGlyph& glyph : glyphs) {
        // Shaping placed the glyph's own (horizontal) origin, also in vertical text.
        const double originX = x + glyph.xOffset;
        const double originY = y - glyph.yOffset;
        x += glyph.xAdvance;
        y -= glyph.yAdvance;
        if (FT_Load_Glyph(state_->face, glyph.id, kLoadFlags) != 0 ||
            slot->format != FT_GLYPH_FORMAT_OUTLINE)
            continue;
        // The fraction of a pixel goes into the outline, so that glyphs keep their spacing.
        const double wholeX = std::floor(originX);
        const double wholeY = std::floor(originY);
        FT_Outline_Translate(&slot->outline, std::lround((originX - wholeX) * 64),
                             -std::lround((originY - wholeY) * 64));
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(wholeX) + slot->bitmap_left;
        const int top = static_cast<int>(wholeY) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            canvas.BlendRow(left, top + static_cast<int>(row), ink,
                            bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch,
                            static_cast<int>(bitmap.width));
    }
}

std::vector<double> CharacterAdvances(const std::vector<PlacedGlyph>& glyphs,
                                      std::size_t characters, bool vertical) {
    std::vector<double> advances(characters, 0.0);
    for (const PlacedGlyph& glyph : glyphs)
        if (glyph.character < characters)
            advances[glyph.character] += vertical ? -glyph.yAdvance : glyph.xAdvance;
    return advances;
}

} // namespace folivane::engine
