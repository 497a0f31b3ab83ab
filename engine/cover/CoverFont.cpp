// fontconfig's ranking of the installed fonts, checked character by character.
#include "CoverFont.h"

#include "engine/text/AsciiText.h"
#include "engine/text/ChineseScript.h"
#include "engine/text/LanguageTag.h"

#include <fontconfig/fontconfig.h>
#include <stdexcept>

namespace folivane::engine {
namespace {

template <class T, void (*Free)(T*)> struct FcDeleter {
    void operator()(T* p) const { Free(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, FcDeleter<FcPattern, FcPatternDestroy>>;
using CharSetPtr = std::unique_ptr<FcCharSet, FcDeleter<FcCharSet, FcCharSetDestroy>>;
using FontSetPtr = std::unique_ptr<FcFontSet, FcDeleter<FcFontSet, FcFontSetDestroy>>;

bool BoolOf(FcPattern* font, const char* object, bool otherwise) {
    FcBool value = FcFalse;
    return FcPatternGetBool(font, object, 0, &value) == FcResultMatch ? value == FcTrue : otherwise;
}

std::string StringOf(FcPattern* font, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(font, object, 0, &value) != FcResultMatch) return std::string();
    return reinterpret_cast<const char*>(value);
}

// Droid Sans Fallback (Debian's fonts-droid-fallback, which Ghostscript brings, and which
// fontconfig ranks first for Japanese there) maps the vertical forms of 、「」 to the
// outlines of other ideographs: a vertical title would read 甚 for 、.
bool HasWrongVerticalForms(std::string_view family) {
    return family == "Droid Sans Fallback";
}

} // namespace

std::string FontconfigLanguage(std::string_view tag) {
    const std::optional<std::string> canonical = NormalizeLanguageTag(tag);
    if (!canonical) return AsciiLowered(tag);
    std::string language = AsciiLowered(canonical->substr(0, canonical->find('-')));
    std::string region;
    for (std::string_view rest = *canonical; !rest.empty();) { // the first two-letter subtag
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos) break;
        rest.remove_prefix(dash + 1);
        const std::string_view subtag = rest.substr(0, rest.find('-'));
        if (subtag.size() == 2) {
            region = AsciiLowered(subtag);
            break;
        }
    }
    if (const std::optional<ChineseForm> form = ChineseFormOfTag(*canonical)) {
        if (*form == ChineseForm::Traditional)
            return region == "hk" || region == "mo" ? "zh-" + region : "zh-tw";
        return region == "sg" ? "zh-sg" : "zh-cn";
    }
    return region.empty() ? language : language + "-" + region;
}

struct CoverFonts::Config {
    FcConfig* config;
    explicit Config(FcConfig* owned) : config(owned) {}
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;
    ~Config() { FcConfigDestroy(config); }
};

CoverFonts::CoverFonts() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) throw std::runtime_error("fontconfig could not read its configuration");
    config_ = std::make_unique<Config>(config);
}

CoverFonts::~CoverFonts() = default;
CoverFonts::CoverFonts(CoverFonts&&) noexcept = default;
CoverFonts& CoverFonts::operator=(CoverFonts&&) noexcept = default;

std::optional<FontFace> CoverFonts::Find(std::u32string_view text, const std::string& language,
                                         int weight, bool vertical, char32_t* missing) const {
    const CharSetPtr needed(FcCharSetCreate());
    for (const char32_t c : text)
        if (NeedsGlyph(c)) FcCharSetAddChar(needed.get(), c);

    // Coverage ranks above family and language in fontconfig's sort, so faces that have
    // every character come first, and among them the book's language and serif decide.
    const PatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("serif"));
    if (!language.empty())
        FcPatternAddString(pattern.get(), FC_LANG,
                           reinterpret_cast<const FcChar8*>(language.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, weight);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, needed.get());
    FcConfigSubstitute(config_->config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    // Not trimmed: a trimmed list leaves out a face that has everything when the faces
    // before it have it between them.
    FcResult result = FcResultMatch;
    const FontSetPtr sorted(FcFontSort(config_->config, pattern.get(), FcFalse, nullptr, &result));
    if (!sorted) return std::nullopt;
    for (int i = 0; i < sorted->nfont; ++i) {
        FcPattern* font = sorted->fonts[i];
        FcCharSet* has = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &has) != FcResultMatch) continue;
        if (i == 0 && missing != nullptr) {
            const CharSetPtr lacking(FcCharSetSubtract(needed.get(), has));
            FcChar32 map[FC_CHARSET_MAP_SIZE];
            FcChar32 next = 0;
            const FcChar32 page = FcCharSetFirstPage(lacking.get(), map, &next);
            *missing = 0;
            if (page != FC_CHARSET_DONE)
                for (FcChar32 bit = 0; bit < 256 && *missing == 0; ++bit)
                    if ((map[bit / 32] >> (bit % 32)) & 1u) *missing = page + bit;
        }
        if (!BoolOf(font, FC_SCALABLE, false) || !BoolOf(font, FC_OUTLINE, false) ||
            BoolOf(font, FC_COLOR, false) || !FcCharSetIsSubset(needed.get(), has))
            continue;
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        const std::string file = StringOf(font, FC_FILE);
        std::string family = StringOf(font, FC_FAMILY);
        if (file.empty() || (vertical && HasWrongVerticalForms(family))) continue;
        return FontFace{file, index, std::move(family)};
    }
    return std::nullopt;
}

} // namespace folivane::engine
