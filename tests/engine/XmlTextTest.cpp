// Escaping user text for XML: entities, forbidden characters, bytes that are not UTF-8.
#include "engine/epub/XmlText.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using namespace std::string_literals;

struct XmlCase {
    const char* name;
    std::string input;
    std::string text;      // EscapeXmlText
    std::string attribute; // EscapeXmlAttribute
};

class XmlEscape : public testing::TestWithParam<XmlCase> {};

TEST_P(XmlEscape, GivesWellFormedXml) {
    EXPECT_EQ(EscapeXmlText(GetParam().input), GetParam().text);
    EXPECT_EQ(EscapeXmlAttribute(GetParam().input), GetParam().attribute);
}

const XmlCase kXmlCases[] = {
    {"Empty", "", "", ""},
    {"PlainTextUnchanged", "Chapter 1: \xE4\xB8\xAD 'x'", "Chapter 1: \xE4\xB8\xAD 'x'",
     "Chapter 1: \xE4\xB8\xAD 'x'"},
    {"MarkupCharacters", "a & b <c> \"d\"", "a &amp; b &lt;c&gt; \"d\"",
     "a &amp; b &lt;c&gt; &quot;d&quot;"},
    {"EntityLookalikeIsEscapedAgain", "&amp;", "&amp;amp;", "&amp;amp;"},
    {"TabLineFeedCarriageReturnKept", "a\tb\nc\rd", "a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
    {"ControlCharactersDropped",
     "\x01"
     "a\0b\x1F\x08"
     "c"s,
     "abc", "abc"},
    {"DeleteAndC1ControlsKept", "\x7F\xC2\x85", "\x7F\xC2\x85", "\x7F\xC2\x85"},
    {"NonCharactersFFFEAndFFFFDropped",
     "a\xEF\xBF\xBE"
     "b\xEF\xBF\xBF"
     "c",
     "abc", "abc"},
    {"ReplacementAndLastCodePointKept", "\xEF\xBF\xBD\xF4\x8F\xBF\xBF",
     "\xEF\xBF\xBD\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD\xF4\x8F\xBF\xBF"},
    {"StrayContinuationDropped",
     "a\x80"
     "b",
     "ab", "ab"},
    {"TruncatedSequenceDropped", "a\xE4\xB8<", "a&lt;", "a&lt;"},
    {"TruncatedAtEndDropped", "a\xF0\x9F\x98", "a", "a"},
    {"OverlongAndSurrogateDropped", "\xC0\xBC\xED\xA0\x80x", "x", "x"},
    {"LatinOneByteDropped", "caf\xE9!", "caf!", "caf!"},
    // Three-byte characters at the edges of each lead's range.
    {"ThreeByteCharactersOfEveryLeadKept",
     "\xE0\xA0\x80\xE1\x80\x80\xEC\xBF\xBF\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD",
     "\xE0\xA0\x80\xE1\x80\x80\xEC\xBF\xBF\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD",
     "\xE0\xA0\x80\xE1\x80\x80\xEC\xBF\xBF\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD"},
    {"OverlongThreeByteDropped", "\xE0\x9F\xBFx", "x", "x"},
    {"CharacterCutShortBeforeTheEndDropped", "\xE4\xB8\xAD\xE4\xB8", "\xE4\xB8\xAD",
     "\xE4\xB8\xAD"},
    {"LeadFollowedByOneContinuationDropped", "\xE4\xB8\xE4\xB8\xAD", "\xE4\xB8\xAD",
     "\xE4\xB8\xAD"},
};

INSTANTIATE_TEST_SUITE_P(XmlText, XmlEscape, testing::ValuesIn(kXmlCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(XmlText, AppendKeepsWhatTheOutputHolds) {
    std::string out = "<p>";
    AppendEscapedXmlText(out, "1 < 2");
    out += "</p>";
    EXPECT_EQ(out, "<p>1 &lt; 2</p>");
}

} // namespace
} // namespace folivane::engine
