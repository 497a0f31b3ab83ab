// Headings known by their order: number lines that count up, Japanese parts in order.
#include "engine/chapters/HeadingFinder.h"
#include "engine/chapters/Numerals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivane::engine {
namespace {

struct NumberCase {
    const char* name;
    std::string line;
    unsigned value; // 0: not a number line
};

class NumberLineOf : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberLineOf, GivesItsValue) {
    const auto number = ParseNumberLine(GetParam().line);
    EXPECT_EQ(number ? number->value : 0u, GetParam().value);
}

const NumberCase kNumberCases[] = {
    {"KanjiOne", "一", 1},
    {"KanjiTen", "十", 10},
    {"KanjiEleven", "十一", 11},
    {"KanjiTwenty", "二十", 20},
    {"KanjiFiftySix", "五十六", 56},
    {"KanjiHundred", "百", 100},
    {"KanjiHundredAndTwo", "百二", 102},
    {"KanjiHundredEleven", "百十一", 111},
    {"KanjiThreeHundredTwenty", "三百二十", 320},
    {"KanjiNineteenHundred", "千九百", 1900},
    {"KanjiPositional", "一〇五", 105},
    {"KanjiWithTitle", "一　先生と私", 1},
    {"KanjiWithComma", "三、", 3},
    {"Digits", "12", 12},
    {"DigitsWithStop", "12.", 12},
    {"WideDigits", "１２", 12},
    {"WideDigitsWithWideStop", "１２．", 12},
    {"RomanWithTitle", "XII. The Return", 12},
    {"RomanAlone", "IV", 4},
    {"RomanLowerCase", "xiv.", 14},
    {"RomanLargest", "MMMCMXCIX", 3999},
    {"KanjiWordIsNoNumber", "一人", 0},
    {"PronounBeginsASentence", "I think so", 0},
    {"QuantityBeginsASentence", "1 cup of flour", 0},
    {"DigitsRunIntoLetters", "12b", 0},
    {"Zero", "0", 0},
    {"KanjiZero", "〇", 0},
    {"MultiplierTwice", "十十", 0},
    {"MultipliersRising", "百千", 0},
    {"RomanFourOnes", "IIII", 0},
    {"RomanMixedCase", "Xii", 0},
    {"ChineseMarkBeforeNumber", "第一", 0},
    {"Year", "19520", 0},
    {"Empty", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Numerals, NumberLineOf, testing::ValuesIn(kNumberCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Each heading as "C name" or "V name".
std::vector<std::string> Found(const std::string& text,
                               const HeadingRules& rules = HeadingRules::BuiltIn()) {
    std::vector<std::string> out;
    for (const HeadingLine& heading : FindHeadings(text, rules))
        out.push_back((heading.kind == HeadingKind::Volume ? "V " : "C ") + heading.name);
    return out;
}

// Lines of a chapter's text between its heading and the next.
std::string Body(const std::string& extra = "") {
    return "\n　私はその人を常に先生と呼んでいた。\n" + extra +
           "　だからここでもただ先生と書く。\n\n";
}

struct SequenceCase {
    const char* name;
    std::string text;
    std::vector<std::string> headings;
};

class SequenceIn : public testing::TestWithParam<SequenceCase> {};

TEST_P(SequenceIn, GivesTheHeadings) {
    EXPECT_EQ(Found(GetParam().text), GetParam().headings);
}

const SequenceCase kSequenceCases[] = {
    {"KanjiChapters", "一" + Body() + "二" + Body() + "三" + Body(), {"C 一", "C 二", "C 三"}},
    {"TwoInOrderAreText", "一" + Body() + "二" + Body(), {}},
    {"OutOfOrderLineStaysText",
     "1." + Body() + "2." + Body() + "7." + Body() + "3." + Body(),
     {"C 1.", "C 2.", "C 3."}},
    {"RomanWithTitles",
     "I. Dawn" + Body() + "II." + Body() + "III. Dusk" + Body() + "IV." + Body(),
     {"C I. Dawn", "C II.", "C III. Dusk", "C IV."}},
    {"WideDigitsIndented",
     "　１" + Body() + "　２" + Body() + "　３" + Body(),
     {"C １", "C ２", "C ３"}},
    {"ListOfOtherNumeralsInsideAChapter",
     "一" + Body("1. 米\n2. 塩\n3. 味噌\n") + "二" + Body() + "三" + Body(),
     {"C 一", "C 二", "C 三"}},
    {"ListOfTheSameNumeralsInsideAChapter",
     "1." + Body() + "2." + Body("1.\n2.\n3.\n") + "3." + Body() + "4." + Body(),
     {"C 1.", "C 2.", "C 3.", "C 4."}},
    {"LoneOneInDialogue",
     "一" + Body("「一」\n一\n") + "二" + Body() + "三" + Body(),
     {"C 一", "C 二", "C 三"}},
    {"RestartAfterEachPart",
     "上　先生と私\n一" + Body() + "二" + Body() + "三" + Body() + "中　両親と私\n一" + Body() +
         "二" + Body() + "三" + Body() + "下　先生と遺書\n一" + Body() + "二" + Body() + "三" +
         Body(),
     {"V 上 先生と私", "C 一", "C 二", "C 三", "V 中 両親と私", "C 一", "C 二", "C 三",
      "V 下 先生と遺書", "C 一", "C 二", "C 三"}},
    {"RestartAfterABuiltInVolume",
     "第一卷\n1." + Body() + "2." + Body() + "3." + Body() + "第二卷\n1." + Body() + "2." + Body() +
         "3." + Body(),
     {"V 第一卷", "C 1.", "C 2.", "C 3.", "V 第二卷", "C 1.", "C 2.", "C 3."}},
    {"PartsInOrderWithoutChapters",
     "前編　春\n" + Body() + "後編　秋\n" + Body(),
     {"V 前編 春", "V 後編 秋"}},
    {"PartsOutOfOrderAreText", "下　先生と遺書\n" + Body() + "中　両親と私\n" + Body(), {}},
    {"OnePartAloneIsText", "上　先生と私\n" + Body(), {}},
    {"PartWordWithoutTitleIsText", "上\n" + Body() + "中\n" + Body() + "下\n" + Body(), {}},
    {"ContentsListOfNumbersIsText",
     "1. Dawn\n2. Dusk\n3. Night\n\n1. Dawn" + Body() + "2. Dusk" + Body() + "3. Night" + Body(),
     {"C 1. Dawn", "C 2. Dusk", "C 3. Night"}},
    {"SectionsOfNumberedChaptersAreText",
     "第一章 甲\n一" + Body() + "二" + Body() + "三" + Body() + "第二章 乙\n一" + Body() + "二" +
         Body() + "三" + Body(),
     {"C 第一章 甲", "C 第二章 乙"}},
    {"NumbersAfterAWordHeadingAreChapters",
     "Prologue\n" + Body() + "1." + Body() + "2." + Body() + "3." + Body(),
     {"C Prologue", "C 1.", "C 2.", "C 3."}},
    {"ListOfAFewItemsInALongTextIsText",
     Body() + Body() + Body() + "1. 米\n\n" + Body() + "2. 塩\n\n" + Body() + "3. 味噌\n" + Body() +
         Body() + Body() + Body() + Body() + Body() + Body() + Body() + Body() + Body() + Body(),
     {}},
    {"SkippedNumberGivesWayToTheOneThatComes",
     "1." + Body() + "2." + Body("4.\n") + "3." + Body() + "4." + Body(),
     {"C 1.", "C 2.", "C 3.", "C 4."}},
    {"RepeatRightUnderItsHeadingIsText",
     "1." + Body() + "2.\n2." + Body() + "3." + Body() + "4." + Body(),
     {"C 1.", "C 2.", "C 3.", "C 4."}},
};

INSTANTIATE_TEST_SUITE_P(Sequences, SequenceIn, testing::ValuesIn(kSequenceCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(NumberedHeadings, CountOnPastAHundred) {
    std::string text;
    std::vector<std::string> expected;
    for (int i = 1; i <= 101; ++i) {
        // Kanji up to 百一 written out, as a novel of a hundred chapters has them.
        constexpr const char* units[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
        std::string name = i == 100 ? "百" : i == 101 ? "百一" : "";
        if (name.empty()) {
            if (i >= 20) name += units[i / 10];
            if (i >= 10) name += "十";
            name += units[i % 10];
        }
        text += name + Body();
        expected.push_back("C " + name);
    }
    EXPECT_EQ(Found(text), expected);
}

TEST(NumberedHeadings, AreOffWithTheUsersPatterns) {
    const std::string text = "一" + Body() + "二" + Body() + "三" + Body() + "上　甲\n中　乙\n";
    EXPECT_TRUE(Found(text, HeadingRules::Custom("^第", "")).empty());
}

TEST(NumberedHeadings, JoinBuiltInHeadingsInTextOrder) {
    const std::string text =
        "序章\n" + Body() + "1." + Body() + "2." + Body() + "3." + Body() + "后记\n" + Body();
    EXPECT_EQ(Found(text), (std::vector<std::string>{"C 序章", "C 1.", "C 2.", "C 3.", "C 后记"}));
}

} // namespace
} // namespace folivane::engine
