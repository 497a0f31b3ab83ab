// Texts in the shapes people convert, through the chapter list: the contents they get, the
// paragraphs each page makes, and what the rules tell the user about them.
#include "engine/chapters/ChapterList.h"
#include "engine/chapters/Paragraphs.h"
#include "engine/epub/ChapterPage.h"
#include "engine/text/TextLines.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace folivane::engine {
namespace {

// A chapter under each of `headings`, of three lines a paragraph each, or `lines` more.
std::string Story(const std::vector<std::string>& headings, int lines = 0) {
    std::string text;
    for (const std::string& heading : headings) {
        text += heading + "\n\nThe keeper climbed the stair.\nNobody came.\n";
        for (int i = 0; i < lines; ++i)
            text += "Day " + std::to_string(i) + " passed.\n";
        text += "He lit the lamp in " + heading + " and watched the sea until morning.\n\n";
    }
    return text;
}

std::vector<std::string> Numbers(std::initializer_list<int> numbers,
                                 const std::string& after = "") {
    std::vector<std::string> out;
    for (const int n : numbers)
        out.push_back(std::to_string(n) + after);
    return out;
}

// `text` cut into lines of `width` characters, as fixed-width CJK editors wrap, blank lines
// between its paragraphs.
std::string EveryNCharacters(const std::vector<std::string>& paragraphs, std::size_t width) {
    std::string out;
    for (const std::string& paragraph : paragraphs) {
        std::size_t count = 0;
        for (std::size_t at = 0; at < paragraph.size(); ++at) {
            if ((static_cast<unsigned char>(paragraph[at]) & 0xC0u) != 0x80u && count++ == width) {
                out += '\n';
                count = 1;
            }
            out += paragraph[at];
        }
        out += "\n\n";
    }
    return out;
}

// The same cut at `width` columns, a CJK character taking two, as other editors wrap.
std::string EveryNColumns(const std::vector<std::string>& paragraphs, std::size_t width) {
    std::string out;
    for (const std::string& paragraph : paragraphs) {
        std::size_t columns = 0;
        for (std::size_t at = 0; at < paragraph.size(); ++at) {
            const auto byte = static_cast<unsigned char>(paragraph[at]);
            if ((byte & 0xC0u) != 0x80u) {
                const std::size_t wide = byte >= 0xE3 ? 2 : 1; // the texts' CJK only
                if (columns + wide > width) {
                    out += '\n';
                    columns = 0;
                }
                columns += wide;
            }
            out += paragraph[at];
        }
        out += "\n\n";
    }
    return out;
}

const std::string kManual = "The Lamp Manual\n\n" + [] {
    std::string text;
    for (const char* chapter : {"Chapter 1", "Chapter 2", "Chapter 3"})
        text += std::string(chapter) +
                "\n\nRead this chapter through before you start.\n\n1. Open the lid.\n2. Fill the "
                "tank with oil.\n3. Trim the wick.\n4. Close the lid.\n\n";
    return text;
}();

const std::string kRecipe = R"(Barley Soup

A thick soup for a cold evening, enough for four.

Ingredients:
200 g pearl barley
2 onions
1 litre of stock

Method:
1. Rinse the barley.
2. Chop the onions and soften them in butter.
3. Add the barley and the stock.
4. Simmer for an hour, stirring now and then.
5. Season and serve hot.
)";

const std::string kListInDialogue = R"(1.

The keeper came down at dawn, as he had every morning for forty years.
Nobody in the village remembered who had lit the lamp first.

2.

"There are three rules," she said, and counted them on her fingers.
1. Never let the lamp go out.
2. Never leave the door open.
3. Never tell anyone about the cellar.
He nodded and said nothing.

3.

In the evening the wind rose and the lamp burned on.
The cellar door stayed shut.
)";

const std::string kRoad = R"(Two roads diverged in a yellow wood,
And sorry I could not travel both
And be one traveler, long I stood
And looked down one as far as I could
To where it bent in the undergrowth;

Then took the other, as just as fair,
And having perhaps the better claim,
Because it was grassy and wanted wear;
Though as for that the passing there
Had worn them really about the same,

And both that morning equally lay
In leaves no step had trodden black.
Oh, I kept the first for another day!
Yet knowing how way leads on to way,
I doubted if I should ever come back.

I shall be telling this with a sigh
Somewhere ages and ages hence:
Two roads diverged in a wood, and I—
I took the one less traveled by,
And that has made all the difference.
)";

const std::string kPoems = "Three Poems\n\nI.\n\n" + kRoad + R"(
II.

The lamp is lit above the bay,
The keeper climbs the winding stair,
He counts the ships that pass away
And leaves the door ajar for air.

III.

When the tide goes out at noon
Every stone is dry and warm,
Children come with cup and spoon
Long before the evening storm.
)";

