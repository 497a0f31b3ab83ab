// Chapter pages: one paragraph per line whatever the line ends, text escaped on the way.
#include "engine/epub/ChapterPage.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using namespace std::string_literals;

constexpr EpubVersion kEpub3 = EpubVersion::Epub3;

std::string Page(std::string_view name, std::string_view text,
                 HeadingKind heading = HeadingKind::None, std::string_view language = "zh-CN",
                 EpubVersion version = EpubVersion::Epub2) {
    return BuildChapterPage(name, text, heading, language, version);
}

const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html xmlns=\"http://www.w3.org/1999/xhtml\" "
    "xml:lang=\"zh-CN\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
    "charset=utf-8\" /><link rel=\"stylesheet\" type=\"text/css\" href=\"css/main.css\"/><title>";

// The head of an EPUB 3 page in `language`, up to its title's text.
std::string Epub3Head(const std::string& language) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE html><html "
           "xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" "
           "xml:lang=\"" +
           language + "\" lang=\"" + language +
           "\"><head><meta charset=\"utf-8\"/><link rel=\"stylesheet\" type=\"text/css\" "
           "href=\"css/main.css\"/><title>";
}

struct PageCase {
    const char* name;
    std::string text;
    std::string body; // between <body> and </body>
};

class ChapterPageBody : public testing::TestWithParam<PageCase> {};

TEST_P(ChapterPageBody, HasOneParagraphPerLine) {
    EXPECT_EQ(Page("Name", GetParam().text),
              kHead + "Name</title></head><body>" + GetParam().body + "</body></html>");
}

// The text of a page is the same whatever the EPUB version; only the document around it differs.
TEST_P(ChapterPageBody, IsTheSameInAnEpub3Page) {
    EXPECT_EQ(Page("Name", GetParam().text, HeadingKind::None, "zh-CN", kEpub3),
              Epub3Head("zh-CN") + "Name</title></head><body>" + GetParam().body +
                  "</body></html>");
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
     "a\ta\x01"
     "b\0c"s,
     "<p>a\tabc</p>"},
    // The style sheet indents paragraphs; a text's own indentation would double it.
    {"IndentationDropped", "\u3000\u3000\u4E2D \n  two words\n\t",
     "<p>\u4E2D </p><p>two words</p><p></p>"},
    {"CutSequenceBeforeALineEndDropsOnlyItself", "a\xE4\xB8\nb\xE4\xB8\xAD",
     "<p>a</p><p>b\xE4\xB8\xAD</p>"},
    {"NonCharacterDropped", "\xEF\xBF\xBFz", "<p>z</p>"},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, ChapterPageBody, testing::ValuesIn(kPageCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct HeadingCase {
    const char* name;
    std::string text;
    HeadingKind heading;
    std::string body;
};

class ChapterPageHeading : public testing::TestWithParam<HeadingCase> {};

TEST_P(ChapterPageHeading, OpensThePageAsAHeadingElement) {
    const HeadingCase& c = GetParam();
    EXPECT_EQ(Page("Name", c.text, c.heading, "ja"),
              std::string(kHead).replace(kHead.find("zh-CN"), 5, "ja") +
                  "Name</title></head><body>" + c.body + "</body></html>");
}

TEST_P(ChapterPageHeading, OpensASectionOfItsKindInAnEpub3Page) {
    const HeadingCase& c = GetParam();
    const char* kind = c.heading == HeadingKind::Volume ? "part" : "chapter";
    const std::string body =
        c.heading == HeadingKind::None
            ? c.body
            : "<section epub:type=\"" + std::string(kind) + "\">" + c.body + "</section>";
    EXPECT_EQ(Page("Name", c.text, c.heading, "ja", kEpub3),
              Epub3Head("ja") + "Name</title></head><body>" + body + "</body></html>");
}

const HeadingCase kHeadingCases[] = {
    {"ChapterIsH2", "\u3000Chapter 1 \r\ntext", HeadingKind::Chapter,
     "<h2>Chapter 1</h2><p>text</p>"},
    {"VolumeIsH1", "Book One\nfirst\n\nsecond", HeadingKind::Volume,
     "<h1>Book One</h1><p>first</p><p></p><p>second</p>"},
    {"HeadingAloneHasNoParagraph", "Part <2>\n", HeadingKind::Volume, "<h1>Part &lt;2&gt;</h1>"},
    {"NoHeadingKeepsTheFirstLineAParagraph", "Chapter 1\ntext", HeadingKind::None,
     "<p>Chapter 1</p><p>text</p>"},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, ChapterPageHeading, testing::ValuesIn(kHeadingCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ChapterPage, NameIsEscapedIntoTheTitle) {
    EXPECT_EQ(Page("A & <B>\n", "t"),
              kHead + "A &amp; &lt;B&gt;\n</title></head><body><p>t</p></body></html>");
}

TEST(ChapterPage, ReusedBufferHoldsOnlyTheNewPage) {
    std::string page;
    BuildChapterPage(page, "long", std::string(100000, 'x'), HeadingKind::None, "en",
                     EpubVersion::Epub2);
    BuildChapterPage(page, "short", "y", HeadingKind::None, "en", EpubVersion::Epub2);
    EXPECT_EQ(page, Page("short", "y", HeadingKind::None, "en"));
}

} // namespace
} // namespace folivane::engine
