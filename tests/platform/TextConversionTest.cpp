// Legacy text through iconv: undecodable bytes replaced, never read past; and decoding by a
// table read from iconv gives exactly iconv's text, replacements and all.
#include "platform/TextConversion.h"
#include "platform/CodePageTable.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace folivane::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

struct TableCase {
    const char* encoding;
    std::string bytes; // characters of each length, bytes that do not decode, an end cut short
};

const TableCase kTexts[] = {
    // Two-byte characters, a four-byte one (U+00E9 is 81 30 87 37), 80 and FF, a lead byte
    // before ASCII and before a digit that starts no character, one cut short at the end.
    {"GB18030", "A\xC4\xE3\xBA\xC3\r\n\x81\x30\x87\x37|\x80|\xFF|\x81"
                "a|\x81\x30x|\xD6"},
    {"GBK", "\xC4\xE3\x80\xA1\x40\xFE\xFE\xC4"},
    {"BIG5", "\xA4\xA4\xA4\xE5 \x80 \xA1\x30 \xC6\xA1\xF9\xFE\xA4"},
    // Half-width katakana are one byte; 5C and 7E are whatever iconv makes of them.
    {"SHIFT_JIS", "\x82\xA0\xB1\\~\x81\x7F\x81\x40\xA0\xFD\x82"},
    {"CP932", "\x87\x40\xED\x40\xFA\x40\x82\xA0\x80\xA0\xFD\x82"},
    // Three-byte characters of JIS X 0212 are left to iconv.
    {"EUC-JP", "\xA4\xA2\x8E\xB1\x8F\xB0\xA1\x8F\xA1\xA1x\x8F\xB0"},
    {"EUC-KR", "\xC7\xD1\xB1\xDB\xA1\x41\x80\xFF\xC7"},
    {"CP1252", "caf\xE9 \x80 \x81\x8D\x9D \xFF"},
    {"CP1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \x98"},
    {"CP874", "\xA1\xD4\xDB\xFC\xFF"},
};

// Bytes of every value in every order, seeded: leads before anything, characters cut at the
// decoder's blocks, several blocks long.
std::string NoiseOf(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

void ExpectSameAsIconv(const CodePageTable& table, const char* encoding, std::string_view bytes) {
    std::size_t expectedReplaced = 0;
    const std::string expected =
        ConvertText(bytes, encoding, "UTF-8", kReplacement, &expectedReplaced);
    std::string text = "kept|";
    std::size_t replaced = 99;
    table.Decode(bytes, kReplacement, text, &replaced);
    EXPECT_EQ(text, "kept|" + expected) << encoding;
    EXPECT_EQ(replaced, expectedReplaced) << encoding;
}

class TableTexts : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableTexts, DecodeAsIconvDoes) {
    const std::optional<CodePageTable> table = CodePageTable::Read(GetParam().encoding);
    ASSERT_TRUE(table) << GetParam().encoding;
    ExpectSameAsIconv(*table, GetParam().encoding, GetParam().bytes);
    ExpectSameAsIconv(*table, GetParam().encoding, NoiseOf(200'000, 7));
    ExpectSameAsIconv(*table, GetParam().encoding, "");
}

INSTANTIATE_TEST_SUITE_P(CodePages, TableTexts, ::testing::ValuesIn(kTexts),
                         [](const ::testing::TestParamInfo<TableCase>& param) {
                             std::string name = param.param.encoding;
                             std::erase(name, '-');
                             std::erase(name, '_');
                             return name;
                         });

// Code pages that compose a letter with the accent after it, or give two characters for one
// code: a table either is not made or still decodes as iconv does.
TEST(CodePageTable, ComposingPagesHaveNoTableOrDecodeAsIconv) {
    for (const char* encoding : {"CP1255", "CP1258", "BIG5-HKSCS"}) {
        const std::string bytes = NoiseOf(50'000, 11) + "\x88\x62\x88\x64" + "A\xEC\xCC";
        if (const std::optional<CodePageTable> table = CodePageTable::Read(encoding))
            ExpectSameAsIconv(*table, encoding, bytes);
    }
}

// glibc's CP949 takes a refused pair before it reports it; at the end of the text the
// replacement loop once passed over a byte that was not there and read on past the input.
TEST(ConvertText, PairRefusedAtTheEndIsReplacedAndNothingIsReadBeyond) {
    const std::string storage = "\xB0\xA1\xA2\xE8" + std::string("must not be read");
    std::size_t replaced = 0;
    const std::string text =
        ConvertText(std::string_view(storage).substr(0, 4), "CP949", "UTF-8", "?", &replaced);
    EXPECT_EQ(text, "\xEA\xB0\x80?");
    EXPECT_EQ(replaced, 1u);
}

TEST(CodePageTable, UnknownCodePageHasNone) {
    EXPECT_FALSE(CodePageTable::Read("NO-SUCH-CODE-PAGE"));
}

} // namespace
} // namespace folivane::platform
