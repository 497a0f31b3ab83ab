// The table of books whose plan, listing, preview and contents must agree.
#include "PlanCases.h"

#include "platform/TextConversion.h"

#include <fstream>

namespace folivane::test {
namespace {

using engine::ChapterMode;

// `count` numbered lines of prose, about 60 bytes each.
std::string Prose(int count, const std::string& word = "rain") {
    std::string text;
    for (int i = 0; i < count; ++i)
        text +=
            "Line " + std::to_string(i) + " of the " + word + " that kept falling on the roofs.\n";
    return text;
}

const std::string kVolumes =
    "第一卷 开始\n第一章 渡口\n雨后的石板路还湿着。\n第二章 山路\n他走了很久。\n"
    "第二卷 结束\n第三章 回家\n终于到了。\n";

const std::string kArchive =
    "The Project Gutenberg eBook of River Lanterns\n\nTitle: River Lanterns\n\nAuthor: A. "
    "Writer\n\n*** START OF THE PROJECT GUTENBERG EBOOK RIVER LANTERNS ***\n\nRiver "
    "Lanterns\n\nby A. Writer\n\nCHAPTER I.\n\nThe river ran.\n\nCHAPTER II.\n\nThe lanterns "
    "shone.\n\n*** END OF THE PROJECT GUTENBERG EBOOK RIVER LANTERNS ***\n\nThe licence.\n";

const std::string kLegend =
    "-------------------------------------------------------\n"
    "【テキスト中に現れる記号について】\n\n《》：ルビ\n（例）蜘蛛《くも》\n\n"
    "［＃］：入力者注　主に外字の説明や、傍点の位置の指定\n"
    "-------------------------------------------------------\n";

std::string Notation(bool headings) {
    std::string text = "月見の庭\n架空　太郎\n\n" + kLegend + "\n";
    for (const char* name : {"一", "二"}) {
        if (headings)
            text += std::string("［＃５字下げ］") + name + "［＃「" + name + "」は中見出し］\n\n";
        text += "　私《わたくし》は庭の隅で蜘蛛《くも》の巣を眺めていた。\n［＃改ページ］\n";
    }
    return text + "\n底本：「月見の庭」架空文庫\n入力：架空\n";
}

std::string Gbk(const std::string& utf8) {
    return platform::ConvertText(utf8, "UTF-8", "GB18030", "?");
}

} // namespace

const std::vector<PlanCase>& PlanCases() {
    static const std::vector<PlanCase> cases = {
        {"OneSourceWithoutHeadings", {{"story.txt", "Once.\nThe end.\n"}}},
        {"OneSourceTitledByTheUser", {{"story.txt", "Once.\n"}}, ChapterMode::Auto, "Dusk"},
        {"OpeningThenChapters",
         {{"novel.txt", "A preface.\n第一章 开始\n雨。\n第二章 继续\n风。\n"}}},
        {"Volumes", {{"volumes.txt", kVolumes}}, ChapterMode::Auto, "", true},
        {"FilesMode",
         {{"a.txt", "A.\n"}, {"b.txt", "第一章 B\n"}, {"c.txt", "C.\n"}},
         ChapterMode::Files},
        {"ManySourcesOpeningAndChapters",
         {{"front.txt", "Before.\n第一章 甲\n甲。\n"}, {"back.txt", "第二章 乙\n乙。\n"}}},
        {"VolumesAcrossSources", {{"v.txt", kVolumes}, {"tail.txt", "No heading here.\n"}}},
        {"LargeSourceInPieces", {{"big9.txt", Prose(6000)}}},
        {"LargeSourcePastTheBudget", {{"big9.txt", Prose(6000)}}, ChapterMode::Auto, "", true, 0},
        {"TwoSourcesOverTheBudgetTogether",
         {{"one.txt", Prose(900, "one")}, {"two.txt", Prose(900, "two")}},
         ChapterMode::Files,
         "",
         false,
         60000},
        {"ChapterOfSeveralPages",
         {{"long.txt", "Chapter 1\n" + Prose(3000) + "Chapter 2\nShort.\n"}}},
        {"ArchiveHeaderAndLicence", {{"pg1.txt", kArchive}}, ChapterMode::Auto, "", true},
        {"ArchiveInFilesMode", {{"pg1.txt", kArchive}}, ChapterMode::Files},
        {"NotationWithoutHeadings", {{"aozora_tsukimi.txt", Notation(false)}}},
        {"NotationWithHeadings",
         {{"aozora_tsukimi.txt", Notation(true)}},
         ChapterMode::Auto,
         "",
         true},
        {"TitleInTheText", {{"hdr.txt", "《月光》作者：某人\n\n第一章 夜\n月光。\n"}}},
        {"NameThatIsNotUtf8",
         {{Gbk("第一部") + ".txt", Gbk("没有标题的文字。\n")}, {"b.txt", "B.\n"}},
         ChapterMode::Files},
        {"BlankName", {{" .txt", "Nothing names this.\n"}, {"b.txt", "B.\n"}}, ChapterMode::Files},
        {"RepeatedHeadings",
         {{"r.txt", "第一章 雨\n一。\n第一章 雨\n二。\n第一章 雨\n三。\n第二章 风\n四。\n"}}},
        {"TitleRepeatedByTheFirstHeading",
         {{"t.txt", "Some words first.\n第一章 雨\n一。\n"}},
         ChapterMode::Auto,
         "第一章 雨"},
        {"EmptySource", {{"empty.txt", ""}, {"b.txt", "第一章 B\nB。\n"}}},
    };
    return cases;
}

engine::BookInput WritePlanCase(const PlanCase& planCase, const std::string& folder) {
    engine::BookInput input;
    for (const auto& [name, bytes] : planCase.files) {
        input.sources.push_back(folder + name);
        std::ofstream(input.sources.back(), std::ios::binary) << bytes;
    }
    input.title = planCase.title;
    input.chapters = planCase.chapters;
    input.epubVersion = planCase.epub3 ? engine::EpubVersion::Epub3 : engine::EpubVersion::Epub2;
    input.heldTextBudget = planCase.heldTextBudget;
    input.outputPath = folder + "book.epub";
    return input;
}

} // namespace folivane::test
