// The notation of Japanese archive texts: ruby as markup in each EPUB version, annotations,
// the legend, page breaks and the colophon; Chinese title marks left alone.
#include "engine/chapters/Notation.h"
#include "engine/chapters/ChapterList.h"
#include "engine/epub/RubyText.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

struct RubyCase {
    const char* name;
    std::string line;
    std::string epub3;
    std::string epub2;
};

class RubyOf : public testing::TestWithParam<RubyCase> {};

TEST_P(RubyOf, IsMarkupInEpub3AndParenthesesInEpub2) {
    for (const auto& [version, expected] : {std::pair{EpubVersion::Epub3, GetParam().epub3},
                                            std::pair{EpubVersion::Epub2, GetParam().epub2}}) {
        std::string out;
        AppendRubyText(out, GetParam().line, version);
        EXPECT_EQ(out, expected) << "EPUB " << static_cast<int>(version);
    }
}

const RubyCase kRubyCases[] = {
    {"KanjiBase", "蜘蛛《くも》の巣", "<ruby>蜘蛛<rt>くも</rt></ruby>の巣", "蜘蛛（くも）の巣"},
    {"BaseIsTheKanjiRunOnly", "その蜘蛛《くも》", "その<ruby>蜘蛛<rt>くも</rt></ruby>",
     "その蜘蛛（くも）"},
    {"BarMarksTheBaseAndGoes", "一番｜獰悪《どうあく》な",
     "一番<ruby>獰悪<rt>どうあく</rt></ruby>な", "一番獰悪（どうあく）な"},
    {"BarOverKanaAndKanji", "｜お月様《おつきさま》", "<ruby>お月様<rt>おつきさま</rt></ruby>",
     "お月様（おつきさま）"},
    {"BarWithoutRubyStays", "｜と書いた札", "｜と書いた札", "｜と書いた札"},
    {"KatakanaBase", "ロンドン《ろんどん》へ", "<ruby>ロンドン<rt>ろんどん</rt></ruby>へ",
     "ロンドン（ろんどん）へ"},
    {"LatinBase", "ABC《エービーシー》", "<ruby>ABC<rt>エービーシー</rt></ruby>",
     "ABC（エービーシー）"},
    {"ReadingWithLongVowelMark", "珈琲《コーヒー》", "<ruby>珈琲<rt>コーヒー</rt></ruby>",
     "珈琲（コーヒー）"},
    {"TwoRubies", "東京《とうきょう》と京都《きょうと》",
     "<ruby>東京<rt>とうきょう</rt></ruby>と<ruby>京都<rt>きょうと</rt></ruby>",
     "東京（とうきょう）と京都（きょうと）"},
    {"ReadingWithKanjiStaysText", "漢字《かん字》", "漢字《かん字》", "漢字《かん字》"},
    {"NoBaseIsTextInParentheses", "《くも》と言った", "（くも）と言った", "（くも）と言った"},
    {"UnclosedReadingStaysText", "蜘蛛《くも", "蜘蛛《くも", "蜘蛛《くも"},
    {"EmptyReadingStaysText", "蜘蛛《》", "蜘蛛《》", "蜘蛛《》"},
    {"ChineseBookTitle", "讀《史記》", "讀《史記》", "讀《史記》"},
    {"ChineseTitleThenChapter", "《红楼梦》第一回", "《红楼梦》第一回", "《红楼梦》第一回"},
    {"AnnotationsGo", "［＃５字下げ］一［＃「一」は中見出し］", "一", "一"},
    {"AnnotationAfterRuby", "蜘蛛《くも》［＃「蜘蛛」に傍点］",
     "<em class=\"sesame\"><ruby>蜘蛛<rt>くも</rt></ruby></em>",
     "<em class=\"sesame\">蜘蛛（くも）</em>"},
    {"UnclosedAnnotationStays", "［＃閉じない", "［＃閉じない", "［＃閉じない"},
    {"EscapedForXml", "a<b & 蜘蛛《くも》", "a&lt;b &amp; <ruby>蜘蛛<rt>くも</rt></ruby>",
     "a&lt;b &amp; 蜘蛛（くも）"},
    {"IndentGoes", "\u3000\u3000私《わたくし》", "<ruby>私<rt>わたくし</rt></ruby>",
     "私（わたくし）"},
};