const std::string kMail = R"(Subject: Re: the walk on Friday

Yes, Friday works for me. I will bring the maps and a flask of tea, and
we can meet at the gate by the old mill at nine in the morning if the
weather holds up as the forecast says it will, which it rarely does.

On Monday, Ben wrote:
> Are we still on for Friday? I thought we might take the long way
> round by the river this time, since the bridge has been mended at
> last and the path along the water is dry again after the floods.
>
>> Last time we got lost near the quarry, so bring the maps, and a
>> torch in case we are late coming back down the hill in the dark.

I will bring the torch as well, and the spare batteries, since the last
ones ran out halfway down the hill and we had to walk by the moon.

Yours truly,
Ann
)";

const std::string kCode = R"(To see whether the lamp is lit, the keeper's program asks the sensor on
the gallery and answers with the exit status, which the night watch can
read from its own script without looking at the tower at all.

    int main() {
        return lamp_lit() ? 0 : 1;
    }

The sensor is read once a second, and a lamp that has gone out for more
than three readings in a row rings the bell in the keeper's cottage.
)";

const std::string kScreenplay = R"(INT. LIGHTHOUSE - NIGHT

The lamp turns. The KEEPER (60s) climbs the stairs with a can of oil.

                    KEEPER
          Who left the door open?

                    ANNA (O.S.)
          I did. The wind took it.

The KEEPER sets down the can and looks out at the sea.

                    KEEPER
          Then the wind can close it.
)";

const std::string kNovelWithStars = R"(CHAPTER I

The lamp was lit at dusk, as it had been for forty years.
*** Start of the long winter ***
Snow came down on the gallery and stayed until spring.

CHAPTER II

The supply boat did not come for a month.
***END OF PART ONE***

CHAPTER III

In the spring the ice broke up with a noise like guns.
* * *
The boat came back in April with oil and letters.

CHAPTER IV

The keeper read the letters twice and burned none of them.
)";

const std::string kGutenberg = "The Project Gutenberg eBook of The Lamp, by A. Keeper\n\n"
                               "Title: The Lamp\nAuthor: A. Keeper\n\n"
                               "*** START OF THE PROJECT GUTENBERG EBOOK THE LAMP ***\n\n" +
                               Story({"CHAPTER I", "CHAPTER II", "CHAPTER III"}, 5) +
                               R"(*** END OF THE PROJECT GUTENBERG EBOOK THE LAMP ***

Section 1. General Terms of Use
1.
2.
3.
)";

const std::vector<std::string> kChinese = {
    "他打开Windows电脑，先用Excel整理了账目，又在Microsoft Word里写了一封长信给远方的朋友，"
    "信里说灯塔的灯油已经用完，需要下个月的补给船送来。",
    "朋友回信说，补给船要等到March才能出发，因为港口的Internet一直断断续续，订单发不出去，"
    "只好用最老的办法，托渔船带一张纸条过去。",
    "守灯人读完信，把它放进抽屉，抽屉里还有去年的Bluetooth耳机和一本没看完的小说。"};

// A log of lights, figures in most lines: a wrap by columns leaves lines of as many
// characters as they have figures.
const std::vector<std::string> kLightLog = [] {
    std::vector<std::string> log;
    for (int paragraph = 1; paragraph <= 6; ++paragraph) {
        std::string text;
        for (int entry = 1; entry <= 6; ++entry)
            text += "第" + std::to_string(paragraph * entry * entry * 7919 % 100003) + "号灯塔在" +
                    std::to_string(entry * 5 % 12 + 1) + "月点亮，风" +
                    std::to_string(entry * paragraph % 9) + "级。";
        log.push_back(text);
    }
    return log;
}();

const std::vector<std::string> kJapanese = {
    "灯台守は毎朝六時に起きて、階段を百二十段のぼり、ランプの芯を切りそろえてから、"
    "海を眺めながらお茶を一杯飲むのが習慣だった。",
    "ある日、港の郵便局からiPhoneで写真が届いた。そこには見たことのない船が写っていて、"
    "船の名前はどこにも書かれていなかった。"};

struct ShapeCase {
    const char* name;
    std::string text;
    std::vector<std::string> contents;       // listed pages; a page within a volume indented
    std::string paragraphs;                  // how many of each kind the pages make
    std::vector<std::string> notices = {};   // "missing 7", "repeated 7"
    std::vector<std::string> contained = {}; // paragraphs the text joins into, whole
};

