// The run of one kind of character that a reading written without ｜ falls on.
#include "engine/chapters/RubyBase.h"

#include <gtest/gtest.h>

#include <string>

namespace folivane::engine {
namespace {

struct BaseCase {
    const char* text;
    const char* base; // the bytes at its end that carry the reading
};

TEST(RubyBase, IsTheRunOfTheLastCharactersKind) {
    const BaseCase cases[] = {
        {"彼は東京", "東京"},     {"人々", "人々"}, // the iteration mark belongs to the kanji
        {"三ヶ月", "三ヶ月"},                       // a small ke counts as kanji
        {"コーヒー", "コーヒー"},                   // the long vowel mark as katakana
        {"漢字カナ", "カナ"},     {"日本ＡＢＣ１２", "ＡＢＣ１２"},
        {"言う。", ""},           {"", ""},
    };
    for (const BaseCase& row : cases) {
        BaseKind kind = BaseKind::None;
        const std::string text = row.text;
        EXPECT_EQ(text.substr(text.size() - TrailingOfKind(text, kind)), row.base) << row.text;
    }
}

TEST(RubyBase, ReadingsAreKanaAlone) {
    EXPECT_TRUE(IsKanaReading("とうきょう"));
    EXPECT_TRUE(IsKanaReading("トウキョウ"));
    EXPECT_FALSE(IsKanaReading(""));
    EXPECT_FALSE(IsKanaReading("東京"));
    EXPECT_FALSE(IsKanaReading("tokyo"));
}

} // namespace
} // namespace folivane::engine
