// Finding headings in a source's text: line ends, offsets, contents lists at the top.
#include "engine/chapters/HeadingFinder.h"

#include <gtest/gtest.h>

namespace folivane::engine {

void PrintTo(const HeadingLine& line, std::ostream* out) {
    *out << "[" << line.begin << ", " << line.end << ") " << static_cast<int>(line.kind) << " "
         << line.name;
}

namespace {

// Each heading as "C name" or "V name", for comparing whole lists at a glance.
std::vector<std::string> Described(const std::vector<HeadingLine>& headings) {
    std::vector<std::string> out;
    for (const HeadingLine& heading : headings)
        out.push_back((heading.kind == HeadingKind::Volume ? "V " : "C ") + heading.name);
    return out;
}

struct FindCase {
    const char* name;
    std::string text;
    std::vector<std::string> headings;
};

class FindHeadingsIn : public testing::TestWithParam<FindCase> {};

TEST_P(FindHeadingsIn, GivesTheChapterHeadings) {
    EXPECT_EQ(Described(FindHeadings(GetParam().text, HeadingRules::BuiltIn())),
              GetParam().headings);
}

const FindCase kFindCases[] = {
    {"EmptyText", "", {}},
    {"NoHeadings", "一个人走在路上。\n他想起了很多事。\n", {}},
    {"SingleHeading", "第一章 开始\n正文", {"C 第一章 开始"}},
    {"SingleHeadingWithoutText", "第一章 开始", {"C 第一章 开始"}},
    {"BookWithoutContents",
     "书名\n作者\n第一章 渡口\n甲\n乙\n第二章 风起\n甲\n乙\n第三章 归来\n甲\n乙\n",
     {"C 第一章 渡口", "C 第二章 风起", "C 第三章 归来"}},
    {"ChineseContentsListDropped",
     "书名\n目录\n第一章 渡口\n第二章 风起\n第三章 归来\n\n第一章 渡口\n甲\n乙\n第二章 "
     "风起\n甲\n乙\n"
     "第三章 归来\n甲\n乙\n",
     {"C 第一章 渡口", "C 第二章 风起", "C 第三章 归来"}},
    {"EnglishContentsAfterAForeword",
     "Foreword\nThis book took ten years to write, and here is why it did.\n\nContents\n"
     "Chapter 1\nChapter 2\nChapter 3\n\nChapter 1\nIt was dark.\nIt was cold.\n"
     "Chapter 2\nMorning came.\nThen noon.\nChapter 3\nThe end came.\nAt last.\n",
     {"C Chapter 1", "C Chapter 2", "C Chapter 3"}},
    {"EntriesWithOneShortLineEachAreAList",
     "Chapter 1\n1\nChapter 2\n5\nChapter 3\n9\nChapter 1\nIt was dark.\nIt was cold.\n",
     {"C Chapter 1"}},
    {"TwoEntriesRepeatedBelowAreAList",
     "第一章 开始\n第二章 结束\n第一章 开始\n甲\n乙\n第二章 结束\n甲\n乙\n",
     {"C 第一章 开始", "C 第二章 结束"}},
    {"VolumeAboveItsFirstChapterStays",
     "第一卷 风起\n\n第一章 渡口\n正文\n正文\n第二章 江湖\n正文\n正文\n",
     {"V 第一卷 风起", "C 第一章 渡口", "C 第二章 江湖"}},
    {"NestedVolumesAboveTheFirstChapterStay",
     "Book One\nPart One\nChapter 1\nIt was dark.\nIt was cold.\n",
     {"V Book One", "V Part One", "C Chapter 1"}},
    {"ContentsListKeepsTheRealFirstVolume",
     "目录\n第一卷 风起\n第一章 渡口\n第二章 江湖\n第二卷 归途\n第三章 重逢\n\n"
     "第一卷 风起\n\n第一章 渡口\n正文\n正文\n第二章 江湖\n正文\n正文\n",
     {"V 第一卷 风起", "C 第一章 渡口", "C 第二章 江湖"}},
    {"ContentsOfVolumesAboveAVolumeWithText",
     "第一卷\n第二卷\n第三卷\n第一卷\n本卷讲述少年离家。\n一路向北。\n第一章 渡口\n正文\n正文\n",
     {"V 第一卷", "C 第一章 渡口"}},
    {"EmptyChaptersAfterTheFirstFullOneStay",
     "第一章\n甲\n乙\n第二章\n第三章\n第四章\n第五章\n甲\n乙\n",
     {"C 第一章", "C 第二章", "C 第三章", "C 第四章", "C 第五章"}},
    // A run of headings is a list only when its entries come again as the text's headings.
    {"ShortChaptersAtTheStartStay",
     "Chapter 1\nIt was dark.\nChapter 2\nIt was cold.\nChapter 3\nIt rained.\nChapter 4\n"
     "The rain went on and on.\nAll night long.\n",
     {"C Chapter 1", "C Chapter 2", "C Chapter 3", "C Chapter 4"}},
    {"HeadingsNeverRepeatedAreChapters",
     "第一章\n第二章\n第三章\n",
     {"C 第一章", "C 第二章", "C 第三章"}},
    {"ShortRealFirstChapterAfterTheListStays",
     "第一章 渡口\n第二章 江湖\n第三章 归途\n第一章 渡口\n天亮了。\n第二章 江湖\n甲\n乙\n"
     "第三章 归途\n甲\n乙\n",
     {"C 第一章 渡口", "C 第二章 江湖", "C 第三章 归途"}},
    {"EntriesWithPageNumbersAreAList",
     "Chapter 1 ..... 1\nChapter 2 ..... 9\nChapter 1\nIt was dark.\nIt was cold.\n"
     "Chapter 2\nMorning came.\nThen noon.\n",
     {"C Chapter 1", "C Chapter 2"}},
    {"ListFollowedByAPrologueFirst",
     "第一章\n第二章\n序章\n很久以前。\n那时候。\n第一章\n甲\n乙\n第二章\n甲\n乙\n",
     {"C 序章", "C 第一章", "C 第二章"}},
    {"ALongLineUnderTheFirstHeadingIsText",
     "第一章\n这一行很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很"
     "长很长。\n"
     "第二章\n第三章\n",
     {"C 第一章", "C 第二章", "C 第三章"}},
};

INSTANTIATE_TEST_SUITE_P(FindHeadings, FindHeadingsIn, testing::ValuesIn(kFindCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FindHeadings, OffsetsFollowEveryKindOfLineEnd) {
    // CR LF, a lone CR, LF, LF CR (two ends: an empty line between), and no end at all.
    const std::string text = "a\r\n第一章 x\rt\rt\n第二章\n\r第三章\r\n\u3000卷一";
    const std::vector<HeadingLine> expected = {
        {3, 14, HeadingKind::Chapter, "第一章 x"},
        {19, 28, HeadingKind::Chapter, "第二章"},
        {30, 39, HeadingKind::Chapter, "第三章"},
        {41, 50, HeadingKind::Volume, "卷一"},
    };
    EXPECT_EQ(FindHeadings(text, HeadingRules::BuiltIn()), expected);
}

TEST(FindHeadings, ContentsListLeavesTheRealHeadingsWhereTheyAre) {
    const std::string text = "目录\r\n第一章\r\n第二章\r\n第三章\r\n第一章\r\n甲\r\n乙\r\n";
    const std::vector<HeadingLine> found = FindHeadings(text, HeadingRules::BuiltIn());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].begin, text.rfind("第一章"));
}

TEST(FindHeadings, UsesTheRulesItIsGiven) {
    const std::string text = "Kapitel 1\nText\nText\nKapitel 2\nText\n";
    EXPECT_EQ(Described(FindHeadings(text, HeadingRules::Custom("^Kapitel \\d+$", ""))),
              (std::vector<std::string>{"C Kapitel 1", "C Kapitel 2"}));
    EXPECT_TRUE(FindHeadings(text, HeadingRules::BuiltIn()).empty());
}

} // namespace
} // namespace folivane::engine
