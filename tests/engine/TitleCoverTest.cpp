// The cover made from the title: reproducible, the right size, inside its margins, drawn only
// with faces that have every character, and no cover at all without one.
#include "engine/cover/TitleCover.h"

#include "engine/cover/CoverCanvas.h"
#include "engine/cover/CoverFace.h"
#include "engine/cover/CoverFont.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>
#include <stb_image.h>

namespace folivane::engine {
namespace {

using test::ScratchFolder;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* At(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)) *
                    3];
    }
    bool Same(int x, int y, const unsigned char* colour) const {
        return std::equal(colour, colour + 3, At(x, y));
    }
};

Picture Decode(const std::string& png) {
    Picture picture;
    int channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(png.data()),
                              static_cast<int>(png.size()), &picture.width, &picture.height,
                              &channels, 3),
        stbi_image_free);
    if (pixels)
        picture.rgb.assign(pixels.get(),
                           pixels.get() + static_cast<std::size_t>(picture.width) *
                                              static_cast<std::size_t>(picture.height) * 3);
    return picture;
}

// Pixels not of the background (the corner's colour) within `inset` of the edge, and in all.
struct Ink {
    long nearEdge = 0;
    long total = 0;
};
Ink InkOf(const Picture& picture, int inset) {
    Ink ink;
    const unsigned char* background = picture.At(0, 0);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            if (picture.Same(x, y, background)) continue;
            ++ink.total;
            if (x < inset || y < inset || x >= picture.width - inset || y >= picture.height - inset)
                ++ink.nearEdge;
        }
    return ink;
}

// The characters of `utf8` that `face` has no glyph for, checked with FreeType directly.
std::vector<char32_t> Missing(const FontFace& face, std::u32string_view text) {
    FT_Library library = nullptr;
    FT_Face ft = nullptr;
    std::vector<char32_t> missing;
    if (FT_Init_FreeType(&library) != 0 ||
        FT_New_Face(library, face.file.c_str(), face.index, &ft) != 0) {
        missing.push_back(U'?');
    } else {
        for (const char32_t c : text)
            if (c != U' ' && FT_Get_Char_Index(ft, c) == 0) missing.push_back(c);
        FT_Done_Face(ft);
    }
    FT_Done_FreeType(library);
    return missing;
}

