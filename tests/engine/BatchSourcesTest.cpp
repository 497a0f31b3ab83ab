// The sources of one book each: folders listed in natural order, and the books' names.
#include "engine/job/BatchSources.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using ::testing::ElementsAre;

struct OrderCase {
    const char* name;
    std::string_view before, after;
};
const OrderCase kOrders[] = {
    {"NumbersByValue", "2.txt", "10.txt"},
    {"NumbersWithinNames", "第2章.txt", "第10章.txt"},
    {"FewerZerosFirstOnATie", "7.txt", "07.txt"},
    {"LongRunsOfDigits", "99999999999999999999.txt", "100000000000000000000.txt"},
    {"PrefixFirst", "a", "a1"},
    {"BytesOtherwise", "B.txt", "a.txt"},
};

class NaturalOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrder, PutsTheFirstBefore) {
    EXPECT_TRUE(NaturalLess(GetParam().before, GetParam().after));
    EXPECT_FALSE(NaturalLess(GetParam().after, GetParam().before));
}

INSTANTIATE_TEST_SUITE_P(Names, NaturalOrder, testing::ValuesIn(kOrders),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BatchSources, FolderGivesItsTextsInNaturalOrderAndEachFileOnce) {
    const test::ScratchFolder scratch;
    for (const char* name : {"10.txt", "2.txt", "1.TXT", "notes.md", ".hidden.txt"})
        test::WriteFile(scratch / name, "x");
    EXPECT_THAT(BatchSources({scratch.Path(), scratch / "2.txt"}),
                ElementsAre(scratch / "1.TXT", scratch / "2.txt", scratch / "10.txt"));
    EXPECT_THROW(BatchSources({scratch / "notes.md"}), ConversionError);
}

TEST(BatchBookPaths, TitlesNameBooksAndRepeatedOnesTheirFiles) {
    const test::ScratchFolder scratch;
    test::WriteFile(scratch / "a.txt", "Title: Same\n");
    test::WriteFile(scratch / "b.txt", "Title: Same\n");
    test::WriteFile(scratch / "c.txt", "Title: A/B\n");
    test::WriteFile(scratch / "软件.txt", "这里的软件很好用，网络很快，我们没有时间。\n");
    test::WriteFile(scratch / "猫.txt", "吾輩は猫である。名前はまだ無い。\n");
    BookInput options;
    options.chineseScript = ChineseScript::Taiwan;
    EXPECT_THAT(
        BatchBookPaths({scratch / "a.txt", scratch / "b.txt", scratch / "c.txt",
                        scratch / "软件.txt", scratch / "猫.txt"},
                       options, "out"),
        ElementsAre("out/a.epub", "out/b.epub", "out/A_B.epub", "out/軟體.epub", "out/猫.epub"));
    // The user's title names every book alike: then their files do, apart.
    options.title = "Mine";
    EXPECT_THAT(BatchBookPaths({scratch / "a.txt", scratch / "a.txt"}, options, ""),
                ElementsAre("a.epub", "a (2).epub"));
}

} // namespace
} // namespace folivane::engine
