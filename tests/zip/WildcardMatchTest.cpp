// The wildcard matcher: stars, question marks, sets, star sets and letter case.
#include "ZipTestSupport.h"

#include "zip/WildcardMatch.h"

#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

struct MatchRow {
    const char* name;
    const char* mask;
    const char* subject;
    bool matches;
};

void PrintTo(const MatchRow& row, std::ostream* out) {
    *out << row.name;
}

class WildcardMatchTable : public ::testing::TestWithParam<MatchRow> {};

TEST_P(WildcardMatchTable, DecidesWhetherTheNameFitsTheMask) {
    const MatchRow& row = GetParam();
    EXPECT_EQ(WildcardMatch(row.mask, row.subject), row.matches)
        << "mask \"" << row.mask << "\", name \"" << row.subject << "\"";
}

const MatchRow kPlainMasks[] = {
    {"star_fits_everything", "*", "anything.at.all", true},
    {"star_fits_the_empty_name", "*", "", true},
    {"star_dot_star_fits_a_dotted_name", "*.*", "content.opf", true},
    {"star_dot_star_needs_the_dot", "*.*", "mimetype", false},
    {"extension_mask_ignores_letter_case", "*.txt", "CHAPTER1.TXT", true},
    {"extension_mask_wants_its_extension", "*.txt", "chapter1.html", false},
    {"only_ascii_letters_fold", "\xC3\x89*", "\xC3\xA9t\xC3\xA9", false},
    {"literal_mask_is_exact", "mimetype", "mimetype", true},
    {"literal_mask_is_not_a_prefix", "mime", "mimetype", false},
    {"name_longer_than_literal", "mimetypes", "mimetype", false},
    {"question_takes_one_character", "?.html", "0.html", true},
    {"question_never_matches_nothing", "a?", "a", false},
    {"question_alone_needs_a_character", "?", "", false},
    {"star_question_needs_two_characters", "*?", "a", false},
    {"star_question_fits_two", "*?", "ab", true},
    {"star_question_fits_many", "*?", "abcdef", true},
    {"trailing_star_fits_nothing_more", "abc*", "abc", true},
    {"doubled_star_wants_a_character", "**", "", false},
    {"stars_between_letters", "*a*b*c*", "xaxbxcx", true},
    {"stars_between_letters_in_wrong_order", "*a*b*c*", "xcxbxax", false},
    {"star_backtracks_to_the_last_dot", "*.tar.gz", "a.tar.b.tar.gz", true},
    {"path_mask_matches_folders_too", "oebps/*.html", "OEBPS/0.html", true},
};

const MatchRow kSets[] = {
    {"set_accepts_a_range", "<a-c>x", "bx", true},
    {"set_refuses_outside_its_range", "<a-c>x", "dx", false},
    {"set_of_single_characters", "<xyz>", "y", true},
    {"bang_negates_a_set", "<!a-c>", "b", false},
    {"bang_negated_set_accepts_the_rest", "<!a-c>", "d", true},
    {"caret_negates_a_set", "<^0-9>", "7", false},
    {"reversed_range_accepts_nothing", "<c-a>", "b", false},
    {"set_folds_letter_case", "<A-C>", "b", true},
    {"set_compares_bytes_unsigned", "<\x80-\xFF>", "\xE9", true},
    {"unclosed_set_matches_nothing", "<abc", "a", false},
    {"empty_set_matches_nothing", "<>x", ">x", false},
    {"negation_alone_matches_nothing", "<!>", "a", false},
    {"range_ending_at_the_close_is_malformed", "<a->", "a", false},
    {"set_needs_a_character", "a<b>", "a", false},
};

// A star set restricts every character its star passes over; a star step that finds no
// way on is no match.
const MatchRow kStarSets[] = {
    {"star_set_at_end_fits_its_letters", "*<a-c>", "abcab", true},
    {"star_set_at_end_refuses_others", "*<a-c>", "abd", false},
    {"star_set_at_end_needs_a_character", "*<a-c>", "", false},
    {"star_set_then_letter", "*<b>a", "bba", true},
    {"star_set_may_pass_over_nothing", "*<b>a", "a", true},
    {"star_set_restricts_what_it_passes", "*<b>a", "bca", false},
    {"star_set_without_way_on_is_no_match", "*<b>a", "b", false},
    {"star_set_without_way_on_longer", "*<b>a", "bb", false},
    {"negated_star_set", "*<!0-9>.txt", "notes.txt", true},
    {"negated_star_set_refuses_its_bytes", "*<!0-9>.txt", "note5.txt", false},
    {"empty_star_set_matches_nothing", "*<>", "a", false},
    {"unclosed_star_set_matches_nothing", "*<ab", "a", false},
    {"star_set_before_a_plain_set", "*<a>b<c-d>", "aabd", true},
};

INSTANTIATE_TEST_SUITE_P(PlainMasks, WildcardMatchTable, ::testing::ValuesIn(kPlainMasks),
                         RowName());
INSTANTIATE_TEST_SUITE_P(Sets, WildcardMatchTable, ::testing::ValuesIn(kSets), RowName());
INSTANTIATE_TEST_SUITE_P(StarSets, WildcardMatchTable, ::testing::ValuesIn(kStarSets), RowName());

TEST(WildcardMatch, FinishesQuicklyWithManyStarsAgainstALongName) {
    // Each star retried at every position would take longer than the universe's age here.
    const std::string name(2000, 'a');

    EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b", name));
    EXPECT_FALSE(WildcardMatch("*<a>*<a>*<a>*<a>*<a>*<a>*<a>*<a>b", name));
    EXPECT_TRUE(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a", name));
}

TEST(WildcardMatch, TellsMasksFromFileNames) {
    for (const char* mask : {"*.txt", "a?", "<a-c>", "x>", "|*.txt"})
        EXPECT_TRUE(HasWildcard(mask)) << mask;
    for (const char* name : {"mimetype", "OEBPS/css/main.css", "", "a-b [1].txt"})
        EXPECT_FALSE(HasWildcard(name)) << name;
}

} // namespace
} // namespace folivane::zip::test