struct CoverCase {
    const char* name;
    std::string title;
    std::u32string titleCharacters; // the same, to check against the face
    std::string author;
    std::u32string authorCharacters;
    std::string language;
    bool vertical;
};

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}
std::u32string Repeat(std::u32string_view piece, std::size_t times) {
    std::u32string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

const CoverCase kCovers[] = {
    {"English", "The Ferry at Dawn", U"The Ferry at Dawn", "Mary Shelton", U"Mary Shelton", "en",
     false},
    {"Simplified", "软件工程师的黎明（上）", U"软件工程师的黎明（上）", "张三", U"张三", "zh-CN",
     false},
    {"Traditional", "軟體工程師的黎明「續」", U"軟體工程師的黎明「續」", "陳大文", U"陳大文",
     "zh-TW", false},
    {"JapaneseVertical", "吾輩は猫である。名前はまだ無い", U"吾輩は猫である。名前はまだ無い",
     "夏目漱石", U"夏目漱石", "ja", true},
    {"LongLatin", Repeat("Dawn over ", 30), Repeat(U"Dawn over ", 30), "A. Writer", U"A. Writer",
     "en", false},
    {"LongChinese", Repeat("春眠不觉晓，处处闻啼鸟。", 25), Repeat(U"春眠不觉晓，处处闻啼鸟。", 25),
     "孟浩然", U"孟浩然", "zh-CN", false},
    {"LongJapaneseVertical", Repeat("吾輩は猫である、名前はまだ無い。", 19),
     Repeat(U"吾輩は猫である、名前はまだ無い。", 19), "夏目漱石", U"夏目漱石", "ja", true},
    {"NoAuthor", "Dawn", U"Dawn", "", U"", "en", false},
};

class TitleCovers : public ::testing::TestWithParam<CoverCase> {};

TEST_P(TitleCovers, AreDrawnWholeInsideTheMarginsWithFacesThatHaveEveryCharacter) {
    const CoverCase& c = GetParam();
    const TitleCover cover = MakeTitleCover({c.title, c.author, c.language, c.vertical});
    ASSERT_FALSE(cover.png.empty()) << cover.problem;
    EXPECT_EQ(Missing(cover.titleFace, c.titleCharacters), std::vector<char32_t>());
    if (!c.author.empty()) {
        EXPECT_EQ(Missing(cover.authorFace, c.authorCharacters), std::vector<char32_t>());
    }
    EXPECT_FALSE(cover.titleShortened);

    const Picture picture = Decode(cover.png);
    ASSERT_EQ(picture.width, kTitleCoverWidth);
    ASSERT_EQ(picture.height, kTitleCoverHeight);
    const Ink ink = InkOf(picture, 100);
    EXPECT_GT(ink.total, 20'000) << "hardly anything drawn";
    EXPECT_EQ(ink.nearEdge, 0) << "drawn into the margin";
}

INSTANTIATE_TEST_SUITE_P(Books, TitleCovers, ::testing::ValuesIn(kCovers),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TitleCover, SameBookGivesTheSameBytesAndAnotherTitleAnotherColour) {
    const TitleCoverText book{"The Ferry at Dawn", "Mary Shelton", "en", false};
    const TitleCover first = MakeTitleCover(book);
    ASSERT_FALSE(first.png.empty()) << first.problem;
    EXPECT_TRUE(test::SameBytes(MakeTitleCover(book).png, first.png));

    const TitleCover other = MakeTitleCover({"The Ferry at Dusk", "Mary Shelton", "en", false});
    ASSERT_FALSE(other.png.empty()) << other.problem;
    EXPECT_FALSE(Decode(other.png).Same(0, 0, Decode(first.png).At(0, 0)));
}

TEST(TitleCover, LongTitleStepsDownInSize) {
    const TitleCover shortTitle = MakeTitleCover({"Dawn", "", "en", false});
    const TitleCover longTitle = MakeTitleCover({Repeat("Dawn over ", 30), "", "en", false});
    EXPECT_LT(longTitle.titleSize, shortTitle.titleSize / 2);
    const TitleCover longVertical =
        MakeTitleCover({Repeat("吾輩は猫である。", 38), "", "ja", true});
    EXPECT_LT(longVertical.titleSize, shortTitle.titleSize / 2);
}

TEST(TitleCover, TitleBeyondAnySizeEndsWithAnEllipsisInsideTheMargins) {
    const TitleCover cover =
        MakeTitleCover({Repeat("春眠不觉晓，处处闻啼鸟。", 400), "", "zh-CN", false});
    ASSERT_FALSE(cover.png.empty()) << cover.problem;
    EXPECT_TRUE(cover.titleShortened);
    EXPECT_EQ(InkOf(Decode(cover.png), 100).nearEdge, 0);
}

struct RefusalCase {
    const char* name;
    std::string title;
    std::string author;
    std::string_view reason; // part of the problem
};
// U+F0000 is a private-use character: no font that install-deps installs has it.
const RefusalCase kRefusals[] = {
    {"TitleCharacterNoFontHas", "Dawn \xF3\xB0\x80\x80", "Mary", "U+F0000"},
    {"AuthorCharacterNoFontHas", "Dawn", "Mary \xF3\xB0\x80\x80", "character of the author"},
    {"EmptyTitle", " \n\t", "Mary", "no title"},
};

class RefusedCovers : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedCovers, GiveOneLineAndNoPicture) {
    const TitleCover cover = MakeTitleCover({GetParam().title, GetParam().author, "en", false});
    EXPECT_TRUE(cover.png.empty());
    EXPECT_NE(cover.problem.find(GetParam().reason), std::string::npos) << cover.problem;
    EXPECT_EQ(cover.problem.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Books, RefusedCovers, ::testing::ValuesIn(kRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TitleCover, NoInstalledFontGivesNoCover) {
    const ScratchFolder scratch;
    test::WriteFile(scratch / "fonts.conf",
                    "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                    "<fontconfig><dir>" +
                        scratch.Path() + "none</dir><cachedir>" + scratch.Path() +
                        "cache</cachedir></fontconfig>\n");
    const std::string file = scratch / "fonts.conf";
    const test::ScopedEnv env("FONTCONFIG_FILE", file.c_str());
    const TitleCover cover = MakeTitleCover({"The Ferry at Dawn", "Mary Shelton", "en", false});
    EXPECT_TRUE(cover.png.empty());
    EXPECT_NE(cover.problem.find("no installed font"), std::string::npos) << cover.problem;
}

struct LanguageCase {
    std::string_view tag;
    std::string_view fontconfig;
};
const LanguageCase kLanguages[] = {
    {"zh-CN", "zh-cn"},
    {"zh", "zh-cn"},
    {"zh-Hans-SG", "zh-sg"},
    {"zh-TW", "zh-tw"},
    {"zh-Hant", "zh-tw"},
    {"zh_hk", "zh-hk"},
    {"zh-Hant-MO", "zh-mo"},
    {"ja", "ja"},
    {"en-US", "en-us"},
    {"sr-Latn-RS", "sr-rs"},
    {"", ""},
};

TEST(TitleCover, BookLanguageTellsFontconfigItsLanguage) {
    for (const LanguageCase& c : kLanguages)
        EXPECT_EQ(FontconfigLanguage(c.tag), c.fontconfig) << c.tag;
}

// A picture that deflates to more than a cover usually does (noise) still comes out whole.
TEST(CoverCanvas, PictureOfNoiseIsWrittenWhole) {
    CoverCanvas canvas(300, 200, Rgb{10, 20, 30}, {Rgb{240, 240, 240}});
    std::uint32_t state = 12345;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            state = state * 1664525u + 1013904223u;
            canvas.Blend(x, y, 0, static_cast<std::uint8_t>(state >> 24));
        }
    const std::string png = canvas.Png();
    const Picture picture = Decode(png);
    ASSERT_EQ(picture.width, 300);
    ASSERT_EQ(picture.height, 200);
    EXPECT_GT(png.size(), std::size_t{300 * 200 * 3 / 8}); // past the first room it is given
    EXPECT_NE(picture.At(0, 0)[0], picture.At(1, 0)[0]);
}

// A face without vertical metrics (DejaVu, Droid Sans Fallback) once had each glyph of a
// column placed by its own outline: a tall or deep glyph stood apart or overlapped the next.
TEST(TitleCover, VerticalColumnKeepsOneOriginInAFaceWithoutVerticalMetrics) {
    const std::u32string text = U"Ag.y\u00c9";
    const std::optional<FontFace> found = CoverFonts().Find(text, "en", 80);
    ASSERT_TRUE(found) << "the test fonts have DejaVu";
    CoverFace face(*found);
    face.SetSize(100);
    const std::vector<PlacedGlyph> glyphs = face.Shape(text, "en", true);
    ASSERT_EQ(glyphs.size(), text.size());
    for (const PlacedGlyph& glyph : glyphs) {
        EXPECT_DOUBLE_EQ(glyph.yOffset, glyphs.front().yOffset) << glyph.character;
        EXPECT_LT(glyph.yAdvance, 0) << glyph.character;
    }
}

} // namespace
} // namespace folivane::engine
