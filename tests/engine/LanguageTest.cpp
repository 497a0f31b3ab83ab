// A book's language: guessed from the script of its text, or given as a BCP 47 tag.
#include "engine/text/Language.h"
#include "engine/text/FailureText.h"
#include "engine/text/LanguageTag.h"
#include "engine/text/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

struct DetectCase {
    const char* name;
    std::string sample;
    std::string locale;
    std::string language;
};

class DetectLanguageOf : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectLanguageOf, JudgesByScript) {
    EXPECT_EQ(DetectLanguage(GetParam().sample, GetParam().locale), GetParam().language);
}

const DetectCase kDetectCases[] = {
    {"English", "The quick brown fox jumps over the lazy dog.", "C", "en"},
    {"LatinTextTakesTheLocalesLanguage", "Der schnelle braune Fuchs.", "de_DE.UTF-8", "de"},
    {"SerbianInLatinLetters", "Dobar dan.", "sr_RS@latin", "sr-Latn"},
    {"LatinTextUnderAChineseLocaleIsEnglish", "Hello there.", "zh_CN.UTF-8", "en"},
    {"PosixLocale", "Hello there.", "POSIX", "en"},
    {"NoLocale", "Hello there.", "", "en"},
    {"NoLettersAtAll", "1234 5678 !?", "fr_FR", "fr"},
    {"EnglishWithAFewChineseWords",
     "The word 功夫 means skill gained through hard work, and 你好 means hello.", "C", "en"},
    {"Japanese", "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。", "C", "ja"},
    {"JapaneseUnderALatinLocale", "今日はいい天気ですね。", "en_US.UTF-8", "ja"},
    {"ChineseQuotingOneJapaneseName",
     "他在东京的一家书店里看到了《君の名》这本书，然后他们一起说了很多话，这是一个很长的故事。",
     "C", "zh-CN"},
    {"SimplifiedChinese", "他们说这个时候国家会来对话。", "C", "zh-CN"},
    {"TraditionalChinese", "他們說這個時候國家會來對話。", "C", "zh-TW"},
    {"TraditionalWithAFewSimplifiedForms", "他們說這個時候國家會來對話，后来", "C", "zh-TW"},
    {"OnlySharedCharactersAreSimplified", "我的天", "C", "zh-CN"},
    // Traditional forms must be more than twice as many as Simplified ones.
    {"TwoTraditionalToOneSimplifiedIsSimplified", "我們這人们", "C", "zh-CN"},
    {"ThreeTraditionalToOneSimplifiedIsTraditional", "我們這說人们", "C", "zh-TW"},
    {"FourTraditionalToTwoSimplifiedIsSimplified", "們這說國人们这", "C", "zh-CN"},
    {"FiveTraditionalToTwoSimplifiedIsTraditional", "們這說國會人们这", "C", "zh-TW"},
    {"OneSimplifiedAloneIsSimplified", "人们", "C", "zh-CN"},
    {"OneTraditionalAloneIsTraditional", "人們", "C", "zh-TW"},
    {"ChineseWithEnglishWords", "我们今天学习了Python和JavaScript编程语言", "C", "zh-CN"},
    {"KoreanWithHan", "大韓民國은 民主共和國이다. 우리는 한국어를 사용합니다.", "C", "ko"},
    {"Russian", "Мой дядя самых честных правил.", "de_DE", "ru"},
    {"Greek", "Η γλώσσα μου έδωσαν ελληνική.", "C", "el"},
    {"Arabic", "مرحبا بالعالم", "C", "ar"},
    {"Hebrew", "שלום עולם", "C", "he"},
    {"Thai", "สวัสดีครับ", "C", "th"},
    // Other scripts: the script's language, or the locale's where it writes in that script.
    {"Hindi", "यह एक छोटी कहानी है।", "C", "hi"},
    {"MarathiUnderAMarathiLocale", "ही एक छोटी गोष्ट आहे.", "mr_IN.UTF-8", "mr"},
    {"Bengali", "এটি একটি ছোট গল্প।", "en_US.UTF-8", "bn"},
    {"Tamil", "இது ஒரு சிறிய கதை.", "C", "ta"},
    {"Telugu", "ఇది ఒక చిన్న కథ.", "C", "te"},
    {"Sinhala", "මෙය කෙටි කතාවකි.", "C", "si"},
    {"Georgian", "ეს არის მოკლე ამბავი.", "C", "ka"},
    {"Armenian", "Սա կարճ պատմություն է։", "C", "hy"},
    {"Amharic", "ይህ አጭር ታሪክ ነው።", "C", "am"},
    {"Khmer", "នេះគឺជារឿងខ្លីមួយ។", "C", "km"},
    {"Lao", "ນີ້ແມ່ນເລື່ອງສັ້ນ.", "C", "lo"},
    {"Burmese", "ဒါဟာ ပုံပြင်တိုလေး ဖြစ်ပါတယ်။", "C", "my"},
    {"UkrainianUnderAUkrainianLocale", "Це коротка історія.", "uk_UA.UTF-8", "uk"},
    {"PersianUnderAPersianLocale", "این یک داستان کوتاه است.", "fa_IR.UTF-8", "fa"},
    {"SyllabicsWithoutAKnownLanguage", "ᐊᒃᓱᕈᓗᐊᖅᑐᖅ ᐃᓄᒃᑎᑐᑦ", "C", "und-Cans"},
    {"SerbianCyrillicUnderALatinSerbianLocale", "Ово је кратка прича.", "sr_RS@latin", "sr"},
};

