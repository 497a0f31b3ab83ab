// Chapter pages: paragraphs whatever the line ends, text escaped on the way.
#include "engine/epub/ChapterPage.h"
#include "support/XmlTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using namespace std::string_literals;
using test::XmlTree;
using ::testing::ElementsAreArray;

constexpr EpubVersion kEpub2 = EpubVersion::Epub2;
constexpr EpubVersion kEpub3 = EpubVersion::Epub3;

std::string Page(std::string_view name, std::string_view text,
                 HeadingKind heading = HeadingKind::None, std::string_view language = "zh-CN",
                 EpubVersion version = kEpub2) {
    return BuildChapterPage(name, text, heading, language, version);
}

// The headings and paragraphs of a page as a reader shows them, in order: "p:text", "h2:text".
std::vector<std::string> Blocks(const XmlTree& page) {
    std::vector<std::string> blocks;
    for (const XmlTree::Node& block :
         page.Nodes("/h:html/h:body//*[self::h:p or self::h:h1 or self::h:h2]"))
        blocks.push_back(block.Value("local-name()") + ":" + block.Value("."));
    return blocks;
}

struct PageCase {
    const char* name;
    std::string text;
    std::vector<std::string> blocks;
};

class ChapterPageBody : public testing::TestWithParam<PageCase> {};

// The text of a page is the same whatever the EPUB version; only the document around it differs.
TEST_P(ChapterPageBody, HasOneParagraphPerLineInEitherVersion) {
    for (const EpubVersion version : {kEpub2, kEpub3}) {
        SCOPED_TRACE(static_cast<int>(version));
        const XmlTree page(Page("Name", GetParam().text, HeadingKind::None, "zh-CN", version));
        ASSERT_EQ(page.Error(), "");
        EXPECT_THAT(Blocks(page), ElementsAreArray(GetParam().blocks));
        EXPECT_EQ(page.Count("/h:html/h:body/*"), GetParam().blocks.size()) << "nothing else";
    }
}

