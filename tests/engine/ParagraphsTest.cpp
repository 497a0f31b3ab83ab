// Paragraphs from lines: what each style joins, keeps and breaks, and the style Auto picks.
#include "engine/chapters/Paragraphs.h"
#include "engine/chapters/PageCuts.h"
#include "engine/chapters/TextSections.h"
#include "engine/epub/ChapterPage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

namespace folivane::engine {
namespace {

using ::testing::ElementsAreArray;

// Words of a made-up novel, picked by a fixed sequence so that every run is the same.
class Words {
public:
    explicit Words(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next(std::uint32_t below) {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) % below;
    }
    std::string Sentence(std::size_t words) {
        static const char* const kWords[] = {
            "the", "river",   "was",  "slow",     "and",    "brown", "she",   "remembered",
            "an",  "evening", "when", "lanterns", "burned", "over",  "water", "quietly"};
        std::string s;
        for (std::size_t i = 0; i < words; ++i)
            s += (i ? " " : "") + std::string(kWords[Next(16)]);
        return s + ".";
    }
    // A Chinese paragraph of `count` characters.
    std::string Han(std::size_t count) {
        static const char* const kHan[] = {"\u6C5F", "\u6C34", "\u6162", "\u5979", "\u8BB0",
                                           "\u5F97", "\u591C", "\u706F", "\u3002", "\uFF0C"};
        std::string s;
        for (std::size_t i = 0; i < count; ++i)
            s += kHan[Next(10)];
        return s;
    }

private:
    std::uint32_t state_;
};

// `paragraph` wrapped at `width` characters between words, as archives wrap prose.
std::string Wrap(const std::string& paragraph, std::size_t width, const std::string& end = "\n") {
    std::string out;
    std::string line;
    std::size_t start = 0;
    while (start < paragraph.size()) {
        std::size_t space = paragraph.find(' ', start);
        if (space == std::string::npos) space = paragraph.size();
        const std::string word = paragraph.substr(start, space - start);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += line + end;
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = space + 1;
    }
    return out + line + end;
}

// CJK text wrapped every `width` characters.
std::string WrapHan(const std::string& paragraph, std::size_t width) {
    std::string out;
    for (std::size_t at = 0; at < paragraph.size(); at += 3 * width)
        out += paragraph.substr(at, 3 * width) + "\n";
    return out;
}

// Each paragraph as a reader gets it: "text:...", "verse:a|b", "break:* * *", "gap".
std::vector<std::string> Read(std::string_view text, const ParagraphShape& shape) {
    std::vector<std::string> read;
    for (const Paragraph& p : BuildParagraphs(text, shape)) {
        std::string joined;
        switch (p.kind) {
        case ParagraphKind::BreakGap:
            read.push_back("gap");
            break;
        case ParagraphKind::BreakMarks:
            read.push_back("break:" + std::string(text.substr(p.begin, p.end - p.begin)));
            break;
        case ParagraphKind::Verse:
        case ParagraphKind::Quote:
        case ParagraphKind::Code:
            joined = std::string(text.substr(p.begin, p.end - p.begin));
            for (std::size_t at; (at = joined.find('\n')) != std::string::npos;)
                joined.replace(at, 1, "|");
            read.push_back(std::string(p.kind == ParagraphKind::Verse   ? "verse:"
                                       : p.kind == ParagraphKind::Quote ? "quote:"
                                                                        : "code:") +
                           joined);
            break;
        case ParagraphKind::Text:
            JoinParagraphLines(joined, text, p.begin, p.end);
            read.push_back("text:" + joined);
            break;
        }
    }
    return read;
}

Words words(7);
const std::string kLong1 = words.Sentence(40) + " " + words.Sentence(30);
const std::string kLong2 = words.Sentence(55);
const std::string kHan1 = words.Han(95);
const std::string kHan2 = words.Han(70);

struct BuildCase {
    const char* name;
    std::string text;
    ParagraphChoice choice;
    std::vector<std::string> paragraphs;
};

class ParagraphBuilding : public testing::TestWithParam<BuildCase> {};

TEST_P(ParagraphBuilding, JoinsKeepsAndBreaksAsTheTextShows) {
    const BuildCase& c = GetParam();
    EXPECT_THAT(Read(c.text, ParagraphShapeOf(c.text, c.choice)), ElementsAreArray(c.paragraphs));
}

const std::string kVerse = "Lanterns burn\nover the water,\nand she remembers.\n";

const BuildCase kBuildCases[] = {
    {"WrappedEnglishJoinedWithOneSpace",
     Wrap(kLong1, 60) + "\n" + Wrap(kLong2, 60),
     ParagraphChoice::Auto,
     {"text:" + kLong1, "text:" + kLong2}},
    {"CrLfLineEndsJoinAlike",
     Wrap(kLong1, 60, "\r\n") + "\r\n" + Wrap(kLong2, 60, "\r\n"),
     ParagraphChoice::Auto,
     {"text:" + kLong1, "text:" + kLong2}},
    {"WrappedChineseJoinedWithoutSpaces",
     WrapHan(kHan1, 30) + "\n" + WrapHan(kHan2, 30) + "\n" + WrapHan(kHan1, 30),
     ParagraphChoice::Auto,
     {"text:" + kHan1, "text:" + kHan2, "text:" + kHan1}},
    {"HyphenAfterALetterJoinsTheWordAndStays",
     "a well-\nknown man\nfrom 1914-\n1918 came\n",
     ParagraphChoice::Blocks,
     {"text:a well-known man from 1914- 1918 came"}},
    {"LatinBeforeCjkJoinsWithoutSpace",
     "Tokyo\n\u6771\u4EAC\n",
     ParagraphChoice::Blocks,
     {"text:Tokyo\u6771\u4EAC"}},
    {"VerseBlockKeepsItsLines",
     Wrap(kLong1, 60) + "\n" + kVerse + "\n" + Wrap(kLong2, 60),
     ParagraphChoice::Auto,
     {"text:" + kLong1, "verse:Lanterns burn|over the water,|and she remembers.",
      "text:" + kLong2}},
    {"TwoLineSignOffKeepsItsLines",
     Wrap(kLong1, 60) + "\nYours truly,\nJohn Smith\n",
     ParagraphChoice::Auto,
     {"text:" + kLong1, "verse:Yours truly,|John Smith"}},
    {"TwoLinesOfProseWithANameAtTheStartAreJoined",
     "the river was slow and brown and she remembered the lanterns and\nMary by the water.\n",
     ParagraphChoice::Blocks,
     {"text:the river was slow and brown and she remembered the lanterns and Mary by the water."}},
    {"QuotedLinesAreOneQuoteInAnyStyle",
     "On Monday, Ben wrote:\n> the river was slow\n>\n>> and brown\nYes.\n",
     ParagraphChoice::Lines,
     {"text:On Monday, Ben wrote:", "quote:> the river was slow|>|>> and brown", "text:Yes."}},
    {"IndentedVerseWithoutMarksOfCodeIsVerse",
     Wrap(kLong1, 60) + "\n    Lanterns burn\n    over the water,\n",
     ParagraphChoice::Blocks,
     {"text:" + kLong1, "verse:    Lanterns burn|    over the water,"}},
    {"IndentedPrintLayout",
     "    " + Wrap(kLong1, 60).substr(0) + "  " + Wrap(kLong2, 60),
     ParagraphChoice::Indented,
     {"text:" + kLong1, "text:" + kLong2}},
    {"ChineseLinePerParagraphKeptAsLines",
     "\u3000\u3000" + kHan1 + "\n\u3000\u3000" + kHan2 + "\n",
     ParagraphChoice::Auto,
     {"text:" + kHan1, "text:" + kHan2}},
    {"BreakLinesKeptAsBreaks",
     "one\n* * *\ntwo\n\u203B\u203B\u203B\nthree\n- - - and more\n",
     ParagraphChoice::Lines,
     {"text:one", "break:* * *", "text:two", "break:\u203B\u203B\u203B", "text:three",
      "text:- - - and more"}},
    {"TwoMarksAreNoBreak", "one\n**\n", ParagraphChoice::Lines, {"text:one", "text:**"}},
    {"LongBlankRunIsABreakWhereGapsAreOne",
     "a\n\nb\n\nc\n\n\n\nd\n",
     ParagraphChoice::Lines,
     {"text:a", "text:b", "text:c", "gap", "text:d"}},
    {"UsualGapsOfThreeAreNoBreak",
     "a\n\n\n\nb\n\n\nc\n\n\n\nd\n\n\ne\n",
     ParagraphChoice::Lines,
     {"text:a", "text:b", "text:c", "text:d", "text:e"}},
};

INSTANTIATE_TEST_SUITE_P(Paragraphs, ParagraphBuilding, testing::ValuesIn(kBuildCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A heading line is its page's first line and never joins the block after it.
TEST(ParagraphPage, HeadingIsNotJoinedToTheWrappedBlockAfterIt) {
    const std::string text = "Chapter 2\n" + Wrap(kLong1, 60);
    const std::string page =
        BuildChapterPage("Chapter 2", text, HeadingKind::Chapter, "en", EpubVersion::Epub2,
                         {ParagraphShapeOf(text, ParagraphChoice::Blocks), false});
    EXPECT_NE(page.find("<h2>Chapter 2</h2><p class=\"first\">" + kLong1 + "</p>"),
              std::string::npos)
        << page;
}

struct DetectCase {
    const char* name;
    std::string text;
    ParagraphStyle style;
};

std::string Repeat(std::size_t count, const std::function<std::string(std::size_t)>& make) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += make(i);
    return text;
}

Words detect(11);

const DetectCase kDetectCases[] = {
    {"ChineseNovelLinePerParagraph",
     Repeat(200,
            [](std::size_t) { return "\u3000\u3000" + detect.Han(20 + detect.Next(280)) + "\n"; }),
     ParagraphStyle::Lines},
    {"ChineseNovelWithBlankLines",
     Repeat(200, [](std::size_t) { return detect.Han(10 + detect.Next(200)) + "\n\n"; }),
     ParagraphStyle::Lines},
    {"HardWrappedEnglish",
     Repeat(60, [](std::size_t) { return Wrap(detect.Sentence(10 + detect.Next(90)), 70) + "\n"; }),
     ParagraphStyle::Blocks},
    {"HardWrappedWithAFewLongLines",
     Repeat(60,
            [](std::size_t i) {
                return Wrap(detect.Sentence(10 + detect.Next(90)), 70) + "\n" +
                       (i % 10 == 0 ? detect.Sentence(40) + "\n\n" : "");
            }),
     ParagraphStyle::Blocks},
    {"HardWrappedChinese",
     Repeat(60, [](std::size_t) { return WrapHan(detect.Han(30 + detect.Next(200)), 35) + "\n"; }),
     ParagraphStyle::Blocks},
    {"IndentedPrintWithoutBlankLines",
     Repeat(60,
            [](std::size_t) { return "   " + Wrap(detect.Sentence(10 + detect.Next(90)), 66); }),
     ParagraphStyle::Indented},
    {"VerseStanzas",
     Repeat(40,
            [](std::size_t) {
                return Wrap(detect.Sentence(3 + detect.Next(4)), 70) +
                       Wrap(detect.Sentence(3 + detect.Next(4)), 70) +
                       Wrap(detect.Sentence(3 + detect.Next(4)), 70) + "\n";
            }),
     ParagraphStyle::Lines},
    // Lines of much the same length look wrapped, but each one is indented as a paragraph.
    {"IndentedLinesOfEvenLength",
     Repeat(30,
            [](std::size_t i) {
                static const char* const kLines[] = {
                    "The lamp was lit at dusk, as it had been for forty years.",
                    "Nobody in the village remembered who had lit it first.",
                    "She closed the door behind her and the lamp went out."};
                return "\u3000\u3000" + std::string(kLines[i % 3]) + (i % 10 ? "\n" : "\n\n");
            }),
     ParagraphStyle::Lines},
    {"EnglishLinePerParagraph",
     Repeat(80, [](std::size_t) { return detect.Sentence(5 + detect.Next(60)) + "\n"; }),
     ParagraphStyle::Lines},
    {"TooShortToJudge", Wrap(words.Sentence(30), 40), ParagraphStyle::Lines},
};

class ParagraphDetection : public testing::TestWithParam<DetectCase> {};

TEST_P(ParagraphDetection, PicksTheStyleTheTextIsWrittenIn) {
    EXPECT_EQ(DetectParagraphStyle(GetParam().text), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(Paragraphs, ParagraphDetection, testing::ValuesIn(kDetectCases),
                         [](const auto& row) { return std::string(row.param.name); });

// A Chinese novel comes out as `lines` makes it, whatever Auto decides on the way.
TEST(ParagraphPage, ChineseNovelPageIsTheSameUnderAutoAndLines) {
    Words novel(3);
    const std::string text = Repeat(300, [&](std::size_t i) {
        return "\u3000\u3000" + novel.Han(15 + novel.Next(250)) + (i % 7 ? "\r\n" : "\r\n\r\n");
    });
    const auto page = [&](ParagraphChoice choice) {
        return BuildChapterPage("x", text, HeadingKind::None, "zh-CN", EpubVersion::Epub3,
                                {ParagraphShapeOf(text, choice), false});
    };
    EXPECT_EQ(page(ParagraphChoice::Auto), page(ParagraphChoice::Lines));
}

// Pages end where paragraphs do, within a line only when one paragraph is larger than a page.
TEST(ParagraphPageCuts, CutAtBlankLinesOfWrappedText) {
    std::string text;
    Words many(5);
    while (text.size() < 3 * kSizeLimit)
        text += Wrap(many.Sentence(60), 70) + "\n";
    const std::vector<PageRange> pages = CutPages(text, {0, text.size()}, ParagraphStyle::Blocks);
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t i = 1; i < pages.size(); ++i) {
        EXPECT_TRUE(text.compare(pages[i].first - 2, 2, "\n\n") == 0) << "page " << i;
        EXPECT_LE(pages[i].second - pages[i].first, kSizeLimit);
    }
}

TEST(ParagraphPageCuts, OneParagraphLargerThanAPageIsCutAtALineEnd) {
    std::string text;
    Words many(9);
    while (text.size() < 2 * kSizeLimit)
        text += Wrap(many.Sentence(60), 70);
    const std::vector<PageRange> pages = CutPages(text, {0, text.size()}, ParagraphStyle::Blocks);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(text[pages[1].first - 1], '\n');
}

struct TitleCase {
    const char* name;
    std::string text;
    std::string path;
    std::string title;
    std::string author;
};

class TitleOfText : public testing::TestWithParam<TitleCase> {};

TEST_P(TitleOfText, ComesFromTheHeaderElseTheFileName) {
    const TitleAndAuthor found = TitleAndAuthorOf(GetParam().text, GetParam().path);
    EXPECT_EQ(found.title, GetParam().title);
    EXPECT_EQ(found.author, GetParam().author);
}

const TitleCase kTitleCases[] = {
    {"ArchiveHeader",
     "The Project Gutenberg eBook of River\n\nTitle: River Lanterns\n\nAuthor: A. Writer\n",
     "/x/pg123.txt", "River Lanterns", "A. Writer"},
    {"ChineseLabels", "\u4E66\u540D\uFF1A\u6C5F\u706F\n\u4F5C\u8005\uFF1A\u674E\u56DB\n",
     "/x/a.txt", "\u6C5F\u706F", "\u674E\u56DB"},
    {"BracketedFirstLine", "\u300A\u6C5F\u706F\u300B\n\u6B63\u6587\n", "/x/a.txt", "\u6C5F\u706F",
     ""},
    {"FileNameWithBracketsAndAuthor", "\u6B63\u6587\n",
     "/x/\u300A\u6C5F\u706F\u300B\u4F5C\u8005\uFF1A\u674E\u56DB.txt", "\u6C5F\u706F",
     "\u674E\u56DB"},
    {"FileNameWithSpaceAndAuthor", "\u6B63\u6587\n",
     "/x/\u6C5F\u706F \u4F5C\u8005\uFF1A\u674E\u56DB.txt", "\u6C5F\u706F", "\u674E\u56DB"},
    {"FileNameAlone", "text\n", "/x/River Lanterns.TXT", "River Lanterns", ""},
    {"HeaderEndsAtTheStartLine",
     "*** START OF THE PROJECT GUTENBERG EBOOK X ***\nTitle: Not this\n", "/x/y.txt", "y", ""},
};

INSTANTIATE_TEST_SUITE_P(Paragraphs, TitleOfText, testing::ValuesIn(kTitleCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct SectionCase {
    const char* name;
    std::string text;
    std::string body;
};

class TextSectionsOf : public testing::TestWithParam<SectionCase> {};

TEST_P(TextSectionsOf, AreBoundOnlyByAnArchivesLinesWhereArchivesPutThem) {
    const TextSections sections = FindTextSections(GetParam().text);
    EXPECT_EQ(GetParam().text.substr(sections.bodyBegin, sections.bodyEnd - sections.bodyBegin),
              GetParam().body);
}

const std::string kBody = "body\nbody\nbody\nbody\nbody\nbody\n";

const SectionCase kSectionCases[] = {
    {"ThisProjectAndOldEBook",
     "h\n***START OF THIS PROJECT GUTENBERG E-BOOK X***\n" + kBody +
         "*** end of this project gutenberg ebook x ***\nlicence\n",
     kBody},
    {"NovelsOwnStarLinesAreText",
     "*** Start of the long winter ***\n" + kBody + "***END OF PART ONE***\n" + kBody,
     "*** Start of the long winter ***\n" + kBody + "***END OF PART ONE***\n" + kBody},
    {"StartLineInTheSecondHalfIsText",
     kBody + kBody + "*** START OF THE PROJECT GUTENBERG EBOOK X ***\nb\n",
     kBody + kBody + "*** START OF THE PROJECT GUTENBERG EBOOK X ***\nb\n"},
    {"EndLineInTheFirstHalfWithoutAStartIsText",
     "*** END OF THE PROJECT GUTENBERG EBOOK X ***\n" + kBody + kBody,
     "*** END OF THE PROJECT GUTENBERG EBOOK X ***\n" + kBody + kBody},
};

INSTANTIATE_TEST_SUITE_P(Archives, TextSectionsOf, testing::ValuesIn(kSectionCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TextSectionsTest, StartAndEndLinesInAnyCaseBoundTheBody) {
    const std::string text = "header\n  *** Start of the Project Gutenberg eBook X ***\r\nbody\n"
                             "a *** line\n*** END OF THE PROJECT GUTENBERG EBOOK X ***\nlicence\n";
    const TextSections sections = FindTextSections(text);
    EXPECT_EQ(text.substr(sections.bodyBegin, sections.bodyEnd - sections.bodyBegin),
              "body\na *** line\n");
    EXPECT_EQ(sections.endName, "END OF THE PROJECT GUTENBERG EBOOK X");
    const TextSections none = FindTextSections("no *** START OF here\n");
    EXPECT_EQ(none.bodyBegin, 0u);
    EXPECT_EQ(none.bodyEnd, 21u);
}

} // namespace
} // namespace folivane::engine
