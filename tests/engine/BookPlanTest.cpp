// The book's facts decided once: title and author from the user or the text, field by field,
// the language, and the labels of the contents.
#include "engine/job/BookPlan.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using ::testing::ElementsAreArray;

struct DecisionCase {
    const char* name;
    std::string file; // its name
    std::string text;
    std::string title, author, language; // as the user gave them
    std::string decidedTitle, decidedAuthor, decidedLanguage;
    std::vector<std::string> labels; // in reading order
};

void PrintTo(const DecisionCase& row, std::ostream* out) {
    *out << row.name;
}

void Flatten(const std::vector<PlanEntry>& entries, std::vector<std::string>& labels) {
    for (const PlanEntry& entry : entries) {
        labels.push_back(entry.label);
        Flatten(entry.children, labels);
    }
}

class BookDecision : public testing::TestWithParam<DecisionCase> {};

TEST_P(BookDecision, TakesEachFactFromTheUserElseTheText) {
    const DecisionCase& row = GetParam();
    const test::ScratchFolder scratch;
    test::WriteFile(scratch / row.file, row.text);
    BookInput input;
    input.sources = {scratch / row.file};
    input.title = row.title;
    input.author = row.author;
    input.language = row.language;
    const BookPlan plan = PlanBook(input);
    EXPECT_EQ(plan.title, row.decidedTitle);
    EXPECT_EQ(plan.author, row.decidedAuthor);
    if (!row.decidedLanguage.empty()) {
        EXPECT_EQ(plan.language, row.decidedLanguage);
    }
    std::vector<std::string> labels;
    Flatten(plan.contents, labels);
    EXPECT_THAT(labels, ElementsAreArray(row.labels));
}

const std::string kMoon = "《月光》作者：某人\n\n第一章 夜\n月光照在地上。\n";

const DecisionCase kDecisionCases[] = {
    {"BothBlankComeFromTheHeader",
     "hdr.txt",
     kMoon,
     "",
     "",
     "",
     "月光",
     "某人",
     "",
     {"月光", "第一章 夜"}},
    {"OnlyTheAuthorBlankStillTakesTheTextsAuthor",
     "hdr.txt",
     kMoon,
     "Mine",
     "",
     "",
     "Mine",
     "某人",
     "",
     {"Mine", "第一章 夜"}},
    {"OnlyTheTitleBlankStillTakesTheTextsTitle",
     "hdr.txt",
     kMoon,
     "",
     "Me",
     "",
     "月光",
     "Me",
     "",
     {"月光", "第一章 夜"}},
    {"BracketsPastTheFirstLinesAreNoTitle",
     "月光.txt",
     "夜里很静。\n他在读书。\n\n《史记》很长。\n",
     "",
     "",
     "",
     "月光",
     "",
     "",
     {"月光"}},
    {"OpeningOfOneSourceIsTheTitle",
     "river.txt",
     "Before.\nChapter 1\nOne.\n",
     "The River",
     "",
     "",
     "The River",
     "",
     "",
     {"The River", "Chapter 1"}},
    {"LanguageTheUserNamedIsTheBooks",
     "hdr.txt",
     kMoon,
     "",
     "",
     "en",
     "月光",
     "某人",
     "en",
     {"月光", "第一章 夜"}},
    {"LanguageTagIsNormalised",
     "hdr.txt",
     kMoon,
     "",
     "",
     "zh_tw",
     "月光",
     "某人",
     "zh-TW",
     {"月光", "第一章 夜"}},
    {"NotationTitleAndAuthorFromItsFirstLines",
     "aozora_kokoro.txt",
     "こころ\n夏目漱石\n\n　私《わたくし》はその人を常に先生と呼んでいた。［＃「先生」に傍点］\n"
     "\n底本：「こころ」架空文庫\n",
     "",
     "",
     "",
     "こころ",
     "夏目漱石",
     "",
     {"こころ", "底本"}},
    {"HeaderAndLicenceHaveLabelsOfTheirOwn",
     "pg7.txt",
     "The Project Gutenberg eBook of Lanterns\n\n*** START OF THE PROJECT GUTENBERG EBOOK "
     "LANTERNS ***\n\nLanterns\n\nCHAPTER I.\n\nLit.\n\n*** END OF THE PROJECT GUTENBERG "
     "EBOOK LANTERNS ***\nLicence.\n",
     "Lanterns",
     "",
     "",
     "Lanterns",
     "",
     "",
     {"The Project Gutenberg eBook of Lanterns", "Lanterns", "CHAPTER I.",
      "END OF THE PROJECT GUTENBERG EBOOK LANTERNS"}},
};

INSTANTIATE_TEST_SUITE_P(Facts, BookDecision, testing::ValuesIn(kDecisionCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BookDecision, LanguageThatIsNoTagIsRefusedBeforeAnySourceIsRead) {
    BookInput input;
    input.sources = {"/nonexistent/missing.txt"};
    input.language = "zh CN";
    try {
        PlanBook(input);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("zh CN"));
    }
}

TEST(BookDecision, ChapterOfSeveralPagesCountsThemAll) {
    const test::ScratchFolder scratch;
    std::string chapter = "Chapter 1\n";
    while (chapter.size() < 250000)
        chapter += "A line of the long first chapter that runs over several pages.\n";
    test::WriteFile(scratch / "long.txt", chapter + "Chapter 2\nShort.\n");
    BookInput input;
    input.sources = {scratch / "long.txt"};
    const BookPlan plan = PlanBook(input);
    ASSERT_EQ(plan.contents.size(), 2u);
    EXPECT_EQ(plan.contents[0].pages, 3u);
    EXPECT_EQ(plan.contents[0].bytes, chapter.size());
    EXPECT_EQ(plan.contents[1].firstPage, 3u);
    EXPECT_EQ(plan.pages, 4u);
}

} // namespace
} // namespace folivane::engine
