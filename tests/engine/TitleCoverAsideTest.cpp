// The cover made beside the conversion: the same picture as made in place, and no wait for a
// title that never comes.
#include "engine/job/TitleCoverAside.h"
#include "platform/Memory.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

BookInput TitleCoverInput() {
    BookInput input;
    input.titleCover = true;
    return input;
}

TEST(TitleCoverAside, DrawsTheSamePictureAsMadeInPlace) {
    if (platform::AddressSpaceLimited())
        GTEST_SKIP() << "under ulimit -v the cover is made in place";
    const TitleCoverText text{"The Ferry at Dawn", "Mary Shelton", "en", false};
    TitleCoverAside aside(TitleCoverInput());
    ASSERT_TRUE(aside.Active());
    aside.Draw(text);
    const TitleCover beside = aside.Get();
    const TitleCover inPlace = MakeTitleCover(text);
    ASSERT_FALSE(inPlace.png.empty()) << inPlace.problem;
    EXPECT_EQ(beside.png, inPlace.png);
    EXPECT_EQ(beside.titleFace.file, inPlace.titleFace.file);
}

// Drawn ahead from a likely text, the picture is kept when the decision says the same and
// drawn again when it does not.
TEST(TitleCoverAside, KeepsTheLikelyPictureOnlyWhenItsTextIsDecided) {
    if (platform::AddressSpaceLimited())
        GTEST_SKIP() << "under ulimit -v the cover is made in place";
    const TitleCoverText decided{"渡口风云", "佚名", "zh-CN", false};
    for (const TitleCoverText& likely : {decided, TitleCoverText{"渡口风云", "佚名", "ja", false},
                                         TitleCoverText{"The Ferry", "", "en", false}}) {
        TitleCoverAside aside(TitleCoverInput());
        ASSERT_TRUE(aside.Active());
        aside.DrawLikely(likely);
        aside.Draw(decided);
        const TitleCover inPlace = MakeTitleCover(decided);
        ASSERT_FALSE(inPlace.png.empty()) << inPlace.problem;
        EXPECT_TRUE(aside.Get().png == inPlace.png) << likely.title << " in " << likely.language;
    }
}

// A conversion that fails before its title is decided ends at once: the task gives up on the
// text instead of holding the job open.
TEST(TitleCoverAside, EndsWithoutATitleWhenTheConversionStopsFirst) {
    { TitleCoverAside aside(TitleCoverInput()); }
    {
        TitleCoverAside aside(TitleCoverInput());
        aside.DrawLikely({"The Ferry", "", "en", false});
    }
    BookInput withPicture = TitleCoverInput();
    withPicture.coverPath = "/a/cover.png";
    EXPECT_FALSE(TitleCoverAside(withPicture).Active());
    BookInput none;
    none.titleCover = false;
    EXPECT_FALSE(TitleCoverAside(none).Active());
}

} // namespace
} // namespace folivane::engine
