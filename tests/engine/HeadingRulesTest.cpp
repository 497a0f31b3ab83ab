// Heading rules: which lines the built-in rules and users' patterns take for headings.
#include "engine/chapters/HeadingRules.h"
#include "engine/text/UnicodeText.h"
#include "engine/text/WhiteSpace.h"

#include <chrono>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {

void PrintTo(HeadingKind kind, std::ostream* out) {
    *out << (kind == HeadingKind::Chapter  ? "Chapter"
             : kind == HeadingKind::Volume ? "Volume"
                                           : "None");
}

namespace {

using namespace std::string_literals;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;
constexpr HeadingKind None = HeadingKind::None;
constexpr HeadingKind Chapter = HeadingKind::Chapter;
constexpr HeadingKind Volume = HeadingKind::Volume;

struct LineCase {
    const char* name;
    std::string line;
    HeadingKind kind;
};

class BuiltInRules : public testing::TestWithParam<LineCase> {};

TEST_P(BuiltInRules, TellHeadingsFromText) {
    EXPECT_EQ(HeadingRules::BuiltIn().Classify(GetParam().line), GetParam().kind)
        << GetParam().line;
}

const LineCase kLineCases[] = {
    // Chinese and Japanese numbered chapters and volumes
    {"ChineseChapter", "第一章", Chapter},
    {"ChapterWithTitle", "第一章 渡口", Chapter},
    {"TitleRightAfterTheMark", "第十二章渡口", Chapter},
    {"ArabicDigitsAndFullWidthColon", "第12章：风起", Chapter},
    {"FullWidthDigits", "第１２章", Chapter},
    {"SpacesAroundTheNumber", "第 3 章 归来", Chapter},
    {"LargeChineseNumber", "第一千零二十四章 终局", Chapter},
    {"FinancialNumerals", "第壹佰贰拾章", Chapter},
    {"TraditionalFinancialNumerals", "第貳拾參回", Chapter},
    {"ClassicalHuiWithCoupletTitle", "第一回 甄士隐梦幻识通灵　贾雨村风尘怀闺秀", Chapter},
    {"Jie", "第三节 夜谈", Chapter},
    {"Ji", "第5集", Chapter},
    {"JapaneseWa", "第3話 出会い", Chapter},
    {"Hua", "第八话", Chapter},
    {"Mu", "第二幕", Chapter},
    {"DashSeparator", "第一章—开始", Chapter},
    {"DotSeparator", "第1章.开始", Chapter},
    {"IndentedWithIdeographicSpaces", "\u3000\u3000第一章 开始\r", Chapter},
    {"ShortTitleEndingInExclamation", "第五章 他来了！", Chapter},
    {"TenWordTitleEndingLikeASentence", "第一章 一二三四五六七八九。", Chapter},
    {"ChineseVolume", "第一卷 风起", Volume},
    {"ChineseBu", "第二部 归途", Volume},
    {"JuanFirst", "卷一 风起", Volume},
    {"JuanWithDigits", "卷3", Volume},
    // One-word headings
    {"Xuzhang", "序章", Chapter},
    {"XuzhangWithTitle", "序章 雪夜", Chapter},
    {"Xuyan", "序言", Chapter},
    {"Xu", "序", Chapter},
    {"XieziWithTitle", "楔子：旧事", Chapter},
    {"Yinzi", "引子", Chapter},
    {"Qianyan", "前言", Chapter},
    {"Houji", "后记", Chapter},
    {"HoujiTraditional", "後記", Chapter},
    {"Weisheng", "尾声", Chapter},
    {"WeishengTraditional", "尾聲", Chapter},
    {"Zhongzhang", "终章", Chapter},
    {"ZhongzhangTraditional", "終章", Chapter},
    {"Wanbenganyan", "完本感言", Chapter},
    {"Fanwai", "番外", Chapter},
    {"FanwaiWithNumber", "番外 一", Chapter},
    {"FanwaiPianWithTitle", "番外篇：江湖", Chapter},
    {"FanwaiNumberedWithTitle", "番外一 重逢", Chapter},
    // English
    {"EnglishChapter", "Chapter 1", Chapter},
    {"UpperCaseChapter", "CHAPTER 12", Chapter},
    {"LowerCaseChapter", "chapter 3", Chapter},
    {"RomanNumeral", "Chapter XII", Chapter},
    {"LowerCaseRomanNumeral", "Chapter iv", Chapter},
    {"NumberWord", "Chapter One", Chapter},
    {"HyphenatedNumberWords", "Chapter Twenty-One", Chapter},
    {"SpacedNumberWords", "Chapter Twenty One", Chapter},
    {"UpperCaseNumberWords", "CHAPTER TWENTY-ONE", Chapter},
    {"LowerCaseNumberWords", "chapter twenty-one", Chapter},
    {"NinetyNine", "Chapter Ninety-Nine", Chapter},
    {"ColonTitle", "Chapter 1: The Boy", Chapter},
    {"DotTitle", "Chapter 1. The Boy", Chapter},
    {"DashTitle", "Chapter 1 - The Boy", Chapter},
    {"SpaceTitle", "Chapter 1 The Boy", Chapter},
    {"TitleEndingInQuestionMark", "Chapter 12: Why Would Anyone Do That?", Chapter},
    {"EnglishVolume", "Volume 2", Volume},
    {"UpperCaseVolumeRoman", "VOLUME II", Volume},
    {"BookOne", "Book One", Volume},
    {"UpperCaseBookWithTitle", "BOOK 3: Return", Volume},
    {"PartRoman", "Part III", Volume},
    {"UpperCasePart", "PART TWO", Volume},
    {"Prologue", "Prologue", Chapter},
    {"UpperCasePrologue", "PROLOGUE", Chapter},
    {"LowerCasePrologueWithTitle", "prologue: the night", Chapter},
    {"Epilogue", "Epilogue", Chapter},
    {"InterludeWithTitle", "Interlude - Ghosts", Chapter},
    {"Afterword", "Afterword", Chapter},
    // Lines that only begin like headings
    {"TheSecondDay", "第二天", None},
    {"TheFirstTime", "第一次", None},
    {"NoNumber", "第章", None},
    {"NumberWithoutMark", "第一", None},
    {"GoesOnIntoASentence", "第一章节奏很快，我们已经来不及了。", None},
    {"ElevenWordTitleEndingLikeASentence", "第一章 一二三四五六七八九十。", None},
    {"XuquIsNoXu", "序曲", None},
    {"IdiomBeginningWithQianyan", "前言不搭后语", None},
    {"HoujiWithoutSeparator", "后记得这件事", None},
    {"FanwaiInASentence", "番外的故事", None},
    {"JuanWithoutNumber", "卷首语", None},
    {"MuhouWithoutNumber", "幕后", None},
    {"BuduiWithoutNumber", "部队", None},
    {"InCurlyQuotes", "“第十章”", None},
    {"InCornerBrackets", "「第一章」", None},
    {"InBookTitleMarks", "《第一章》", None},
    {"ChapterAndVerse", "Chapter and verse", None},
    {"Chapters", "Chapters", None},
    {"ChapterWithoutNumber", "Chapter", None},
    {"BookKeeping", "Book keeping", None},
    {"PartOfMe", "Part of me", None},
    {"VolumeControl", "Volume control", None},
    {"Prologues", "Prologues", None},
    {"LowerCaseBook", "book 3", None},
    {"SentenceAfterTheNumber", "Chapter 1 was the hardest to write.", None},
    {"LowerCaseWordAfterPart", "Part 2 of the story", None},
    {"NumberRunsIntoLetters", "Chapter 12b", None},
    {"InvalidRomanNumeral", "Chapter IIII", None},
    {"MixedCaseRomanNumeral", "Chapter Mix", None},
    {"CommaAfterNumber", "Chapter 1, in which", None},
};

INSTANTIATE_TEST_SUITE_P(HeadingRules, BuiltInRules, testing::ValuesIn(kLineCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Ordinary words that begin with a heading mark after 第 and a numeral, alone and as the
// start of a sentence: none is a heading.
const std::pair<const char*, const char*> kOrdinaryPhrases[] = {
    {"第三部分", "的内容"},     {"第一部队", "开进了城"}, {"第二部隊", "已經出發"},
    {"第一部门", "的人"},       {"第四部門", "的人"},     {"第三部落", "的首领"},
    {"第一部署", "完毕"},       {"第一部长", "来了"},     {"第一部長", "來了"},
    {"第三部位", "受了伤"},     {"第五部件", "坏了"},     {"第一部下", "是谁"},
    {"第三部首", "是水"},       {"第一集团", "军"},       {"第一集團", "軍"},
    {"第二集合", "点"},         {"第一集市", "很热闹"},   {"第一集中", "营"},
    {"第二集体", "宿舍"},       {"第二集體", "宿舍"},     {"第一回合", "结束了"},
    {"第二节课", "是数学"},     {"第二節課", "是數學"},   {"第一节目", "是相声"},
    {"第一節目", "是相聲"},     {"第一节日", "的人"},     {"第一節日", "的人"},
    {"第三节车", "厢"},         {"第三節車", "廂"},       {"第一节拍", "要重"},
    {"第一節拍", "要重"},       {"第一话题", "是天气"},   {"第一話題", "是天氣"},
    {"第一话剧", "团"},         {"第一話劇", "團"},       {"第一幕后", "，观众散了"},
    {"第一幕後", "，觀眾散了"}, {"第二幕僚", "的人"},     {"第三幕府", "的将军"},
    {"第一章程", "的规定"},     {"第一卷轴", "的画"},     {"第一卷軸", "的畫"},
    {"第一卷宗", "的案子"},
};

TEST(HeadingRules, OrdinaryWordsAfterANumberAreText) {
    const HeadingRules rules = HeadingRules::BuiltIn();
    for (const auto& [phrase, rest] : kOrdinaryPhrases) {
        EXPECT_EQ(rules.Classify(phrase), None) << phrase;
        EXPECT_EQ(rules.Classify(std::string(phrase) + rest), None) << phrase << rest;
    }
    // The mark itself still makes headings with a separated title.
    EXPECT_EQ(rules.Classify("第三部 分离"), Volume);
    EXPECT_EQ(rules.Classify("第一集 团聚"), Chapter);
    EXPECT_EQ(rules.Classify("第二节 课堂"), Chapter);
}

std::string Repeat(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(HeadingRules, LengthIsCountedInCharactersAfterTrimming) {
    const HeadingRules rules = HeadingRules::BuiltIn();
    const std::string forty = "第一章" + Repeat("渡", 37); // 120 bytes
    EXPECT_EQ(rules.Classify(forty), Chapter);
    EXPECT_EQ(rules.Classify("\u3000\u3000 " + forty + " \t"), Chapter);
    EXPECT_EQ(rules.Classify(forty + "渡"), None);
    EXPECT_EQ(rules.Classify("Chapter 1 " + Repeat("X", 30)), Chapter);
    EXPECT_EQ(rules.Classify("Chapter 1 " + Repeat("X", 31)), None);

    const HeadingRules shortRules = HeadingRules::BuiltIn(6);
    EXPECT_EQ(shortRules.Classify("第一章 渡口"), Chapter);
    EXPECT_EQ(shortRules.Classify("第一章 渡口啊"), None);
    EXPECT_EQ(HeadingRules::BuiltIn(0).Classify("序"), None);
}

struct TextCase {
    const char* name;
    std::string line;
    std::string trimmed;
    std::string headingName;
};

class HeadingText : public testing::TestWithParam<TextCase> {};

TEST_P(HeadingText, IsTrimmedAndNamed) {
    EXPECT_EQ(TrimSpace(GetParam().line), GetParam().trimmed);
    EXPECT_EQ(HeadingName(GetParam().line), GetParam().headingName);
}

const TextCase kTextCases[] = {
    {"Empty", "", "", ""},
    {"OnlySpaces", " \t\u3000\r\n\v\f", "", ""},
    {"AsciiSpaceAround", " \tChapter 1\r", "Chapter 1", "Chapter 1"},
    {"IdeographicSpaceAround", "\u3000\u3000第一章\u3000", "第一章", "第一章"},
    {"InnerRunsBecomeOneSpace", "第一章\u3000 \t渡口  夜", "第一章\u3000 \t渡口  夜",
     "第一章 渡口 夜"},
    // Every Unicode space, and a byte-order mark left where files were joined.
    {"NoBreakSpaceIsSpace", "\u00A0Chapter\u00A01", "Chapter\u00A01", "Chapter 1"},
    {"FixedWidthSpaces", "\u2002\u2003第一章\u2009\u200A渡口\u202F", "第一章\u2009\u200A渡口",
     "第一章 渡口"},
    {"MarkInsideAText", "\uFEFF\u205F第二章", "第二章", "第二章"},
    {"ZeroWidthSpaceIsNoSpace", "\u200B第二章", "\u200B第二章", "\u200B第二章"},
};

INSTANTIATE_TEST_SUITE_P(HeadingRules, HeadingText, testing::ValuesIn(kTextCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The quick look at a character's first byte passes no white space over: every character,
// at either end of a text, is trimmed exactly when it is white space.
TEST(TrimSpace, TakesEveryWhiteSpaceCharacterAndNoOther) {
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string one;
        AppendUtf8(one, c);
        const std::size_t expected = IsTextSpace(c) ? one.size() : 0;
        ASSERT_EQ(LeadingSpaceLength(one + "x"), expected) << "U+" << std::hex << unsigned(c);
        ASSERT_EQ(TrailingSpaceLength("x" + one), expected) << "U+" << std::hex << unsigned(c);
    }
}

// Damaged text at either end is no space, however like one it looks.
TEST(TrimSpace, TakesNoDamagedCharacter) {
    for (const std::string cut : {"\xE3\x80", "\xE2\x80", "\xEF\xBB", "\x80\x80"})
        EXPECT_EQ(LeadingSpaceLength(cut + "x"), 0u) << cut;
    for (const std::string cut : {"\xE3\x80\x80\x80", "\x80\x80", " \x80", "\xE3\x80"})
        EXPECT_EQ(TrailingSpaceLength("x" + cut), 0u) << cut;
    EXPECT_EQ(TrimSpace("\xE3\x80\x80x\xE3\x80\x80\x80"), "x\xE3\x80\x80\x80");
}

TEST(HeadingRules, CustomPatternsReplaceTheBuiltInRules) {
    const HeadingRules rules = HeadingRules::Custom("^Kapitel \\d+$", "Teil");
    EXPECT_EQ(rules.Classify("  Kapitel 12 "), Chapter);
    EXPECT_EQ(rules.Classify("Kapitel 12 und mehr"), None);
    EXPECT_EQ(rules.Classify("Erster Teil"), Volume); // searched, not anchored
    EXPECT_EQ(rules.Classify("第一章"), None);
    EXPECT_EQ(rules.Classify(""), None);
}

TEST(HeadingRules, CustomPatternsUseUnicodeClasses) {
    const HeadingRules rules = HeadingRules::Custom("^\\w\\s\\w$", "", 3);
    EXPECT_EQ(rules.Classify("章\u3000一"), Chapter);
    EXPECT_EQ(rules.Classify("é\u2003ß"), Chapter);
    EXPECT_EQ(rules.Classify("é\u2003ßx"), None); // four characters
}

TEST(HeadingRules, VolumeWinsWhenBothPatternsMatch) {
    const HeadingRules rules = HeadingRules::Custom("Book", "^Book \\d+$");
    EXPECT_EQ(rules.Classify("Book 2"), Volume);
    EXPECT_EQ(rules.Classify("Book two"), Chapter);
}

TEST(HeadingRules, EmptyPatternsFindNothing) {
    EXPECT_EQ(HeadingRules::Custom("", "").Classify("第一章"), None);
}

TEST(HeadingRules, APatternThatDoesNotCompileIsNamed) {
    try {
        HeadingRules::Custom("第一章", "第(");
        FAIL() << "no error";
    } catch (const HeadingPatternError& error) {
        EXPECT_STREQ(error.what(), "The volume pattern \"第(\" does not compile: missing closing "
                                   "parenthesis at offset 2");
    }
    EXPECT_THROW(HeadingRules::Custom("[z-a]", ""), HeadingPatternError);
}

TEST(HeadingRules, PatternThatNeedsTooMuchWorkIsRefusedNamingItAndTheLine) {
    // Each such line must end in well under a millisecond, not after PCRE2's default ten
    // million steps, and must not silently count as no heading.
    const HeadingRules rules = HeadingRules::Custom("(a+)+$", "(x+x+)+!");
    const std::string aLine = Repeat("a", 39) + "!";
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& line : {aLine, Repeat("x", 38) + "y!"}) {
        try {
            rules.Classify(line);
            ADD_FAILURE() << "no refusal for " << line;
        } catch (const HeadingPatternError& error) {
            EXPECT_THAT(error.what(),
                        HasSubstr("needs too much work to match the line \"" + line.substr(0, 10)));
        }
    }
    EXPECT_THAT([&] { rules.Classify(aLine); },
                ThrowsMessage<HeadingPatternError>(HasSubstr("the chapter pattern \"(a+)+$\"")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // A pattern that is merely costly on some lines is borne up to a bound over the book.
    const HeadingRules costly = HeadingRules::Custom("^(a|aa)+$", "");
    const std::string costlyLine = Repeat("a", 21) + "b"; // beyond the quick limit only
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(costly.Classify(costlyLine), None);
    EXPECT_THROW(costly.Classify(costlyLine), HeadingPatternError);
    EXPECT_EQ(costly.Classify("aa"), Chapter);
}

TEST(HeadingRules, CopiesMatchOnTheirOwn) {
    const HeadingRules original = HeadingRules::Custom("^Chapter", "^Book");
    HeadingRules copy = original;
    EXPECT_EQ(copy.Classify("Book 1"), Volume);
    copy = HeadingRules::BuiltIn();
    EXPECT_EQ(copy.Classify("第一章"), Chapter);
    EXPECT_EQ(original.Classify("Chapter 1"), Chapter);
    const HeadingRules moved = std::move(copy);
    EXPECT_EQ(moved.Classify("卷一"), Volume);
}

} // namespace
} // namespace folivane::engine
