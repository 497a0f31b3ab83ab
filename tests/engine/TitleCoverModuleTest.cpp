// The title cover's module: a book whose module is missing or foreign gets no cover and says
// which file and why, rather than failing or crashing.
#include "engine/cover/TitleCoverModule.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

TEST(TitleCoverModule, WithoutItsModuleNoPictureAndAProblemNamingTheFile) {
    const struct Row {
        const char* path;
        const char* named; // in the problem
    } rows[] = {
        {"/nonexistent/folivane/title-cover.so", "/nonexistent/folivane/title-cover.so"},
        {"libm.so.6", "libm.so.6 lacks folivane_title_cover_functions"}, // loads, not ours
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const TitleCoverModule module(row.path);
        EXPECT_EQ(module.ReadFonts(), nullptr);
        const TitleCover cover = module.Make({"The Ferry at Dawn", "Mary Shelton", "en", false});
        EXPECT_TRUE(cover.png.empty());
        EXPECT_EQ(cover.problem.rfind("No cover was made from the title: ", 0), 0u);
        EXPECT_NE(cover.problem.find(row.named), std::string::npos) << cover.problem;
    }
}

TEST(TitleCoverModule, BesideTheProgramDrawsAsTheLinkedCode) {
    const TitleCoverModule module;
    const TitleCoverText text{"渡口风云", "佚名", "zh-CN", true};
    const TitleCoverModule::Fonts fonts = module.ReadFonts();
    ASSERT_NE(fonts, nullptr);
    const TitleCover loaded = module.Make(text, fonts.get());
    const TitleCover linked = MakeTitleCover(text);
    ASSERT_FALSE(linked.png.empty()) << linked.problem;
    EXPECT_TRUE(loaded.png == linked.png) << loaded.problem;
    EXPECT_EQ(loaded.titleFace.family, linked.titleFace.family);
}

} // namespace
} // namespace folivane::engine
