// The title cover's module: a book whose module is missing or foreign gets no cover and says
// which file and why, rather than failing or crashing. The module beside the program draws
// every cover of TitleCoverAsideTest, which compares them with the linked code's.
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

} // namespace
} // namespace folivane::engine