INSTANTIATE_TEST_SUITE_P(Notation, RubyOf, testing::ValuesIn(kRubyCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RubyParagraphs, LeaveOutLinesOfAnnotationsAloneAndBlankLines) {
    std::string out;
    AppendRubyParagraphs(out, "甲\r\n［＃改ページ］\r\n\r\n　［＃ここから２字下げ］\r\n乙\r\n",
                         EpubVersion::Epub3);
    EXPECT_EQ(out, "<p>甲</p><p class=\"indent2\">乙</p>");
    out.clear();
    AppendRubyParagraphs(out, "［＃改ページ］\n", EpubVersion::Epub2);
    EXPECT_EQ(out, "<p></p>");
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Lines of a megabyte and more, each of one construct repeated: read in time that grows with
// the line, not with its square (which would take minutes here).
struct LongLineCase {
    const char* name;
    std::string line;
    std::string_view mark; // what the page shows `count` times
    std::size_t count;
};

class LongNotationLine : public testing::TestWithParam<LongLineCase> {};

TEST_P(LongNotationLine, IsReadInTimeThatGrowsWithIt) {
    const LongLineCase& row = GetParam();
    std::string out;
    AppendRubyParagraphs(out, row.line, EpubVersion::Epub3);
    std::size_t count = 0;
    for (std::size_t at = out.find(row.mark); at != std::string::npos;
         at = out.find(row.mark, at + row.mark.size()))
        ++count;
    EXPECT_EQ(count, row.count);
}

const LongLineCase kLongLines[] = {
    {"UnclosedAnnotations", Repeat("［＃", 200000) + "］", "［＃", 199999},
    {"TargetsAfterALongText", Repeat("あ", 300000) + Repeat("い［＃「い」に傍点］", 50000),
     "<em class=\"sesame\">い</em>", 50000},
    {"ReadingsWithoutBases", Repeat("漢［＃レ］《かん》", 100000), "（かん）", 100000},
    {"BarsWithoutReadings", Repeat("｜", 300000) + "漢字《かんじ》", "｜", 299999},
};

INSTANTIATE_TEST_SUITE_P(Notation, LongNotationLine, testing::ValuesIn(kLongLines),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(LongNotationLine, TargetMarkedOverAndOverIsMarkedOrToldEachTime) {
    NotationLine line;
    ReadNotationLine("あい" + Repeat("［＃「い」に傍点］", 50000), line);
    const auto styles = std::ranges::count_if(
        line.runs, [](const NotationRun& run) { return run.kind == RunKind::StyleBegin; });
    EXPECT_GT(styles, 0);
    EXPECT_EQ(static_cast<std::size_t>(styles) + line.unknown.size(), 50000u);
}

TEST(NotationTitleAndAuthor, AreTheFirstTwoLinesAsTheyRead) {
    EXPECT_EQ(NotationTitleAndAuthor("\n　月見《つきみ》の庭\n架空太郎［＃地付き］\n本文\n"),
              (std::pair<std::string, std::string>{"月見の庭", "架空太郎"}));
    EXPECT_EQ(NotationTitleAndAuthor("題\n"), (std::pair<std::string, std::string>{"題", ""}));
}

const std::string kDashes(55, '-');
const std::string kLegend =
    kDashes + "\n【テキスト中に現れる記号について】\n《》：ルビ\n" + kDashes + "\n";

TEST(NotationLayout, FindsLegendColophonAndPageBreaks) {
    const std::string head = "題\n著者\n";
    const std::string body = "本文《ほんぶん》\n［＃改ページ］\n続き\n";
    const std::string text = head + kLegend + body + "底本：架空文庫\n";
    const NotationLayout layout = FindNotationLayout(text);
    EXPECT_TRUE(layout.used);
    EXPECT_EQ(layout.legendBegin, head.size());
    EXPECT_EQ(layout.legendEnd, head.size() + kLegend.size());
    EXPECT_EQ(layout.pageBreaks, std::vector<std::size_t>{text.find("［＃改ページ］")});
    EXPECT_EQ(layout.colophonBegin, text.find("底本："));
}

TEST(NotationLayout, DashesAroundOtherTextAreNoLegend) {
    const std::string text = kDashes + "\n手紙《てがみ》の写し\n" + kDashes + "\n本文\n";
    const NotationLayout layout = FindNotationLayout(text);
    EXPECT_FALSE(layout.used); // ruby alone, without legend or annotation, is no notation
    EXPECT_EQ(layout.legendBegin, NotationLayout::npos);
}

class NotationChapters : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "notation_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern + "/";
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    // "name|listed|level|notation" for each page of the text, in Auto mode.
    std::vector<std::string> Pages(const std::string& text,
                                   std::function<void(const TextNotice&)> notice = {}) {
        const std::string path = root_ + "src.txt";
        std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" << text;
        std::vector<std::string> out;
        ChapterListOptions options;
        options.notice = std::move(notice);
        for (const FileList& page : BuildChapterList({path}, nullptr, options)) {
            out.push_back(page.Name + "|" + (page.Listed ? "L" : "-") + std::to_string(page.Level) +
                          (page.Notation ? "N" : "") + "|" +
                          page.Text->substr(page.Begin, page.End - page.Begin));
        }
        return out;
    }

    std::string root_;
};

TEST_F(NotationChapters, FollowTheAnnotationsAndLeaveOutTheLegend) {
    const std::string text = "題\n著者\n" + kLegend +
                             "\n［＃８字下げ］上［＃「上」は大見出し］\n"
                             "［＃５字下げ］序［＃「序」は中見出し］\n甲\n［＃改ページ］\n乙\n"
                             "［＃改ページ］\n［＃５字下げ］跋［＃「跋」は中見出し］\n丙\n"
                             "第三章　蜘蛛《くも》\n丁\n"
                             "底本：架空文庫\n後記　改版にあたって\n入力：某\n";
    EXPECT_EQ(Pages(text), (std::vector<std::string>{
                               "src|L0N|題\n著者\n",
                               "上|L0N|［＃８字下げ］上［＃「上」は大見出し］\n",
                               "序|L1N|［＃５字下げ］序［＃「序」は中見出し］\n甲\n",
                               "序|-1N|［＃改ページ］\n乙\n［＃改ページ］\n",
                               "跋|L1N|［＃５字下げ］跋［＃「跋」は中見出し］\n丙\n",
                               "第三章 蜘蛛|L1N|第三章　蜘蛛《くも》\n丁\n",
                               // A heading in the colophon is the colophon's text.
                               "底本|L0N|底本：架空文庫\n後記　改版にあたって\n入力：某\n",
                           }));
}

TEST_F(NotationChapters, LegendAtTheTopIsLeftOutAndTheTextKeepsTheSourcesName) {
    EXPECT_EQ(Pages(kLegend + "\n本文［＃「本文」に傍点］\n［＃改ページ］\n次\n"),
              (std::vector<std::string>{"src|L0N|\n本文［＃「本文」に傍点］\n",
                                        "src|-0N|［＃改ページ］\n次\n"}));
}

TEST_F(NotationChapters, HeadingBlocksAndHeadingsHoldingNotesNameTheirChapters) {
    const std::string text = "題\n著者\n" + kLegend +
                             "［＃ここから大見出し］\n第一部\n春\n［＃ここで大見出し終わり］\n"
                             "［＃５字下げ］一　※［＃「木＋越」、U+6A3E］"
                             "［＃「一　※［＃「木＋越」、U+6A3E］」は中見出し］\n本文\n";
    EXPECT_EQ(Pages(text),
              (std::vector<std::string>{
                  "src|L0N|題\n著者\n",
                  "第一部 春|L0N|［＃ここから大見出し］\n第一部\n春\n［＃ここで大見出し終わり］\n",
                  "一 樾|L1N|［＃５字下げ］一　※［＃「木＋越」、U+6A3E］"
                  "［＃「一　※［＃「木＋越」、U+6A3E］」は中見出し］\n本文\n",
              }));
}

TEST_F(NotationChapters, AnnotationsNotUnderstoodAreCountedWithTheFirstFew) {
    const std::string text = "題\n" + kDashes + "\n［＃］：入力者注\n（例）［＃挿絵入る］\n" +
                             kDashes +
                             "\n甲［＃挿絵（fig1.png）入る］\n乙［＃「乙」に「おつ」の注記］\n"
                             "［＃挿絵（fig1.png）入る］\n［＃ここから２５字詰め］\n"
                             "丙［＃「丙」に傍点］［＃「丁」に傍点］\n";
    std::vector<TextNotice> notices;
    Pages(text, [&](const TextNotice& notice) { notices.push_back(notice); });
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, TextNotice::Kind::AnnotationsNotUnderstood);
    // The legend's example is no annotation of the text; a target not there is not understood.
    EXPECT_EQ(notices[0].count, 5u);
    EXPECT_EQ(notices[0].examples, (std::vector<std::string>{"［＃挿絵（fig1.png）入る］",
                                                             "［＃「乙」に「おつ」の注記］",
                                                             "［＃ここから２５字詰め］"}));
    notices.clear();
    Pages("第一章 读书\n注［＃这不是注释］\n", [&](const TextNotice& n) { notices.push_back(n); });
    EXPECT_TRUE(notices.empty()); // Chinese: no notation, nothing left out
}

TEST_F(NotationChapters, ChineseTextKeepsItsMarks) {
    const std::string text =
        "第一章 读书\n他在灯下讀《史記》，注［＃这不是注释］\n底本：某\n第二章 下山\n雨停了。\n";
    const std::vector<std::string> pages = Pages(text);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0],
              "第一章 读书|L0|第一章 读书\n他在灯下讀《史記》，注［＃这不是注释］\n底本：某\n");
}

} // namespace
} // namespace folivane::engine