// The paragraphs the pages of `chapters` make, by kind, and the text of those joined.
std::pair<std::string, std::vector<std::string>> ParagraphsOf(const TChapterList& chapters) {
    std::map<ParagraphKind, std::size_t> counts;
    std::vector<std::string> joined;
    for (const FileList& page : chapters) {
        std::string_view text =
            std::string_view(*page.Text).substr(page.Begin, page.End - page.Begin);
        if (page.Heading != HeadingKind::None) text.remove_prefix(LineAt(text, 0).next);
        for (const Paragraph& paragraph : BuildParagraphs(text, page.Paragraphs)) {
            ++counts[paragraph.kind];
            if (paragraph.kind != ParagraphKind::Text) continue;
            joined.emplace_back();
            JoinParagraphLines(joined.back(), text, paragraph.begin, paragraph.end,
                               page.Paragraphs.fixedCjkWrap);
        }
    }
    static const std::pair<ParagraphKind, const char*> kNames[] = {
        {ParagraphKind::Text, "text"},        {ParagraphKind::Verse, "verse"},
        {ParagraphKind::Quote, "quote"},      {ParagraphKind::Code, "code"},
        {ParagraphKind::BreakMarks, "break"}, {ParagraphKind::BreakGap, "gap"}};
    std::string summary;
    for (const auto& [kind, name] : kNames)
        if (counts[kind] != 0)
            summary += (summary.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + name;
    return {summary, joined};
}

void PrintTo(const ShapeCase& shape, std::ostream* out) {
    *out << shape.name;
}

class TextShape : public testing::TestWithParam<ShapeCase> {};

TEST_P(TextShape, GetsItsContentsAndParagraphs) {
    const ShapeCase& shape = GetParam();
    test::ScratchFolder scratch;
    const std::string path = scratch / "shape.txt";
    test::WriteFile(path, shape.text);
    ChapterListOptions options;
    std::vector<std::string> notices;
    options.notice = [&](const TextNotice& notice) {
        notices.push_back(
            (notice.kind == TextNotice::Kind::NumberMissing ? "missing " : "repeated ") +
            std::to_string(notice.number));
    };
    const TChapterList chapters = BuildChapterList({path}, nullptr, options);
    std::vector<std::string> contents;
    for (const FileList& page : chapters)
        if (page.Listed) contents.push_back((page.Level ? "  " : "") + page.Name);
    EXPECT_THAT(contents, testing::ElementsAreArray(shape.contents));
    const auto [paragraphs, joined] = ParagraphsOf(chapters);
    EXPECT_EQ(paragraphs, shape.paragraphs);
    EXPECT_THAT(notices, testing::ElementsAreArray(shape.notices));
    for (const std::string& whole : shape.contained)
        EXPECT_THAT(joined, testing::Contains(whole));
}

const ShapeCase kShapes[] = {
    {"ManualWithNumberedSteps",
     kManual,
     {"shape", "Chapter 1", "Chapter 2", "Chapter 3"},
     "16 text"},
    {"RecipeSteps", kRecipe, {"shape"}, "12 text"},
    {"NumberedListInDialogue", kListInDialogue, {"1.", "2.", "3."}, "9 text"},
    {"GapInTheNumbering",
     Story(Numbers({1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12})),
     Numbers({1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12}),
     "33 text",
     {"missing 7"}},
    {"RepeatedNumber",
     Story(Numbers({1, 2, 3, 4, 5, 6, 7, 7, 8, 9}, ".")),
     Numbers({1, 2, 3, 4, 5, 6, 7, 7, 8, 9}, "."),
     "30 text",
     {"repeated 7"}},
    {"PoemCollection", kPoems, {"shape", "I.", "II.", "III."}, "1 text, 6 verse"},
    {"MailThread", kMail, {"shape"}, "4 text, 1 verse, 1 quote"},
    {"CodeListing", kCode, {"shape"}, "2 text, 1 code"},
    {"Screenplay", kScreenplay, {"shape"}, "9 text"},
    {"NovelWithItsOwnStarLines",
     kNovelWithStars,
     {"CHAPTER I", "CHAPTER II", "CHAPTER III", "CHAPTER IV"},
     "8 text, 1 break"},
    {"ArchiveHeaderAndLicence",
     kGutenberg,
     // The header is named by its first line, the licence by its end line.
     {"The Project Gutenberg eBook of The Lamp, by A. Keeper", "CHAPTER I", "CHAPTER II",
      "CHAPTER III", "END OF THE PROJECT GUTENBERG EBOOK THE LAMP"},
     "33 text"},
    {"WrappedChineseWithEnglishWords",
     EveryNCharacters(kChinese, 38),
     {"shape"},
     "3 text",
     {},
     kChinese},
    {"WrappedJapanese", EveryNCharacters(kJapanese, 30), {"shape"}, "2 text", {}, kJapanese},
    // Lines of one width in columns, not in characters.
    {"WrappedChineseByColumns", EveryNColumns(kLightLog, 40), {"shape"}, "6 text", {}, kLightLog},
};

INSTANTIATE_TEST_SUITE_P(Shapes, TextShape, testing::ValuesIn(kShapes),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::engine
