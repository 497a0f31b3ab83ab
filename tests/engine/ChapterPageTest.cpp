// Chapter pages: one paragraph per line whatever the line ends, text escaped on the way.
#include "engine/ChapterPage.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using namespace std::string_literals;

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"zh-CN\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=utf-8\" /><link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/><title>";

struct PageCase {
    const char* name;
    std::string text;
    std::string body; // between <body> and </body>
};

class ChapterPageBody : public testing::TestWithParam<PageCase> {};

TEST_P(ChapterPageBody, HasOneParagraphPerLine) {
    EXPECT_EQ(BuildChapterPage("Name", GetParam().text),
              kHead + "Name</title></head><body>" + GetParam().body + "</body></html>");
}

const PageCase kPageCases[] = {
    {"EmptyTextIsOneEmptyParagraph", "", "<p></p>"},
    {"LineWithoutEnd", "one", "<p>one</p>"},
    {"EndOfTheLastLineOpensNoParagraph", "one\r\n", "<p>one</p>"},
    {"OnlyALineEnd", "\n", "<p></p>"},
    {"CrLfLfAndLoneCrEachEndALine", "a\r\nb\nc\rd", "<p>a</p><p>b</p><p>c</p><p>d</p>"},
    {"LfCrIsTwoLineEnds", "a\n\rb", "<p>a</p><p></p><p>b</p>"},
    {"EmptyLinesAreEmptyParagraphs", "a\r\n\r\n\r\nb\r\n\r\n",
     "<p>a</p><p></p><p></p><p>b</p><p></p>"},
    {"MarkupIsEscapedInEveryLine", "x < y\n\"q\" & r >\n",
     "<p>x &lt; y</p><p>\"q\" &amp; r &gt;</p>"},
    {"TabsKeptControlsDropped",
     "\ta\x01"
     "b\0c"s,
     "<p>\tabc</p>"},
    {"CutSequenceBeforeALineEndDropsOnlyItself", "a\xE4\xB8\nb\xE4\xB8\xAD",
     "<p>a</p><p>b\xE4\xB8\xAD</p>"},
    {"NonCharacterDropped", "\xEF\xBF\xBFz", "<p>z</p>"},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, ChapterPageBody, testing::ValuesIn(kPageCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ChapterPage, NameIsEscapedIntoTheTitle) {
    EXPECT_EQ(BuildChapterPage("A & <B>\n", "t"),
              kHead + "A &amp; &lt;B&gt;\n</title></head><body><p>t</p></body></html>");
}

TEST(ChapterPage, ReusedBufferHoldsOnlyTheNewPage) {
    std::string page;
    BuildChapterPage(page, "long", std::string(100000, 'x'));
    BuildChapterPage(page, "short", "y");
    EXPECT_EQ(page, BuildChapterPage("short", "y"));
}

} // namespace
} // namespace folivane::engine
