// Chinese script conversion: texts of each form to each choice, tags, and what OpenCC is fed.
#include "engine/text/ChineseScriptConverter.h"
#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/ScriptTables.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace folivane::engine {
namespace {

using test::ScratchFolder;

constexpr std::string_view kSimplified = "软件工程师说：“这里没有后来的头发。”";
// Traditional as Taiwan writes it, with characters that Simplified-to-Traditional tables
// would rewrite (the surname 余, 台) and OpenCC's own forms 爲 and 裏.
constexpr std::string_view kTraditional = "軟體工程師說：「余光中姓余，爲了台灣的裏子。」";
// Judged Simplified, quoting a few Traditional words.
constexpr std::string_view kMixed = "他在简体小说里引用了「幾個繁體字」和网络。";

struct ConversionCase {
    const char* name;
    std::string_view text;
    ChineseForm form;
    ChineseScript target;
    std::string_view expected;
};

const ConversionCase kConversions[] = {
    {"SimplifiedKept", kSimplified, ChineseForm::Simplified, ChineseScript::Keep, kSimplified},
    {"SimplifiedStaysSimplified", kSimplified, ChineseForm::Simplified, ChineseScript::Simplified,
     kSimplified},
    {"SimplifiedToTraditional", kSimplified, ChineseForm::Simplified, ChineseScript::Traditional,
     "軟件工程師說：“這裏沒有後來的頭髮。”"},
    {"SimplifiedToTaiwanTakesItsWords", kSimplified, ChineseForm::Simplified, ChineseScript::Taiwan,
     "軟體工程師說：“這裡沒有後來的頭髮。”"},
    {"SimplifiedToHongKongTakesItsForms", kSimplified, ChineseForm::Simplified,
     ChineseScript::HongKong, "軟件工程師説：“這裏沒有後來的頭髮。”"},
    {"TraditionalKept", kTraditional, ChineseForm::Traditional, ChineseScript::Keep, kTraditional},
    {"TraditionalToSimplified", kTraditional, ChineseForm::Traditional, ChineseScript::Simplified,
     "软体工程师说：「余光中姓余，为了台湾的里子。」"},
    {"TraditionalLeftAloneAsTraditional", kTraditional, ChineseForm::Traditional,
     ChineseScript::Traditional, kTraditional},
    {"TraditionalToTaiwanChangesOnlyForms", kTraditional, ChineseForm::Traditional,
     ChineseScript::Taiwan, "軟體工程師說：「余光中姓余，為了台灣的裡子。」"},
    {"TraditionalToHongKongChangesOnlyForms", kTraditional, ChineseForm::Traditional,
     ChineseScript::HongKong, "軟體工程師説：「余光中姓余，為了台灣的裏子。」"},
    {"MixedToSimplifiedLeavesNoTraditional", kMixed, ChineseForm::Simplified,
     ChineseScript::Simplified, "他在简体小说里引用了「几个繁体字」和网络。"},
    {"MixedToTraditionalKeepsItsQuote", kMixed, ChineseForm::Simplified, ChineseScript::Traditional,
     "他在簡體小說裏引用了「幾個繁體字」和網絡。"},
    {"MixedToTaiwan", kMixed, ChineseForm::Simplified, ChineseScript::Taiwan,
     "他在簡體小說裡引用了「幾個繁體字」和網路。"},
    {"OtherScriptsPassThrough", "Chapter 1\r\n\tWi-Fi — ½ ☃ 😀\n", ChineseForm::Simplified,
     ChineseScript::Taiwan, "Chapter 1\r\n\tWi-Fi — ½ ☃ 😀\n"},
    {"EmptyText", "", ChineseForm::Simplified, ChineseScript::Traditional, ""},
};

class ChineseConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ChineseConversion, GivesTheTargetScript) {
    const ConversionCase& c = GetParam();
    const ChineseScriptConverter converter(c.target, c.form);
    EXPECT_EQ(converter.Convert(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, ChineseConversion, ::testing::ValuesIn(kConversions),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ChineseScriptConverter, LoadsNothingWhereNothingChanges) {
    EXPECT_FALSE(ChineseScriptConverter(ChineseScript::Keep, ChineseForm::Simplified).Converts());
    EXPECT_FALSE(
        ChineseScriptConverter(ChineseScript::Traditional, ChineseForm::Traditional).Converts());
    EXPECT_TRUE(
        ChineseScriptConverter(ChineseScript::Simplified, ChineseForm::Simplified).Converts());
}

// OpenCC stops at a zero byte (dropping the rest), throws on a malformed sequence and reads
// past the end of a cut one: such bytes go through untouched and the text around them is
// still converted.
struct DamageCase {
    const char* name;
    std::string_view text;
    std::string_view expected;
};
const DamageCase kDamage[] = {
    {"ZeroByte", std::string_view("软件\0软件", 13), std::string_view("軟體\0軟體", 13)},
    {"StrayByte", "软件\xFF软件", "軟體\xFF軟體"},
    {"CutAtTheEnd", "软件\xE8\xBD", "軟體\xE8\xBD"},
    {"CutAtTheStart", "\xBD\xAF件", "\xBD\xAF件"},
    {"OverlongZero", "软件\xC0\x80", "軟體\xC0\x80"},
};

class DamagedText : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedText, PassesThroughAndTheRestIsConverted) {
    const ChineseScriptConverter converter(ChineseScript::Taiwan, ChineseForm::Simplified);
    EXPECT_EQ(converter.Convert(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, DamagedText, ::testing::ValuesIn(kDamage),
                         [](const auto& row) { return std::string(row.param.name); });

// A novel is fed to OpenCC in pieces: the result must be what OpenCC's own command makes of
// the whole, with pieces cut at line ends and, in a line longer than a piece, after a
// sentence.
// What does not load is named: the module when it is missing or not ours, else OpenCC's
// configuration, with the loader's or OpenCC's words.
TEST(ChineseScriptConverter, WhatDoesNotLoadIsNamed) {
    const std::string missingModule = "/nonexistent/folivane/chinese-script.so";
    const std::string missingConfiguration = "/nonexistent/opencc/s2t.json";
    const struct Row {
        std::string module; // empty: the one beside the program
        std::string named;
        std::string said;
    } rows[] = {
        {missingModule, missingModule, missingModule}, // in the loader's own words
        {"libm.so.6", "libm.so.6", "It lacks folivane_script_tables_functions"},
        {"", missingConfiguration, "s2t.json"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.named);
        try {
            if (row.module.empty())
                LoadScriptTables(missingConfiguration);
            else
                LoadScriptTables(missingConfiguration, row.module);
            ADD_FAILURE() << "loaded";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.Reason().kind, FailureKind::ChineseScriptNotLoaded);
            EXPECT_EQ(e.Reason().path, row.named);
            EXPECT_NE(e.Reason().detail.find(row.said), std::string::npos) << e.Reason().detail;
        }
    }
}

TEST(ChineseScriptConverter, NovelInPiecesMatchesOpenccCommand) {
    std::string novel;
    for (int chapter = 1; novel.size() < (700u << 10); ++chapter)
        novel += "第" + std::to_string(chapter) + "章 软件\n　　这里没有后来的头发，网络很慢。\n";
    for (int i = 0; i < 30'000; ++i) // a line of 540 KB
        novel += "鼠标和软件。";
    novel += "\n";
    const ScratchFolder scratch;
    test::WriteFile(scratch / "novel.txt", novel);
    const test::CommandResult opencc =
        test::RunCommand("opencc -c s2twp -i " + test::ShellQuote(scratch / "novel.txt") + " -o " +
                         test::ShellQuote(scratch / "expected.txt"));
    ASSERT_EQ(opencc.exitCode, 0) << opencc.output;

    const ChineseScriptConverter converter(ChineseScript::Taiwan, ChineseForm::Simplified);
    EXPECT_TRUE(
        test::SameBytes(converter.Convert(novel), test::ReadFile(scratch / "expected.txt")));
}

// Books convert in parallel, each with its own converter: OpenCC keeps no state that one
// thread's conversion could spoil for another.
TEST(ChineseScriptConverter, ConvertersInParallelThreadsAgree) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "鼠标和软件，这里没有后来的头发。\n";
    const std::string expected =
        ChineseScriptConverter(ChineseScript::Taiwan, ChineseForm::Simplified).Convert(text);
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (std::string& result : results)
        threads.emplace_back([&text, &result] {
            result = ChineseScriptConverter(ChineseScript::Taiwan, ChineseForm::Simplified)
                         .Convert(text);
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const std::string& result : results)
        EXPECT_TRUE(test::SameBytes(result, expected));
}

struct TagCase {
    const char* name;
    std::string_view tag;
    std::optional<ChineseForm> form;
    std::string_view simplified, traditional, taiwan, hongkong;
};
const TagCase kTags[] = {
    {"MainlandChina", "zh-CN", ChineseForm::Simplified, "zh-CN", "zh-TW", "zh-TW", "zh-HK"},
    {"BareChinese", "zh", ChineseForm::Simplified, "zh", "zh-TW", "zh-TW", "zh-HK"},
    {"Singapore", "zh-SG", ChineseForm::Simplified, "zh-SG", "zh-TW", "zh-TW", "zh-HK"},
    {"Taiwan", "zh-TW", ChineseForm::Traditional, "zh-CN", "zh-TW", "zh-TW", "zh-HK"},
    {"HongKongStaysTraditional", "zh-HK", ChineseForm::Traditional, "zh-CN", "zh-HK", "zh-TW",
     "zh-HK"},
    {"Macau", "zh-MO", ChineseForm::Traditional, "zh-CN", "zh-MO", "zh-TW", "zh-HK"},
    {"ScriptOutranksRegion", "zh-Hans-HK", ChineseForm::Simplified, "zh-Hans-HK", "zh-TW", "zh-TW",
     "zh-HK"},
    {"TraditionalScript", "zh-Hant", ChineseForm::Traditional, "zh-CN", "zh-Hant", "zh-TW",
     "zh-HK"},
    {"LocaleSpellingAndCase", "ZH_tw", ChineseForm::Traditional, "zh-CN", "zh-TW", "zh-TW",
     "zh-HK"},
    {"JapaneseNeverChinese", "ja", std::nullopt, "ja", "ja", "ja", "ja"},
    {"ChineseOnlyByPrefix", "zha", std::nullopt, "zha", "zha", "zha", "zha"},
    {"NotATag", "zh TW", std::nullopt, "zh TW", "zh TW", "zh TW", "zh TW"},
};

class ChineseTag : public ::testing::TestWithParam<TagCase> {};

TEST_P(ChineseTag, NamesItsFormAndFollowsTheTarget) {
    const TagCase& c = GetParam();
    EXPECT_EQ(ChineseFormOfTag(c.tag), c.form);
    EXPECT_EQ(ConvertedLanguageTag(c.tag, ChineseScript::Keep), c.tag);
    EXPECT_EQ(ConvertedLanguageTag(c.tag, ChineseScript::Simplified), c.simplified);
    EXPECT_EQ(ConvertedLanguageTag(c.tag, ChineseScript::Traditional), c.traditional);
    EXPECT_EQ(ConvertedLanguageTag(c.tag, ChineseScript::Taiwan), c.taiwan);
    EXPECT_EQ(ConvertedLanguageTag(c.tag, ChineseScript::HongKong), c.hongkong);
}

INSTANTIATE_TEST_SUITE_P(Tags, ChineseTag, ::testing::ValuesIn(kTags),
                         [](const auto& row) { return std::string(row.param.name); });

// The caller's path: a source's judged language decides whether and from what it converts.
TEST(ChineseScript, JudgedSourcesGiveTheirForm) {
    EXPECT_EQ(ChineseFormOfTag(DetectLanguage("这里说的是后来的事情，我们没有时间。", "C")),
              ChineseForm::Simplified);
    EXPECT_EQ(ChineseFormOfTag(DetectLanguage("這裡說的是後來的事情，我們沒有時間。", "C")),
              ChineseForm::Traditional);
    EXPECT_EQ(ChineseFormOfTag(DetectLanguage("吾輩は猫である。名前はまだ無い。", "C")),
              std::nullopt);
}

TEST(ChineseScript, OptionWordsReadBack) {
    for (const ChineseScript script :
         {ChineseScript::Keep, ChineseScript::Simplified, ChineseScript::Traditional,
          ChineseScript::Taiwan, ChineseScript::HongKong})
        EXPECT_EQ(ParseChineseScript(ChineseScriptName(script)), script);
    EXPECT_EQ(ParseChineseScript("HongKong"), ChineseScript::HongKong);
    EXPECT_EQ(ParseChineseScript("hong-kong"), std::nullopt);
    EXPECT_EQ(ParseChineseScript(""), std::nullopt);
}

} // namespace
} // namespace folivane::engine
