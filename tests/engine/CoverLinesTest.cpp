// Line breaking on the title cover: where lines break, and the marks that never start or end
// a line.
#include "engine/cover/CoverLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace folivane::engine {
namespace {

// Every character one unit wide, so that `limit` counts characters.
std::vector<std::u32string> Lines(std::u32string_view text, double limit) {
    const std::vector<double> advances(text.size(), 1.0);
    std::vector<std::u32string> lines;
    for (const CoverLine& line : BreakCoverLines(text, advances, limit))
        lines.emplace_back(text.substr(line.begin, line.end - line.begin));
    return lines;
}

struct BreakCase {
    const char* name;
    std::u32string_view text;
    double limit;
    std::vector<std::u32string> expected;
};

const BreakCase kBreaks[] = {
    {"LatinAtSpaces", U"the quick brown fox", 10, {U"the quick", U"brown fox"}},
    {"SpaceAtTheEndTakesNoRoom", U"ab cd", 2, {U"ab", U"cd"}},
    {"RunsOfSpacesVanishAtBreaks", U"ab  cd", 3, {U"ab", U"cd"}},
    {"LongWordCutBetweenLetters", U"abcdefghijkl", 5, {U"abcde", U"fghij", U"kl"}},
    {"CjkBetweenCharacters", U"春眠不觉晓处处闻啼鸟", 4, {U"春眠不觉", U"晓处处闻", U"啼鸟"}},
    {"CommaStaysWithItsCharacter",
     U"春眠不觉晓，处处闻啼鸟。",
     5,
     {U"春眠不觉", U"晓，处处闻", U"啼鸟。"}},
    {"OpeningBracketGoesToTheNextLine", U"他说「你好」吗", 3, {U"他说", U"「你", U"好」吗"}},
    {"ClosingMarksInARowStayTogether", U"甲乙丙」。丁", 3, {U"甲乙", U"丙」。", U"丁"}},
    {"IdeographicSpaceBreaks", U"第一卷　天下", 3, {U"第一卷", U"天下"}},
    {"LatinWordInsideCjk", U"我的Python书", 4, {U"我的", U"Pyth", U"on书"}},
    {"CutWordKeepsClosingMark", U"abcd」efg", 4, {U"abc", U"d」", U"efg"}},
    {"FitsWhole", U"Dawn", 4, {U"Dawn"}},
    {"OnlySpaces", U"   ", 4, {}},
    {"Empty", U"", 4, {}},
};

class CoverLineBreaks : public ::testing::TestWithParam<BreakCase> {};

TEST_P(CoverLineBreaks, BreakWhereTypesettersDo) {
    EXPECT_EQ(Lines(GetParam().text, GetParam().limit), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, CoverLineBreaks, ::testing::ValuesIn(kBreaks),
                         [](const auto& row) { return std::string(row.param.name); });

// Marks of Chinese, Japanese and Western titles: whenever a line holds two characters or more,
// none of the closing ones starts a line and none of the opening ones ends one.
constexpr std::u32string_view kClosing = U"、。，．！？」』）】》〉”’…ー々,.!?;:)]";
constexpr std::u32string_view kOpening = U"「『（【《〈“‘([";

TEST(CoverLineBreaks, NoLineStartsClosedOrEndsOpen) {
    for (const char32_t mark : kClosing)
        for (double limit = 2; limit <= 4; ++limit)
            for (const std::u32string& line :
                 Lines(std::u32string(U"甲乙丙") + mark + U"丁戊", limit))
                EXPECT_NE(line.front(), mark)
                    << "limit " << limit << ", mark U+" << std::hex << static_cast<unsigned>(mark);
    for (const char32_t mark : kOpening)
        for (double limit = 2; limit <= 4; ++limit)
            for (const std::u32string& line :
                 Lines(std::u32string(U"甲乙") + mark + U"丙丁戊", limit))
                EXPECT_NE(line.back(), mark)
                    << "limit " << limit << ", mark U+" << std::hex << static_cast<unsigned>(mark);
}

TEST(CoverLineBreaks, NoLineIsLongerThanTheLimitWhenCharactersFit) {
    const std::u32string text = U"A tale of two cities, 双城记「上」。And more words here";
    for (double limit = 2; limit <= 12; ++limit)
        for (const std::u32string& line : Lines(text, limit))
            EXPECT_LE(static_cast<double>(line.size()), limit) << "limit " << limit;
}

} // namespace
} // namespace folivane::engine
