// The title cover's design: its boxes, its colours, its fonts, and the reasons it may not be.
#include "TitleCover.h"

#include "CoverCanvas.h"
#include "CoverFace.h"
#include "CoverLayout.h"

#include "engine/text/CodePoints.h"
#include "engine/text/UnicodeText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fontconfig/fontconfig.h>
#include <stdexcept>

namespace folivane::engine {
namespace {

// A margin of a tenth of the width all round keeps the text clear of the edge that readers'
// library views crop or round.
constexpr double kMargin = 160;
constexpr double kInnerWidth = kTitleCoverWidth - 2 * kMargin;

// Lines: the title in the upper three fifths, a short rule, the author below.
constexpr CoverBox kTitleBox{kMargin, 320, kInnerWidth, 1520};
constexpr CoverBox kAuthorBox{kMargin, 1960, kInnerWidth, 440};
constexpr double kRuleY = 1900;
constexpr double kRuleWidth = 200;
constexpr double kRuleThickness = 6;

// Columns: the title from the top, the author's columns to its left ending lower down.
constexpr double kColumnTop = 240;
constexpr double kColumnLength = kTitleCoverHeight - 2 * kColumnTop;
constexpr double kAuthorColumnsWidth = 400;
constexpr double kAuthorColumnLength = 1100;
constexpr double kColumnGap = 80;

constexpr Rgb kTitleColour{246, 241, 230};
constexpr Rgb kAuthorColour{222, 215, 200};
// The canvas's inks: the title's, and the author's (with the rule) when there is one.
constexpr std::size_t kTitleInk = 0;
constexpr std::size_t kAuthorInk = 1;

// Each line break and run of white space or control characters is one space; none at the
// ends.
std::u32string Normalized(std::string_view utf8) {
    std::u32string text;
    bool space = false;
    while (!utf8.empty()) {
        const char32_t c = TakeCodePoint(utf8);
        if (c <= U' ' || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            space = !text.empty();
            continue;
        }
        if (space) text += U' ';
        space = false;
        text += c;
    }
    return text;
}

// A dark, muted colour of the hue the title's FNV-1a hash picks, so that the white text
// reads on every one.
Rgb BackgroundOf(std::u32string_view title) {
    std::uint32_t hash = 2166136261u;
    for (const char32_t c : title)
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (c >> shift) & 0xFFu;
            hash *= 16777619u;
        }
    const double hue = static_cast<double>(hash % 360) / 60;
    constexpr double kSaturation = 0.38;
    constexpr double kLightness = 0.27;
    const double chroma = (1 - std::abs(2 * kLightness - 1)) * kSaturation;
    const double second = chroma * (1 - std::abs(std::fmod(hue, 2.0) - 1));
    double rgb[3] = {0, 0, 0};
    const int sector = static_cast<int>(hue);
    const int order[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
    rgb[order[sector][0]] = chroma;
    rgb[order[sector][1]] = second;
    const double base = kLightness - chroma / 2;
    const auto channel = [&](int i) {
        return static_cast<std::uint8_t>(std::lround((rgb[i] + base) * 255));
    };
    return {channel(0), channel(1), channel(2)};
}

std::string CharacterName(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string name = "\"";
    AppendUtf8(name, c);
    return name + "\", " + code;
}

// A face with a glyph for every character of `text` (named in `used`), or nullopt with the
// reason in `problem`. fontconfig's lists are checked against the face itself, which is what
// is drawn.
std::optional<CoverFace> FaceFor(const CoverFonts& fonts, std::u32string_view text,
                                 const std::string& language, int weight, bool vertical,
                                 const char* what, FontFace& used, std::string& problem) {
    char32_t missing = 0;
    const std::optional<FontFace> found = fonts.Find(text, language, weight, vertical, &missing);
    std::optional<CoverFace> face;
    if (found) {
        face.emplace(*found);
        const auto lacking =
            std::ranges::find_if(text, [&](char32_t c) { return NeedsGlyph(c) && !face->Has(c); });
        if (lacking == text.end()) {
            used = *found;
            return face;
        }
        missing = *lacking;
        face.reset();
    }
    problem = std::string("no installed font has every character of the ") + what;
    if (missing != 0) problem += " (the nearest lacks " + CharacterName(missing) + ")";
    return face;
}

struct Faces {
    CoverFace& title;
    CoverFace* author; // null when there is no author
};

void DrawLines(CoverCanvas& canvas, const Faces& faces, std::u32string_view title,
               std::u32string_view author, const std::string& language, TitleCover& cover) {
    const CoverTextStyle titleStyle{language, false, 176, 24};
    const SetCoverText titleSet = FitCoverText(faces.title, title, titleStyle, kTitleBox);
    DrawCoverText(canvas, faces.title, titleSet, titleStyle, kTitleBox, kTitleInk);
    cover.titleSize = titleSet.size;
    cover.titleShortened = titleSet.shortened;
    if (faces.author == nullptr) return;
    const double ruleLeft = std::round((kTitleCoverWidth - kRuleWidth) / 2);
    canvas.Fill(static_cast<int>(ruleLeft), static_cast<int>(kRuleY),
                static_cast<int>(ruleLeft + kRuleWidth), static_cast<int>(kRuleY + kRuleThickness),
                kAuthorInk);
    const CoverTextStyle authorStyle{language, false, 88, 24};
    const SetCoverText authorSet = FitCoverText(*faces.author, author, authorStyle, kAuthorBox);
    DrawCoverText(canvas, *faces.author, authorSet, authorStyle, kAuthorBox, kAuthorInk);
}

void DrawColumns(CoverCanvas& canvas, const Faces& faces, std::u32string_view title,
                 std::u32string_view author, const std::string& language, TitleCover& cover) {
    const CoverTextStyle authorStyle{language, true, 88, 24};
    SetCoverText authorSet;
    double authorWidth = 0;
    if (faces.author != nullptr) {
        authorSet = FitCoverText(*faces.author, author, authorStyle,
                                 {0, 0, kAuthorColumnsWidth, kAuthorColumnLength});
        authorWidth = authorSet.Across() + kColumnGap;
    }
    const CoverTextStyle titleStyle{language, true, 176, 24};
    const SetCoverText titleSet = FitCoverText(faces.title, title, titleStyle,
                                               {0, 0, kInnerWidth - authorWidth, kColumnLength});
    cover.titleSize = titleSet.size;
    cover.titleShortened = titleSet.shortened;

    // The title's and the author's columns together, centred across the cover.
    const double right = (kTitleCoverWidth + titleSet.Across() + authorWidth) / 2;
    const CoverBox titleBox{right - titleSet.Across(), kColumnTop, titleSet.Across(),
                            kColumnLength};
    DrawCoverText(canvas, faces.title, titleSet, titleStyle, titleBox, kTitleInk);
    if (faces.author == nullptr) return;
    const CoverBox authorBox{titleBox.left - authorWidth, kColumnTop, authorSet.Across(),
                             kColumnLength};
    DrawCoverText(canvas, *faces.author, authorSet, authorStyle, authorBox, kAuthorInk, true);
}

TitleCover NoCover(const char* why) {
    TitleCover cover;
    cover.problem = std::string("No cover was made from the title: ") + why;
    return cover;
}

} // namespace

TitleCover MakeTitleCover(const TitleCoverText& text) {
    std::optional<CoverFonts> fonts;
    try {
        fonts.emplace();
    } catch (const std::runtime_error& e) {
        return NoCover(e.what());
    }
    return MakeTitleCover(text, *fonts);
}

TitleCover MakeTitleCover(const TitleCoverText& text, const CoverFonts& fonts) {
    TitleCover cover;
    const std::u32string title = Normalized(text.title);
    const std::u32string author = Normalized(text.author);
    std::string problem;
    try {
        if (title.empty()) throw std::runtime_error("the book has no title");
        const std::string language = FontconfigLanguage(text.language);
        std::optional<CoverFace> titleFace =
            FaceFor(fonts, title, language, FC_WEIGHT_BOLD, text.vertical, "title", cover.titleFace,
                    problem);
        if (!titleFace) throw std::runtime_error(problem);
        std::optional<CoverFace> authorFace;
        if (!author.empty()) {
            authorFace = FaceFor(fonts, author, language, FC_WEIGHT_REGULAR, text.vertical,
                                 "author", cover.authorFace, problem);
            if (!authorFace) throw std::runtime_error(problem);
        }

        std::vector<Rgb> inks{kTitleColour};
        if (authorFace) inks.push_back(kAuthorColour);
        CoverCanvas canvas(kTitleCoverWidth, kTitleCoverHeight, BackgroundOf(title),
                           std::move(inks));
        const Faces faces{*titleFace, authorFace ? &*authorFace : nullptr};
        if (text.vertical)
            DrawColumns(canvas, faces, title, author, text.language, cover);
        else
            DrawLines(canvas, faces, title, author, text.language, cover);
        cover.png = canvas.Png();
    } catch (const std::runtime_error& e) {
        return NoCover(e.what());
    }
    return cover;
}

} // namespace folivane::engine
