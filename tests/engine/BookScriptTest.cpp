// The reader's script over whole books: which sources convert, and the text, labels, title,
// author, publisher and language tags that follow.
#include "engine/chapters/ChapterList.h"
#include "engine/cover/TitleCover.h"
#include "engine/job/BookPlan.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

namespace folivane::engine {
namespace {

using ::testing::ElementsAreArray;

struct Source {
    std::string file;
    std::string text;
};

struct ScriptCase {
    const char* name;
    std::vector<Source> sources;
    ChineseScript script;
    std::string title, author, publisher; // as the user gave them
    std::string decidedTitle, decidedAuthor, decidedPublisher, language;
    std::vector<std::string> sourceLanguages;
    std::vector<std::string> labels; // in reading order
    std::string text;                // the book's pages, one after another
    // The cover drawn from the decided title and author, in the book's language.
    bool titleCover = false;
    std::string description = {}, decidedDescription = {};
};

void PrintTo(const ScriptCase& row, std::ostream* out) {
    *out << row.name;
}

void Flatten(const std::vector<PlanEntry>& entries, std::vector<std::string>& labels) {
    for (const PlanEntry& entry : entries) {
        labels.push_back(entry.label);
        Flatten(entry.children, labels);
    }
}

// Every text is held: nothing goes to pieces.
class NoPieces : public PieceStore {
public:
    std::string Keep(std::size_t, int, std::string_view, const std::string&) override {
        ADD_FAILURE() << "a piece was kept";
        return {};
    }
};

const Source kSimplified{"软件.txt",
                         "书名：软件工程\n作者：鼠标\n\n第一章 网络\n这里没有后来的头发。\n"};
const Source kTraditional{"軟體.txt", "書名：軟體工程\n\n第一章 網路\n這裡沒有後來的頭髮。\n"};
const Source kJapanese{
    "猫.txt", "吾輩は猫である。名前はまだ無い。\n第一章 猫\nどこで生れたか頓と見当がつかぬ。\n"};
// An archive's header that names the language but not its form, over Traditional text.
const Source kHeaderNamesChinese{
    "header.txt", "Title: 軟體工程\nLanguage: Chinese\n\n第一章 網路\n這裡沒有後來的頭髮。\n"};
// No heading: labelled by its name, which converts with it.
const Source kNamed{"鼠标.txt", "这里的软件很好用，网络很快。\n"};

const ScriptCase kScriptCases[] = {
    {"SimplifiedKept",
     {kSimplified},
     ChineseScript::Keep,
     "",
     "",
     "",
     "软件工程",
     "鼠标",
     "",
     "zh-CN",
     {"zh-CN"},
     {"软件工程", "第一章 网络"},
     "书名：软件工程\n作者：鼠标\n\n第一章 网络\n这里没有后来的头发。\n"},
    {"SimplifiedToTaiwanTakesItsWords",
     {kSimplified},
     ChineseScript::Taiwan,
     "",
     "",
     "",
     "軟體工程",
     "滑鼠",
     "",
     "zh-TW",
     {"zh-TW"},
     {"軟體工程", "第一章 網路"},
     "書名：軟體工程\n作者：滑鼠\n\n第一章 網路\n這裡沒有後來的頭髮。\n"},
    {"SimplifiedToHongKongTakesItsForms",
     {kSimplified},
     ChineseScript::HongKong,
     "",
     "",
     "",
     "軟件工程",
     "鼠標",
     "",
     "zh-HK",
     {"zh-HK"},
     {"軟件工程", "第一章 網絡"},
     "書名：軟件工程\n作者：鼠標\n\n第一章 網絡\n這裏沒有後來的頭髮。\n"},
    {"SimplifiedToTraditional",
     {kSimplified},
     ChineseScript::Traditional,
     "",
     "",
     "",
     "軟件工程",
     "鼠標",
     "",
     "zh-TW",
     {"zh-TW"},
     {"軟件工程", "第一章 網絡"},
     "書名：軟件工程\n作者：鼠標\n\n第一章 網絡\n這裏沒有後來的頭髮。\n"},
    {"TraditionalToSimplified",
     {kTraditional},
     ChineseScript::Simplified,
     "",
     "",
     "",
     "软体工程",
     "",
     "",
     "zh-CN",
     {"zh-CN"},
     {"软体工程", "第一章 网路"},
     "书名：软体工程\n\n第一章 网路\n这里没有后来的头发。\n"},
    {"TraditionalStaysTraditional",
     {kTraditional},
     ChineseScript::Traditional,
     "",
     "",
     "",
     "軟體工程",
     "",
     "",
     "zh-TW",
     {"zh-TW"},
     {"軟體工程", "第一章 網路"},
     "書名：軟體工程\n\n第一章 網路\n這裡沒有後來的頭髮。\n"},
    {"JapaneseIsNeverConverted",
     {kJapanese},
     ChineseScript::Simplified,
     "",
     "",
     "",
     "猫",
     "",
     "",
     "ja",
     {"ja"},
     {"猫", "第一章 猫"},
     kJapanese.text},
    {"UserFieldsTakeTheBooksLanguage",
     {kSimplified},
     ChineseScript::Taiwan,
     "网络软件",
     "鼠标",
     "软件出版社",
     "網路軟體",
     "滑鼠",
     "軟體出版社",
     "zh-TW",
     {"zh-TW"},
     {"網路軟體", "第一章 網路"},
     "書名：軟體工程\n作者：滑鼠\n\n第一章 網路\n這裡沒有後來的頭髮。\n"},
    {"NamesConvertWithTheirSources",
     {kTraditional, kNamed},
     ChineseScript::Taiwan,
     "",
     "",
     "",
     "軟體工程",
     "",
     "",
     "zh-TW",
     {"zh-TW", "zh-TW"},
     {"軟體工程", "第一章 網路", "滑鼠"},
     "書名：軟體工程\n\n第一章 網路\n這裡沒有後來的頭髮。\n這裡的軟體很好用，網路很快。\n"},
    {"MixedBookConvertsOnlyItsChinese",
     {kJapanese, kNamed},
     ChineseScript::Traditional,
     "",
     "",
     "",
     "猫",
     "",
     "",
     "ja",
     {"ja", "zh-TW"},
     {"猫", "第一章 猫", "鼠標"},
     kJapanese.text + "這裏的軟件很好用，網絡很快。\n"},
    {"CoverAndDetailsTakeTheScript",
     {kSimplified},
     ChineseScript::Taiwan,
     "",
     "",
     "",
     "軟體工程",
     "滑鼠",
     "",
     "zh-TW",
     {"zh-TW"},
     {"軟體工程", "第一章 網路"},
     "書名：軟體工程\n作者：滑鼠\n\n第一章 網路\n這裡沒有後來的頭髮。\n",
     true,
     "一本关于网络软件的书",
     "一本關於網路軟體的書"},
    // Read as Simplified, 姓余 would become 姓餘.
    {"UserTextsTakeTheFormOfTheTextWhenTheHeaderNamesOnlyChinese",
     {kHeaderNamesChinese},
     ChineseScript::Traditional,
     "",
     "",
     "姓余書店",
     "軟體工程",
     "",
     "姓余書店",
     "zh-TW",
     {"zh-TW"},
     {"軟體工程", "第一章 網路"},
     kHeaderNamesChinese.text},
};

class BookScript : public testing::TestWithParam<ScriptCase> {};

TEST_P(BookScript, ConvertsChineseSourcesAndWhatFollowsFromThem) {
    const ScriptCase& row = GetParam();
    const test::ScratchFolder scratch;
    BookInput input;
    for (const Source& source : row.sources) {
        test::WriteFile(scratch / source.file, source.text);
        input.sources.push_back(scratch / source.file);
    }
    input.chineseScript = row.script;
    input.title = row.title;
    input.author = row.author;
    input.publisher = row.publisher;
    input.titleCover = row.titleCover;
    input.details.description = row.description;
    NoPieces pieces;
    std::vector<TitleCoverText> likely;
    ReadingHooks hooks;
    hooks.coverLikely = [&likely](TitleCoverText text) { likely.push_back(std::move(text)); };
    const BookDecision book = DecideBook(input, pieces, hooks);
    // The cover drawn ahead is the decided one's wherever the user named the title (no row
    // has a header that names a language, which is read too late to be foreseen).
    if (row.title.empty()) {
        EXPECT_TRUE(likely.empty());
    } else {
        ASSERT_EQ(likely.size(), 1u);
        EXPECT_EQ(likely[0], TitleCoverTextOf(input, book.plan));
    }
    EXPECT_EQ(book.plan.title, row.decidedTitle);
    EXPECT_EQ(book.plan.author, row.decidedAuthor);
    EXPECT_EQ(book.plan.publisher, row.decidedPublisher);
    EXPECT_EQ(book.plan.language, row.language);
    EXPECT_EQ(book.plan.details.description, row.decidedDescription);
    if (row.titleCover) {
        const TitleCover drawn =
            MakeTitleCover({row.decidedTitle, row.decidedAuthor, row.language});
        ASSERT_FALSE(drawn.png.empty()) << drawn.problem;
        EXPECT_TRUE(book.plan.cover.png == drawn.png) << "the cover is not of the decided text";
    }
    std::vector<std::string> sourceLanguages;
    for (const SourcePlan& source : book.plan.sources)
        sourceLanguages.push_back(source.language);
    EXPECT_THAT(sourceLanguages, ElementsAreArray(row.sourceLanguages));
    std::vector<std::string> labels;
    Flatten(book.plan.contents, labels);
    EXPECT_THAT(labels, ElementsAreArray(row.labels));
    std::string text;
    for (const FileList& page : book.pages)
        text += ChapterText(page, "");
    EXPECT_EQ(text, row.text);
    // The listing is the book: the plan alone decides the same.
    const BookPlan plan = PlanBook(input);
    labels.clear();
    Flatten(plan.contents, labels);
    EXPECT_THAT(labels, ElementsAreArray(row.labels));
    EXPECT_EQ(plan.title, row.decidedTitle);
}

INSTANTIATE_TEST_SUITE_P(Books, BookScript, testing::ValuesIn(kScriptCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The user's tag is what the book's language is converted from.
TEST(BookScript, UsersTagFollowsTheScript) {
    const test::ScratchFolder scratch;
    test::WriteFile(scratch / "a.txt", kSimplified.text);
    BookInput input;
    input.sources = {scratch / "a.txt"};
    input.language = "zh-SG";
    input.chineseScript = ChineseScript::HongKong;
    EXPECT_EQ(PlanBook(input).language, "zh-HK");
    input.chineseScript = ChineseScript::Simplified;
    EXPECT_EQ(PlanBook(input).language, "zh-SG");
}

} // namespace
} // namespace folivane::engine
