// Finding, with fontconfig, a font that has every character a cover shows.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace folivane::engine {

// A face in a font file (a .ttc collection holds several).
struct FontFace {
    std::string file;
    int index = 0;
    std::string family; // for messages: "Noto Serif CJK JP"
};

// Whether a cover needs a glyph for `c` from its font: not for the ASCII space, nor for the
// characters shaping hides (zero-width spaces and joiners, variation selectors, U+FEFF).
constexpr bool NeedsGlyph(char32_t c) {
    return c != U' ' && !(c >= 0x200B && c <= 0x200F) && !(c >= 0x2060 && c <= 0x206F) &&
           !(c >= 0xFE00 && c <= 0xFE0F) && c != 0xFEFF && !(c >= 0xE0100 && c <= 0xE01EF);
}

// The language fontconfig knows a book's BCP 47 tag by: zh-cn, zh-sg, zh-tw, zh-hk, zh-mo
// for the Chinese scripts and regions (zh-Hant without a region is zh-tw), otherwise the
// tag's language and region in lower case (en-us, ja). Empty for an empty tag.
std::string FontconfigLanguage(std::string_view tag);

// The fonts of the machine as fontconfig configures them (FONTCONFIG_FILE and the usual
// files), read afresh for each object so that each cover sees the configuration of its
// time. One object per thread; move-only.
class CoverFonts {
public:
    // Raises std::runtime_error when fontconfig cannot read its configuration.
    CoverFonts();
    ~CoverFonts();
    CoverFonts(CoverFonts&&) noexcept;
    CoverFonts& operator=(CoverFonts&&) noexcept;

    // The serif face (else the nearest) best for `language` (a fontconfig language) and
    // `weight` (fontconfig's scale: 80 regular, 200 bold) that is an outline font, not a
    // colour one, and has a glyph for every character of `text`. nullopt when no installed
    // face has them all; then `*missing`, when given, is a character that the face fontconfig
    // ranks first lacks. A face for `vertical` text must also set it upright.
    std::optional<FontFace> Find(std::u32string_view text, const std::string& language, int weight,
                                 bool vertical = false, char32_t* missing = nullptr) const;

private:
    struct Config;
    std::unique_ptr<Config> config_;
};

} // namespace folivane::engine