const PageCase kPageCases[] = {
    {"EmptyTextIsOneEmptyParagraph", "", {"p:"}},
    {"LineWithoutEnd", "one", {"p:one"}},
    {"EndOfTheLastLineOpensNoParagraph", "one\r\n", {"p:one"}},
    {"OnlyALineEnd", "\n", {"p:"}},
    {"CrLfLfAndLoneCrEachEndALine", "a\r\nb\nc\rd", {"p:a", "p:b", "p:c", "p:d"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"p:a", "p:b"}},
    // Spacing is the style sheet's: a blank line makes no paragraph.
    {"BlankLinesMakeNoParagraph", "a\r\n\r\n\r\nb\r\n\r\n", {"p:a", "p:b"}},
    {"MarkupIsEscapedInEveryLine",
     "x < y\n\"q\" & r >\n]]> &amp;\n",
     {"p:x < y", "p:\"q\" & r >", "p:]]> &amp;"}},
    {"TabsKeptControlsDropped",
     "a\ta\x01"
     "b\0c"s,
     {"p:a\tabc"}},
    // The style sheet indents paragraphs; a text's own indentation would double it.
    {"IndentationDropped", "\u3000\u3000\u4E2D \n  two words\n\t", {"p:\u4E2D", "p:two words"}},
    {"CutSequenceBeforeALineEndDropsOnlyItself",
     "a\xE4\xB8\nb\xE4\xB8\xAD",
     {"p:a", "p:b\xE4\xB8\xAD"}},
    {"NonCharacterDropped", "\xEF\xBF\xBFz", {"p:z"}},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, ChapterPageBody, testing::ValuesIn(kPageCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct HeadingCase {
    const char* name;
    std::string text;
    HeadingKind heading;
    std::vector<std::string> blocks;
    const char* section; // the EPUB 3 section's epub:type; null for none
};

class ChapterPageHeading : public testing::TestWithParam<HeadingCase> {};

TEST_P(ChapterPageHeading, OpensThePageAsAHeadingElement) {
    const HeadingCase& c = GetParam();
    const XmlTree page(Page("Name", c.text, c.heading, "ja"));
    ASSERT_EQ(page.Error(), "");
    EXPECT_THAT(Blocks(page), ElementsAreArray(c.blocks));
    EXPECT_EQ(page.Value("/h:html/@xml:lang"), "ja");
}

TEST_P(ChapterPageHeading, OpensASectionOfItsKindInAnEpub3Page) {
    const HeadingCase& c = GetParam();
    const XmlTree page(Page("Name", c.text, c.heading, "ja", kEpub3));
    ASSERT_EQ(page.Error(), "");
    EXPECT_THAT(Blocks(page), ElementsAreArray(c.blocks));
    if (c.section) {
        // Everything of the page lies in the one section.
        EXPECT_EQ(page.Values("/h:html/h:body/*/@epub:type"), std::vector<std::string>{c.section});
        EXPECT_EQ(page.Count("/h:html/h:body/h:section/*"), c.blocks.size());
    } else {
        EXPECT_EQ(page.Count("//h:section"), 0u);
    }
}

const HeadingCase kHeadingCases[] = {
    {"ChapterIsH2",
     "\u3000Chapter 1 \r\ntext",
     HeadingKind::Chapter,
     {"h2:Chapter 1", "p:text"},
     "chapter"},
    {"VolumeIsH1",
     "Book One\nfirst\n\nsecond",
     HeadingKind::Volume,
     {"h1:Book One", "p:first", "p:second"},
     "part"},
    {"HeadingAloneHasNoParagraph", "Part <2>\n", HeadingKind::Volume, {"h1:Part <2>"}, "part"},
    {"NoHeadingKeepsTheFirstLineAParagraph",
     "Chapter 1\ntext",
     HeadingKind::None,
     {"p:Chapter 1", "p:text"},
     nullptr},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, ChapterPageHeading, testing::ValuesIn(kHeadingCases),
                         [](const auto& row) { return std::string(row.param.name); });

// What a reader needs around the text: the title, the style sheet, the language, UTF-8; for
// EPUB 3 an HTML5 document.
TEST(ChapterPage, HeadNamesThePageAndLinksTheStyleSheetInEitherVersion) {
    for (const EpubVersion version : {kEpub2, kEpub3}) {
        SCOPED_TRACE(static_cast<int>(version));
        const XmlTree page(Page("A & <B>\n", "t", HeadingKind::None, "zh-TW", version));
        ASSERT_EQ(page.Error(), "");
        EXPECT_EQ(page.Encoding(), "UTF-8");
        EXPECT_EQ(page.Values("/h:html/h:head/h:title"), std::vector<std::string>{"A & <B>\n"});
        EXPECT_EQ(page.Values("/h:html/h:head/h:link[@rel='stylesheet']/@href"),
                  std::vector<std::string>{"css/main.css"});
        EXPECT_EQ(page.Value("/h:html/@xml:lang"), "zh-TW");
        if (version == kEpub3) {
            EXPECT_EQ(page.Doctype(), "html");
            EXPECT_EQ(page.Value("/h:html/@lang"), "zh-TW");
        }
    }
}

TEST(ChapterPage, ReusedBufferHoldsOnlyTheNewPage) {
    std::string page;
    BuildChapterPage(page, "long", std::string(100000, 'x'), HeadingKind::None, "en",
                     EpubVersion::Epub2);
    BuildChapterPage(page, "short", "y", HeadingKind::None, "en", EpubVersion::Epub2);
    EXPECT_EQ(page, Page("short", "y", HeadingKind::None, "en"));
}

// What plain text draws with marks and spaces, a reader gets as structure.
TEST(ChapterPage, MailQuotesNestWithoutTheirMarksAndListingsKeepTheirIndentation) {
    const std::string text =
        "> Are we on?\n> Bring maps.\n>\n>> We got lost.\n> > Twice.\n> Yes.\n\n"
        "    if (lit) {\n        burn();   \n    }\n";
    ParagraphShape shape;
    shape.style = ParagraphStyle::Blocks;
    shape.wrapWidth = 60;
    for (const EpubVersion version : {kEpub2, kEpub3}) {
        const std::string built =
            BuildChapterPage("Mail", text, HeadingKind::None, "en", version, {shape, false});
        const XmlTree page(built);
        ASSERT_EQ(page.Error(), "");
        EXPECT_EQ(built.find("&gt;"), std::string::npos) << built;
        EXPECT_EQ(page.Values("/h:html/h:body/h:blockquote/h:p"),
                  (std::vector<std::string>{"Are we on?Bring maps.", "Yes."}));
        EXPECT_EQ(page.Count("/h:html/h:body/h:blockquote/h:p[1]/h:br"), 1u);
        EXPECT_EQ(page.Values("/h:html/h:body/h:blockquote/h:blockquote/h:p"),
                  std::vector<std::string>{"We got lost.Twice."});
        EXPECT_EQ(page.Values("/h:html/h:body/h:pre[@class='code']"),
                  std::vector<std::string>{"if (lit) {\n    burn();\n}"});
    }
}

struct JoinCase {
    const char* name;
    std::string lines;
    bool fixedCjkWrap;
    std::string joined;
};

class JoinedLines : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinedLines, KeepWordsWholeWhereAFixedWidthCutThem) {
    std::string joined;
    JoinParagraphLines(joined, GetParam().lines, 0, GetParam().lines.size(),
                       GetParam().fixedCjkWrap);
    EXPECT_EQ(joined, GetParam().joined);
}

const JoinCase kJoinCases[] = {
    {"WordCutByTheWrap", "他打开Wi\nndows电脑", true, "他打开Windows电脑"},
    {"NumberCutByTheWrap", "版本20\n19发布", true, "版本2019发布"},
    {"SpaceAtTheLineEndStays", "用Microsoft \nOffice写", true, "用Microsoft Office写"},
    {"SpaceAtTheNextLineStartStays", "用Microsoft\n Office写", true, "用Microsoft Office写"},
    {"LatinTextJoinsWithASpace", "the river\nwas slow", false, "the river was slow"},
};

INSTANTIATE_TEST_SUITE_P(ChapterPage, JoinedLines, testing::ValuesIn(kJoinCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::engine