INSTANTIATE_TEST_SUITE_P(Language, DetectLanguageOf, testing::ValuesIn(kDetectCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Language, OnlyTheStartOfALongSampleCounts) {
    // Read whole, the Han characters would outweigh the letters before them.
    std::string sample(260 << 10, 'a');
    for (int i = 0; i < 200000; ++i)
        sample += "中";
    EXPECT_EQ(DetectLanguage(sample, "C"), "en");
    EXPECT_EQ(DetectLanguage(std::string_view(sample).substr(200 << 10), "C"), "zh-CN");
}

TEST(Language, LocaleOfProcessPrefersLcAllThenLcMessagesThenLang) {
    const test::ScopedEnv all("LC_ALL", "");
    const test::ScopedEnv messages("LC_MESSAGES", "fr_FR.UTF-8");
    const test::ScopedEnv lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(LocaleOfProcess(), "fr_FR.UTF-8");
    {
        const test::ScopedEnv allSet("LC_ALL", "ja_JP.UTF-8");
        EXPECT_EQ(LocaleOfProcess(), "ja_JP.UTF-8");
    }
    const test::ScopedEnv noMessages("LC_MESSAGES", nullptr);
    EXPECT_EQ(LocaleOfProcess(), "de_DE.UTF-8");
    const test::ScopedEnv noLang("LANG", nullptr);
    EXPECT_EQ(LocaleOfProcess(), "");
}

struct TagCase {
    const char* name;
    std::string tag;
    std::optional<std::string> normalized;
};

class LanguageTagIn : public testing::TestWithParam<TagCase> {};

TEST_P(LanguageTagIn, IsCheckedAndCased) {
    EXPECT_EQ(NormalizeLanguageTag(GetParam().tag), GetParam().normalized);
}

const TagCase kTagCases[] = {
    {"Language", "en", "en"},
    {"UpperCaseLanguage", "EN", "en"},
    {"Region", "zh-cn", "zh-CN"},
    {"ScriptAndRegion", "ZH-HANT-tw", "zh-Hant-TW"},
    {"NumericRegion", "es-419", "es-419"},
    {"ExtendedLanguage", "zh-YUE", "zh-yue"},
    {"RegularGrandfathered", "zh-min-nan", "zh-min-nan"},
    {"Variants", "sl-Rozaj-BISKE", "sl-rozaj-biske"},
    {"VariantStartingWithDigit", "de-ch-1901", "de-CH-1901"},
    {"Extension", "en-us-u-CA-gregory", "en-US-u-ca-gregory"},
    {"PrivateUseAfterTag", "en-us-x-US", "en-US-x-us"},
    {"PrivateUseOnly", "X-Whatever", "x-whatever"},
    {"IrregularGrandfathered", "I-KLINGON", "i-klingon"},
    {"IrregularWithRegion", "en-gb-OED", "en-GB-oed"},
    {"EightLetterLanguage", "abcdefgh", "abcdefgh"},
    {"Empty", "", std::nullopt},
    {"LocaleStyleUnderscore", "zh_CN", "zh-CN"},
    {"LocaleStyleLowerCase", "zh_tw", "zh-TW"},
    {"LocaleWithCodeSet", "en_US.UTF-8", std::nullopt},
    {"Space", "en US", std::nullopt},
    {"OneLetterLanguage", "e", std::nullopt},
    {"DigitsAsLanguage", "123", std::nullopt},
    {"TrailingDash", "en-", std::nullopt},
    {"LeadingDash", "-en", std::nullopt},
    {"EmptySubtag", "en--US", std::nullopt},
    {"SubtagOfNineCharacters", "en-abcdefghi", std::nullopt},
    {"TwoRegions", "zh-CN-TW", std::nullopt},
    {"ExtensionWithoutSubtags", "en-a", std::nullopt},
    {"ExtensionWithOneLetterSubtag", "en-a-b", std::nullopt},
    {"SingletonTwice", "en-a-bb-a-cc", std::nullopt},
    {"VariantTwice", "de-1996-1996", std::nullopt},
    {"PrivateUseWithoutSubtags", "en-x", std::nullopt},
    {"UnknownIrregularLookalike", "i-unknown", std::nullopt},
    {"NotAscii", "中文", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Language, LanguageTagIn, testing::ValuesIn(kTagCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Language, ProblemWithARefusedTagQuotesItAsTheUserTypedIt) {
    for (const TagCase& row : kTagCases) {
        if (row.normalized) continue;
        SCOPED_TRACE(row.name);
        const Failure problem = LanguageTagProblem(row.tag);
        EXPECT_EQ(problem.kind, FailureKind::LanguageTagInvalid);
        EXPECT_EQ(problem.value, row.tag);
        EXPECT_TRUE(FailureText(problem).starts_with("\"" + row.tag + "\" "))
            << FailureText(problem);
    }
}

} // namespace
} // namespace folivane::engine
