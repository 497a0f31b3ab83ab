// The whole-text search finds what string_view::find finds, wherever it falls against the
// sixteen bytes it compares at a time.
#include "engine/text/TextSearch.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace folivane::engine {
namespace {

struct SearchCase {
    const char* name;
    std::string text;
    std::string part;
    std::size_t from;
};

const std::string kNovel =
    "　　将军沉吟半晌，说道：「此事不可。」夫人起身相迎。\n"; // 3-byte characters

const SearchCase kSearchCases[] = {
    {"AtTheStart", "［＃改ページ］" + kNovel, "［＃", 0},
    {"AtTheVeryEnd", kNovel + kNovel + "《", "《", 0},
    {"AcrossABlockEnd", std::string(14, 'a') + "［＃", "［＃", 0},
    {"LastByteInTheNextBlock", std::string(15, 'a') + "ab", "ab", 0},
    {"FirstAndLastBytesWithoutTheMiddle", kNovel + "\xEF\xBC\xBB\xE3\xBC\x83" + kNovel, "［＃", 0},
    {"NotThere", kNovel + kNovel + kNovel, "［＃", 0},
    {"FromPastAnEarlierOne", "《" + kNovel + kNovel + "《", "《", 3},
    {"FromTheEnd", kNovel, "《", kNovel.size()},
    {"ShorterThanThePart", "［", "［＃", 0},
    {"OneByte", kNovel + "<", "<", 0},
    {"Empty", kNovel, "", 5},
};

void PrintTo(const SearchCase& row, std::ostream* out) {
    *out << row.name;
}

class TextSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(TextSearch, FindsWhatFindFinds) {
    const SearchCase& row = GetParam();
    const std::string_view text = row.text;
    EXPECT_EQ(FindIn(text, row.part, row.from), text.find(row.part, row.from));
}

INSTANTIATE_TEST_SUITE_P(TextSearch, TextSearch, testing::ValuesIn(kSearchCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Texts of a few bytes, where the first and last bytes of the part come often and the part
// now and then, at every offset from every start.
TEST(TextSearch, AgreesWithFindOnNoise) {
    std::mt19937 random(7);
    const std::string parts[] = {"\xE3\x80\x8A", "\xEF\xBC\xBB\xEF\xBC\x83", "ab", "aXb"};
    for (int round = 0; round < 300; ++round) {
        std::string text(random() % 80, '\0');
        for (char& c : text)
            c = "ab\xE3\x80\x8A\xEF\xBC\xBB\x83X"[random() % 10];
        const std::string_view view = text;
        for (const std::string& part : parts)
            for (std::size_t from = 0; from <= text.size(); ++from)
                ASSERT_EQ(FindIn(view, part, from), view.find(part, from))
                    << "round " << round << " from " << from;
    }
}

} // namespace
} // namespace folivane::engine
