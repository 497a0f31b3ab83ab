// The notation's constructs as the pages show them, in each EPUB version: checked by what the
// markup means (the text of its elements, the style its classes get), not by its bytes.
#include "engine/epub/ChapterPage.h"
#include "engine/epub/NotationStyle.h"
#include "support/XmlTree.h"

#include <gtest/gtest.h>
#include <sstream>

namespace folivane::engine {
namespace {

using test::XmlTree;

// With `style`, `value` is a declaration that the style sheet gives the element `xpath`
// selects, through its classes; else the string value of `xpath`.
struct Check {
    std::string xpath;
    std::string value;
    bool style = false;
};

struct MarkupCase {
    const char* name;
    std::string text;
    HeadingKind heading;
    std::vector<Check> epub3; // in a vertical book
    std::vector<Check> epub2;
};

void PrintTo(const MarkupCase& row, std::ostream* out) {
    *out << row.name;
}

Check Style(std::string xpath, std::string declaration) {
    return {std::move(xpath), std::move(declaration), true};
}

// The declarations of the rules "element.class{...}" of `css` for each of `classes`.
std::string StyleOf(const std::string& css, const std::string& element,
                    const std::string& classes) {
    std::string found;
    std::istringstream names(classes);
    for (std::string name; names >> name;) {
        const std::string selector = element + "." + name + "{";
        if (const std::size_t at = css.find(selector); at != std::string::npos) {
            const std::size_t body = at + selector.size();
            found += css.substr(body, css.find('}', body) - body);
        }
    }
    return found;
}

class NotationMarkup : public testing::TestWithParam<MarkupCase> {};

TEST_P(NotationMarkup, MeansWhatTheNotationSays) {
    const MarkupCase& row = GetParam();
    for (const EpubVersion version : {EpubVersion::Epub3, EpubVersion::Epub2}) {
        const bool epub3 = version == EpubVersion::Epub3;
        SCOPED_TRACE(epub3 ? "EPUB 3" : "EPUB 2");
        const std::string page =
            BuildChapterPage("p", row.text, row.heading, "ja", version, {.notation = true});
        const XmlTree tree(page);
        ASSERT_EQ(tree.Error(), "") << page;
        for (const std::string_view mark : {"《", "》", "｜", "［＃", "※"})
            EXPECT_EQ(page.find(mark), std::string::npos) << mark << " left in " << page;
        if (!epub3) {
            EXPECT_EQ(tree.Count("//h:ruby"), 0u) << page;
        }
        const std::string css = NotationStyleSheet(version, epub3);
        for (const Check& check : epub3 ? row.epub3 : row.epub2) {
            if (!check.style) {
                EXPECT_EQ(tree.Value(check.xpath), check.value) << check.xpath << "\n" << page;
                continue;
            }
            const std::vector<XmlTree::Node> nodes = tree.Nodes(check.xpath);
            ASSERT_FALSE(nodes.empty()) << check.xpath << "\n" << page;
            const std::string style =
                StyleOf(css, nodes.front().Value("local-name()"), nodes.front().Value("@class"));
            EXPECT_NE(style.find(check.value), std::string::npos)
                << check.xpath << " has style \"" << style << "\"\n"
                << page;
        }
    }
}

// An emphasis of `kind` on いろは: the dots of EPUB 3, bold in EPUB 2.
MarkupCase Dots(const char* name, const std::string& kind, const std::string& dots) {
    return {name,
            "いろは［＃「いろは」に" + kind + "］を",
            HeadingKind::None,
            {{"string(//h:p)", "いろはを"},
             {"//h:p/h:em", "いろは"},
             Style("//h:em", "text-emphasis-style:" + dots),
             Style("//h:em", "-epub-text-emphasis-style:" + dots)},
            {{"//h:p/h:em", "いろは"}, Style("//h:em", "font-weight:bold")}};
}

// A line of `kind` beside いろは, in both versions.
MarkupCase Line(const char* name, const std::string& kind, const std::string& line) {
    return {name,
            "いろは［＃「いろは」に" + kind + "］を",
            HeadingKind::None,
            {{"//h:p/h:em", "いろは"},
             Style("//h:em", "text-decoration:underline"),
             Style("//h:em", "text-decoration-style:" + line),
             Style("//h:em", "text-underline-position:right")},
            {{"//h:p/h:em", "いろは"}, Style("//h:em", "text-decoration:underline")}};
}

const MarkupCase kMarkupCases[] = {
    // Character notes: both planes of JIS X 0213 and Unicode code points.
    {"NoteOfPlaneOne",
     "葉※［＃「條の木に代えて栩のつくり」、第3水準1-90-31］然",
     HeadingKind::None,
     {{"string(//h:p)", "葉翛然"}},
     {{"string(//h:p)", "葉翛然"}}},
    {"NoteOfPlaneTwo",
     "水※［＃「さんずい＋豔」、第4水準2-79-53、123-4］が光る",
     HeadingKind::None,
     {{"string(//h:p)", "水灔が光る"}},
     {{"string(//h:p)", "水灔が光る"}}},
    {"NoteOfCodePoint",
     "※［＃「てへん＋劣」、U+6318、56-下-3］る",
     HeadingKind::None,
     {{"string(//h:p)", "挘る"}},
     {{"string(//h:p)", "挘る"}}},
    {"NoteWithoutCodeShowsItsDescription",
     "※［＃「木＋吉」、56-3］の字",
     HeadingKind::None,
     {{"string(//h:p)", "〔木＋吉〕の字"}, Style("//h:span", "font-size")},
     {{"string(//h:p)", "〔木＋吉〕の字"}}},
    {"CodeOfPlaneTwoOutsideItsRowsShowsTheDescription",
     "※［＃「口＋世」、第4水準2-2-1］",
     HeadingKind::None,
     {{"string(//h:p)", "〔口＋世〕"}},
     {{"string(//h:p)", "〔口＋世〕"}}},
    // Ruby whose base is or holds a note, and kanbun marks within a base.
    {"RubyOnANote",
     "葉を※［＃「てへん＋宛」、U+6365］《も》ぎ取る",
     HeadingKind::None,
     {{"//h:ruby/h:rt", "も"}, {"string(//h:ruby)", "捥も"}, {"string(//h:p)", "葉を捥もぎ取る"}},
     {{"string(//h:p)", "葉を捥（も）ぎ取る"}}},
    {"RubyOverANoteAndTheKanjiAfterIt",
     "※［＃「條の木に代えて栩のつくり」、第3水準1-90-31］然《ゆうぜん》と",
     HeadingKind::None,
     {{"string(//h:ruby)", "翛然ゆうぜん"}},
     {{"string(//h:p)", "翛然（ゆうぜん）と"}}},
    {"KanbunMarkInsideABase",
     "｜入［＃レ］道《みちにいる》",
     HeadingKind::None,
     {{"//h:ruby/h:rt", "みちにいる"},
      {"//h:ruby/h:sub", "レ"},
      {"string(//h:ruby)", "入レ道みちにいる"},
      Style("//h:sub", "font-size")},
     {{"string(//h:p)", "入レ道（みちにいる）"}, {"//h:p/h:sub", "レ"}}},
    {"KanbunMarksAndReadingAids",
     "学［＃二］而時習［＃（フ）］［＃一］之",
     HeadingKind::None,
     {{"count(//h:sub)", "2"}, {"//h:sup", "フ"}, {"string(//h:p)", "学二而時習フ一之"}},
     {{"count(//h:sub)", "2"}, {"//h:sup", "フ"}}},
    {"ReadingWithoutABaseIsText",
     "「《くも》」と書いた",
     HeadingKind::None,
     {{"string(//h:p)", "「（くも）」と書いた"}, {"count(//h:ruby)", "0"}},
     {{"string(//h:p)", "「（くも）」と書いた"}}},
    {"BarBeforeTheReadingAloneIsNoBase",
     "あ｜《くも》",
     HeadingKind::None,
     {{"string(//h:p)", "あ（くも）"}},
     {{"string(//h:p)", "あ（くも）"}}},
    // Emphasis of every kind, on a target, a ruby, a range, on the left.
    Dots("Sesame", "傍点", "filled sesame"),
    Dots("WhiteSesame", "白ゴマ傍点", "open sesame"),
    Dots("Dot", "丸傍点", "filled circle"),
    Dots("WhiteDot", "白丸傍点", "open circle"),
    Dots("Triangle", "黒三角傍点", "filled triangle"),
    Dots("WhiteTriangle", "白三角傍点", "open triangle"),
    Dots("DoubleCircle", "二重丸傍点", "filled double-circle"),
    Dots("Bullseye", "蛇の目傍点", "open double-circle"),
    Dots("Cross", "ばつ傍点", "\"\\d7\""),
    Line("SideLine", "傍線", "solid"),
    Line("DoubleSideLine", "二重傍線", "double"),
    Line("ChainLine", "鎖線", "dashed"),
    Line("DashedLine", "破線", "dashed"),
    Line("DottedLine", "点線", "dotted"),
    Line("WavyLine", "波線", "wavy"),
    {"EmphasisTakesTheWholeRuby",
     "｜東京《とうきょう》駅［＃「京駅」に傍点］",
     HeadingKind::None,
     {{"string(//h:em)", "東京とうきょう駅"}, {"count(//h:em/h:ruby)", "1"}},
     {{"string(//h:em)", "東京（とうきょう）駅"}}},
    {"EmphasisOnATargetHoldingANote",
     "※［＃「てへん＋劣」、U+6318］る［＃「※［＃「てへん＋劣」、U+6318］る」に傍点］",
     HeadingKind::None,
     {{"//h:p/h:em", "挘る"}},
     {{"//h:p/h:em", "挘る"}}},
    {"EmphasisOfARange",
     "あ［＃傍点］いろは［＃傍点終わり］に",
     HeadingKind::None,
     {{"//h:p/h:em", "いろは"}, {"string(//h:p)", "あいろはに"}},
     {{"//h:p/h:em", "いろは"}}},
    {"EmphasisOnTheLeft",
     "いろは［＃「いろは」の左に傍点］",
     HeadingKind::None,
     {{"//h:p/h:em", "いろは"}, Style("//h:em", "text-emphasis-position:over left")},
     {{"//h:p/h:em", "いろは"}}},
    {"TargetThatIsNotThereMarksNothing",
     "いろは［＃「ほへと」に傍点］",
     HeadingKind::None,
     {{"count(//h:em)", "0"}, {"string(//h:p)", "いろは"}},
     {{"count(//h:em)", "0"}}},
    {"BoldOverLines",
     "［＃ここから太字］\n甲\n乙\n［＃ここで太字終わり］\n丙",
     HeadingKind::None,
     {{"count(//h:p/h:b)", "2"}, {"//h:p[2]/h:b", "乙"}, {"count(//h:p[3]/*)", "0"}},
     {{"count(//h:p/h:b)", "2"}}},
    // Upright digits in vertical lines: two of them standing alone, or as annotated.
    {"TwoDigitsStandUpright",
     "第12章は1920年、3人で",
     HeadingKind::None,
     {{"count(//h:span)", "1"}, {"//h:span", "12"}, Style("//h:span", "text-combine-upright:all")},
     {{"count(//h:span)", "0"}, {"string(//h:p)", "第12章は1920年、3人で"}}},
    {"AnnotatedUpright",
     "昭和１０年の100［＃「100」は縦中横］号",
     HeadingKind::None,
     {{"//h:span", "100"}, Style("//h:span", "-epub-text-combine:horizontal")},
     {{"string(//h:p)", "昭和１０年の100号"}}},
    // Indents and alignment, from the top of vertical lines and the left of horizontal ones.
    {"LineIndent",
     "［＃３字下げ］短い歌",
     HeadingKind::None,
     {{"//h:p", "短い歌"}, Style("//h:p", "margin-top:3em"), Style("//h:p", "text-indent:0")},
     {Style("//h:p", "margin-left:3em")}},
    {"BlockIndentKeepsTheLinesOwnSpaces",
     "［＃ここから２字下げ］\n　拝啓\n　敬具\n［＃ここで字下げ終わり］\n後",
     HeadingKind::None,
     {{"count(//h:p)", "3"},
      {"//h:p[1]", "\u3000拝啓"},
      Style("//h:p[1]", "margin-top:2em"),
      Style("//h:p[2]", "margin-top:2em"),
      {"string(//h:p[3]/@class)", ""}},
     {Style("//h:p[2]", "margin-left:2em"), {"string(//h:p[3]/@class)", ""}}},
    {"HangingBlock",
     "［＃ここから改行天付き、折り返して１字下げ］\n項目の説明\n［＃ここで字下げ終わり］",
     HeadingKind::None,
     {Style("//h:p", "margin-top:1em"), Style("//h:p", "text-indent:-1em")},
     {Style("//h:p", "margin-left:1em"), Style("//h:p", "text-indent:-1em")}},
    {"AtTheEnd",
     "［＃地付き］（完）",
     HeadingKind::None,
     {{"//h:p", "（完）"}, Style("//h:p", "text-align:right")},
     {Style("//h:p", "text-align:right")}},
    {"RaisedFromTheEnd",
     "［＃地から２字上げ］三月十日",
     HeadingKind::None,
     {Style("//h:p", "text-align:right"), Style("//h:p", "margin-bottom:2em")},
     {Style("//h:p", "margin-right:2em")}},
    {"AtTheEndAfterText",
     "本文の終わり［＃地付き］花子",
     HeadingKind::None,
     {{"count(//h:p)", "2"}, {"//h:p[1]", "本文の終わり"}, Style("//h:p[2]", "text-align:right")},
     {{"//h:p[2]", "花子"}, Style("//h:p[2]", "text-align:right")}},
    {"BlockAtTheEnd",
     "［＃ここから地付き］\n甲\n［＃ここで地付き終わり］\n乙",
     HeadingKind::None,
     {Style("//h:p[1]", "text-align:right"), {"string(//h:p[2]/@class)", ""}},
     {Style("//h:p[1]", "text-align:right")}},
    // Headings: a block of lines, one in the page, one holding a note.
    {"HeadingBlockOpensThePage",
     "［＃ここから中見出し］\n第一\n春の巻\n［＃ここで中見出し終わり］\n本文",
     HeadingKind::Chapter,
     {{"string(//h:h2)", "第一春の巻"}, {"count(//h:h2/h:br)", "1"}, {"//h:p", "本文"}},
     {{"string(//h:h2)", "第一春の巻"}, {"count(//h:p)", "1"}}},
    {"HeadingHoldingANote",
     "［＃５字下げ］三　※［＃「木＋越」、U+6A3E］の森［＃「三　※［＃「木＋越」、U+"
     "6A3E］の森」は中見"
     "出し］\n本文",
     HeadingKind::Chapter,
     {{"//h:h2", "三　樾の森"}},
     {{"//h:h2", "三　樾の森"}}},
    {"SmallHeadingInThePage",
     "本文\n［＃５字下げ］一［＃「一」は小見出し］\n続き",
     HeadingKind::None,
     {{"//h:h3", "一"}, {"count(//h:p)", "2"}},
     {{"//h:h3", "一"}}},
    {"HeadingThatRunsOnIntoItsText",
     "一［＃「一」は同行小見出し］　朝が来た",
     HeadingKind::None,
     {{"//h:h3", "一　朝が来た"}},
     {{"//h:h3", "一　朝が来た"}}},
    {"EditorsNotesAreLeftOut",
     "吃［＃「吃」は底本では「喫」］驚《びっくり》",
     HeadingKind::None,
     {{"string(//h:p)", "吃驚びっくり"}},
     {{"string(//h:p)", "吃驚（びっくり）"}}},
};

INSTANTIATE_TEST_SUITE_P(Notation, NotationMarkup, testing::ValuesIn(kMarkupCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::engine
