// Cutting a chapter into pages: between lines, and a line longer than a page where a sentence
// ends.
#include "engine/chapters/PageCuts.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

// Repeats `unit` up to `size` bytes.
std::string Filled(const std::string& unit, std::size_t size) {
    std::string text;
    while (text.size() + unit.size() <= size)
        text += unit;
    return text;
}

struct CutCase {
    const char* name;
    std::string line;          // one line, longer than a page
    std::string firstPageEnd;  // what the first page ends with
    std::string secondPageTop; // and the second begins with
};

class LongLine : public testing::TestWithParam<CutCase> {};

TEST_P(LongLine, IsCutWithinThePageSizeLimitWhereASentenceEnds) {
    const std::string& line = GetParam().line;
    const std::vector<PageRange> pages = CutPages(line, {0, line.size()});
    ASSERT_GE(pages.size(), 2u);
    std::size_t at = 0;
    for (const PageRange& page : pages) {
        EXPECT_EQ(page.first, at);
        EXPECT_LE(page.second - page.first + 2, kSizeLimit);
        at = page.second;
    }
    EXPECT_EQ(at, line.size());
    const std::string first = line.substr(0, pages[0].second);
    EXPECT_TRUE(first.ends_with(GetParam().firstPageEnd)) << first.substr(first.size() - 20);
    EXPECT_TRUE(line.substr(pages[1].first).starts_with(GetParam().secondPageTop));
}

const std::string kWords = Filled("word ", 60000);

const CutCase kCutCases[] = {
    {"AfterChineseSentences", Filled("他走了很久。", 200000), "很久。", "他走"},
    {"ClosingQuoteStaysWithItsSentence", Filled("“走吧！”他说", 200000), "！”", "他说"},
    {"EnglishSentenceBeforeItsSpace", Filled("It rained. ", 200000), "rained.", " It"},
    {"NoFullStopInADecimalNumber", Filled("3.14 ", 200000), "3.14 ", "3.14"},
    {"AfterASpaceWithoutSentences", kWords + kWords, "word ", "word"},
    {"BetweenCharactersWithoutSpaces", Filled("漢", 200000), "漢", "漢"},
};

INSTANTIATE_TEST_SUITE_P(PageCuts, LongLine, testing::ValuesIn(kCutCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PageCuts, LongLineAfterShortOnesStartsAPageOfItsOwn) {
    const std::string text = "short\n" + Filled("x", 200000) + "\nend\n";
    const std::vector<PageRange> pages = CutPages(text, {0, text.size()});
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[0], (PageRange{0, 6}));
    EXPECT_EQ(pages[1].second - pages[1].first, kPieceThreshold - 2);
    EXPECT_EQ(pages.back().second, text.size());
}

struct ParagraphCase {
    const char* name;
    ParagraphStyle style;
    const char* indent; // what begins a paragraph's first line
    const char* gap;    // what parts paragraphs
};

// A paragraph of `lines` lines of 70 bytes, as wrapped text has them.
std::string Paragraph(const std::string& indent, int lines) {
    std::string text = indent;
    for (int i = 0; i < lines; ++i)
        text +=
            std::string(i == 0 ? 70 - indent.size() : 70, static_cast<char>('a' + i % 26)) + "\n";
    return text;
}

class LargeParagraph : public testing::TestWithParam<ParagraphCase> {};

TEST_P(LargeParagraph, ThatWouldCarryAPagePastTheLimitStartsTheNextPageWhole) {
    const ParagraphCase& c = GetParam();
    // Short paragraphs up to about 86 KB, short of a page, then one of 21 KB that crosses
    // the page's threshold within it and would pass the size limit before it ends.
    std::string text;
    while (text.size() < 84000)
        text += Paragraph(c.indent, 6) + c.gap;
    const std::size_t large = text.size();
    text += Paragraph(c.indent, 300) + c.gap + Paragraph(c.indent, 3);
    const std::vector<PageRange> pages = CutPages(text, {0, text.size()}, c.style);
    EXPECT_EQ(pages, (std::vector<PageRange>{{0, large}, {large, text.size()}}));
}

const ParagraphCase kParagraphCases[] = {
    {"PartedByBlankLines", ParagraphStyle::Blocks, "", "\n"},
    {"BegunByAnIndent", ParagraphStyle::Indented, "\u3000\u3000", ""},
};

INSTANTIATE_TEST_SUITE_P(PageCuts, LargeParagraph, testing::ValuesIn(kParagraphCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::engine
