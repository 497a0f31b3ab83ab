// Reading sources: byte-order marks, UTF-16LE and UTF-8 decoding, legacy code pages.
#include "engine/text/SourceText.h"
#include "engine/text/CodePages.h"
#include "engine/text/ConversionError.h"
#include "platform/TextConversion.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace folivane::engine {

void PrintTo(const EncodingJudgement& judged, std::ostream* out) {
    *out << judged.encoding << " (basis " << static_cast<int>(judged.basis) << ")";
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kFFFD = "\xEF\xBF\xBD";

using test::SameBytes;
using test::ScopedEnv;
using test::ScratchFolder;

std::string WriteFile(const std::string& path, std::string_view bytes) {
    test::WriteFile(path, bytes);
    return path;
}

struct DecodeCase {
    const char* name;
    std::string file;
    SourceEncoding encoding;
    std::string text;
};

class DecodeFile : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFile, GivesTheExpectedText) {
    const DecodeCase& c = GetParam();
    const ScratchFolder folder;
    const std::string path = WriteFile(folder.Path() + "source.txt", c.file);
    EXPECT_EQ(ReadSourceBytes(path).encoding, c.encoding);
    EXPECT_EQ(ReadSourceText(path), c.text);
}

const DecodeCase kDecodeCases[] = {
    {"EmptyFile", "", seAnsi, ""},
    {"OneByte", "A", seAnsi, "A"},
    {"Utf8MarkAlone", "\xEF\xBB\xBF", seUtf8, ""},
    {"Utf8MarkIsNotText",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9",
     seUtf8, "caf\xC3\xA9"},
    // Only EF BB BF is a mark: U+FEFB (EF BB BB) is the text's first character.
    {"ArabicLigatureIsNotAMark",
     "\xEF\xBB\xBB"
     "caf\xC3\xA9",
     seAnsi,
     "\xEF\xBB\xBB"
     "caf\xC3\xA9"},
    {"CutMarkIsOneDamagedSequence",
     "\xEF\xBB\x00"
     "caf\xC3\xA9"s,
     seAnsi,
     kFFFD + "\x00"
             "caf\xC3\xA9"s},
    {"TruncatedAtEnd",
     "\xEF\xBB\xBF"
     "ab\xC3",
     seUtf8, "ab" + kFFFD},
    {"BadContinuationKeepsRest", "\xEF\xBB\xBF\xC3\x41", seUtf8, kFFFD + "A"},
    {"CutThreeByteSequenceIsOneReplacement", "\xEF\xBB\xBF\xE4\xB8\x41", seUtf8, kFFFD + "A"},
    {"OverlongAndSurrogateBytesEachReplaced", "\xEF\xBB\xBF\xC0\xAF\xED\xA0\x80\x42", seUtf8,
     kFFFD + kFFFD + kFFFD + kFFFD + kFFFD + "B"},
    {"BeyondU10FFFF", "\xEF\xBB\xBF\xF4\x90\x80\x80", seUtf8, kFFFD + kFFFD + kFFFD + kFFFD},
    {"FourByteSequenceWithMark", "\xEF\xBB\xBF\xF0\x9F\x98\x80!", seUtf8, "\xF0\x9F\x98\x80!"},
    {"FourByteSequenceWithoutMark", "x\xF0\x9F\x98\x80", seAnsi, "x\xF0\x9F\x98\x80"},
    {"UnmarkedUtf8KeepsZeroBytesAndLineEnds", "a\0b\r\n\xE4\xB8\xAD\r"s, seAnsi,
     "a\0b\r\n\xE4\xB8\xAD\r"s},
    {"Utf16ZeroUnitsAreDropped", "\xFF\xFE\x41\x00\x42\x00\x00\x00\x43\x00"s, seUtf16LE, "ABC"},
    {"Utf16OddLastByteIsAUnit", "\xFF\xFE\x41\x00\x42"s, seUtf16LE, "AB"},
    {"Utf16ThreeByteCharacter", "\xFF\xFE\x2D\x4E", seUtf16LE, "\xE4\xB8\xAD"},
    {"Utf16SurrogatePairIsOneCharacter", "\xFF\xFE\x3D\xD8\x00\xDE"s, seUtf16LE,
     "\xF0\x9F\x98\x80"},
    {"Utf16LoneSurrogatesReplaced", "\xFF\xFE\x00\xDE\x41\x00\x3D\xD8\x42\x00\x3D\xD8"s, seUtf16LE,
     kFFFD + "A" + kFFFD + "B" + kFFFD},
    {"Utf16BigEndian", "\xFE\xFF\x00\x41\x4E\x2D\xD8\x3D\xDE\x00"s, seUtf16BE,
     "A\xE4\xB8\xAD\xF0\x9F\x98\x80"},
    {"Utf16BigEndianCutLastUnit", "\xFE\xFF\x00\x41\x00"s, seUtf16BE, "A" + kFFFD},
    {"Utf32LittleEndian", "\xFF\xFE\x00\x00\x41\x00\x00\x00\x00\xF6\x01\x00"s, seUtf32LE,
     "A\xF0\x9F\x98\x80"},
    {"Utf32BigEndian", "\x00\x00\xFE\xFF\x00\x00\x4E\x2D\x00\x00\x00\x00\x00\x00\x00\x42"s,
     seUtf32BE,
     "\xE4\xB8\xAD"
     "B"},
    {"Utf32OutOfRangeAndCutCharacter", "\xFF\xFE\x00\x00\x00\x00\x11\x00\x00\xD8\x00\x00\x41"s,
     seUtf32LE, kFFFD + kFFFD + kFFFD},
};

INSTANTIATE_TEST_SUITE_P(SourceText, DecodeFile, testing::ValuesIn(kDecodeCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SourceText, MissingFileRaisesWithPathAndReason) {
    const std::string path = testing::TempDir() + "no_such_source.txt";
    try {
        ReadSourceBytes(path);
        FAIL() << "no error";
    } catch (const ConversionError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot open file \"" + path + "\""),
                  std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos);
    }
    EXPECT_THROW(ReadSourceText(testing::TempDir()), ConversionError); // a folder
}

// Paragraphs long enough for the detector to be sure; made into GBK and Big5 with iconv.
const std::string kSimplified = "第一章　天刚亮，我们就从城里出发，沿着河边一直走到中午。这是一个简"
                                "单的故事，写给喜欢读书的人。\r\n";
const std::string kTraditional = "第一章　天剛亮，我們就從城裡出發，沿著河邊一直走到中午。這是一個"
                                 "簡單的故事，寫給喜歡讀書的人。\r\n";

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

TEST(SourceText, DetectsTheCodePageOfTextWithoutMark) {
    const std::string simplified = Repeat(kSimplified, 20);
    const std::string traditional = Repeat(kTraditional, 20);
    ScopedEnv locale("LC_ALL", "en_US.UTF-8"); // the fallback would be CP1252
    EXPECT_TRUE(SameBytes(
        DecodeSource({seAnsi, platform::ConvertText(simplified, "UTF-8", "GBK", "?")}, ""),
        simplified));
    EXPECT_TRUE(SameBytes(
        DecodeSource({seAnsi, platform::ConvertText(traditional, "UTF-8", "BIG5", "?")}, ""),
        traditional));
    // The detector must see the legacy text, not only a long ASCII opening.
    const std::string late = std::string(3 << 20, 'a') + "\r\n" + simplified;
    EXPECT_TRUE(SameBytes(
        DecodeSource({seAnsi, platform::ConvertText(late, "UTF-8", "GBK", "?")}, ""), late));
    // UTF-8 with one cut sequence stays UTF-8 instead of turning into a legacy code page.
    EXPECT_TRUE(SameBytes(DecodeSource({seAnsi, simplified + "\xE4\xB8" + simplified}, ""),
                          simplified + kFFFD + simplified));
}

struct MostlyUtf8Case {
    const char* name;
    std::string bytes;
    std::string text; // empty: not taken as UTF-8
};

class MostlyUtf8 : public testing::TestWithParam<MostlyUtf8Case> {};

TEST_P(MostlyUtf8, IsUtf8WithReplacementsOrElseLegacy) {
    const MostlyUtf8Case& c = GetParam();
    const SourceBytes source{seAnsi, c.bytes};
    const bool utf8 = !c.text.empty();
    EXPECT_EQ(JudgeSourceEncoding(source, {}).encoding == "UTF-8", utf8);
    if (utf8) {
        EXPECT_TRUE(SameBytes(DecodeSource(source, ""), c.text));
    }
}

// 5,000 characters of which 4,000 are Chinese, with `bad` stray bytes spread through it.
std::string WithStrayBytes(int bad, const std::string& stray) {
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += i < bad ? stray : std::string();
        text += "\xE4\xB8\xAD\xE6\x96\x87\xE5\xB0\x8F\xE8\xAF\xB4 "; // 中文小说 and a space
    }
    return text;
}

const std::string kNovel = Repeat(kSimplified, 100); // 4,800 characters

const MostlyUtf8Case kMostlyUtf8Cases[] = {
    {"StrayLatin1ByteNearTheStart", "Caf\xE9 " + kNovel, "Caf" + kFFFD + " " + kNovel},
    // split -b cuts characters at both ends; those do not count against the text.
    {"CutOutOfALargerFile", "\xB8\xAD" + kSimplified + "\xE4", kFFFD + kFFFD + kSimplified + kFFFD},
    {"OverlongSlash", "\xC0\xAF" + kNovel, kFFFD + kFFFD + kNovel},
    {"CesuSurrogatePair", kNovel + "\xED\xA0\xBD\xED\xB8\x80",
     kNovel + kFFFD + kFFFD + kFFFD + kFFFD + kFFFD + kFFFD},
    {"FiveBadInFiveThousandCharacters", WithStrayBytes(5, "\xE9"), WithStrayBytes(5, kFFFD)},
    {"SixBadInFiveThousandCharacters", WithStrayBytes(6, "\xE9"), ""},
    {"Latin1WithoutMultiByteSequences",
     "Caf\xE9 cr\xE8me br\xFBl\xE9"
     "e",
     ""},
};

INSTANTIATE_TEST_SUITE_P(SourceText, MostlyUtf8, testing::ValuesIn(kMostlyUtf8Cases),
                         [](const auto& row) { return std::string(row.param.name); });

// Within the budget of damaged sequences, but with more of them than well-formed ones: the
// few well-formed ones are chance (Latin-1 "\xE2\x80\x94" reads as UTF-8's dash), and the text
// is legacy. Judged as nothing but detection and the locale say, with no code page named.
TEST(SourceText, MoreDamagedThanWellFormedSequencesIsLegacyText) {
    ScopedEnv locale("LC_ALL", "en_US.UTF-8"); // the fallback is CP1252
    const std::string filler(3000, 'a');       // a budget of three damaged sequences, or six
    struct Row {
        const char* name;
        std::string bytes;
        std::string words; // what the text must read as
    };
    const Row rows[] = {
        {"two against one", "Caf\xE9 cr\xE8me \xE2\x80\x94 " + filler, "Café crème "},
        {"five against two",
         "cr\xE8me br\xFBl\xE9"
         "e \xE2\x80\x94 d\xE9j\xE0 vu \xE2\x80\x94 " +
             filler + filler,
         "crème brûlée "},
        // One more well-formed than damaged: damaged UTF-8, as before.
        {"one against two", "Caf\xE9 \xE2\x80\x94\xE2\x80\x94 " + filler,
         "Caf\uFFFD \u2014\u2014 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = DecodeSource({seAnsi, row.bytes}, "");
        EXPECT_NE(text.find(row.words), std::string::npos) << text.substr(0, 40);
    }
}

TEST(SourceText, Big5IsReadAsHongKongBig5) {
    const std::string cantonese = "佢哋食咗飯未？我哋啲嘢喺度嘅。係咪㗎？\r\n";
    const std::string bytes =
        platform::ConvertText(Repeat(cantonese, 30), "UTF-8", "BIG5-HKSCS", "?");
    ASSERT_EQ(bytes.find('?'), std::string::npos);
    EXPECT_EQ(JudgeSourceEncoding({seAnsi, bytes}, {"BIG5", {}}).encoding, "BIG5-HKSCS");
    EXPECT_TRUE(SameBytes(DecodeSource({seAnsi, bytes}, "BIG5"), Repeat(cantonese, 30)));
}

// A legacy page as files are written in it: the text of the page (made with iconv) and then
// bytes that only the superset Windows or Hong Kong write has, which must come out as the
// writer meant them, detected or named by the page's own name.
struct SupersetCase {
    const char* name;
    std::string text;   // enough for the detector, in every page that follows
    const char* subset; // the page the detector or the user names
    std::string bytes;  // of the superset only
    std::string meant;  // what the bytes say
    const char* superset;
};

void PrintTo(const SupersetCase& row, std::ostream* out) {
    *out << row.name;
}

class SupersetPage : public testing::TestWithParam<SupersetCase> {};

TEST_P(SupersetPage, DecodesWhatTheWriterMeant) {
    const SupersetCase& row = GetParam();
    ScopedEnv locale("LC_ALL", "en_US.UTF-8");
    const std::string file = platform::ConvertText(row.text, "UTF-8", row.subset, "?") + row.bytes;
    for (const char* chosen : {"", row.subset}) {
        SCOPED_TRACE(*chosen ? "chosen" : "detected");
        EncodingJudgement judged;
        std::size_t undecodable = 99;
        const std::string text =
            DecodeSource(SourceBytes{seAnsi, file}, {chosen, {}}, &judged, &undecodable);
        EXPECT_EQ(judged.encoding, row.superset);
        EXPECT_EQ(undecodable, 0u);
        EXPECT_TRUE(SameBytes(text, row.text + row.meant));
    }
    // What the window's Encoding column and --list show before converting.
    const ScratchFolder folder;
    EXPECT_EQ(GuessSourceEncoding(WriteFile(folder.Path() + "source.txt", file)).encoding,
              row.superset);
}

const std::string kJapanese =
    Repeat("第一章　吾輩は猫である。名前はまだ無い。どこで生れたかとんと見"
           "当がつかぬ。\r\n",
           8);

const SupersetCase kSupersetCases[] = {
    {"ShiftJisWrittenOnWindows", kJapanese, "SHIFT_JIS",
     // NEC and IBM extensions: circled digits, ㈱, Roman numerals, 髙 and 﨑 (both rows of
     // each), and ASCII's backslash and tilde.
     "\x87\x40\x87\x41\x87\x42\x87\x8A\x87\x54\x87\x55\xEE\xE0\xED\x95\xFB\xFC\xFA\xB1"
     "C:\x5C~",
     "①②③㈱ⅠⅡ髙﨑髙﨑C:\\~", "CP932"},
    {"WaveDashFamilyAsWindowsWritesIt", kJapanese, "SHIFT_JIS",
     "\x81\x60\x81\x61\x81\x7C\x81\xCA\x81\x5F", "\uFF5E\u2225\uFF0D\uFFE2\uFF3C", "CP932"},
    {"EucKrAsUnifiedHangul",
     Repeat("한국어로 쓴 짧은 이야기입니다. 오늘은 날씨가 좋습니다.\r\n", 8), "EUC-KR", "\x8C\x63",
     "똠", "CP949"},
    {"GbkAsGb18030", Repeat(kSimplified, 4), "GBK", "\x95\x32\x82\x36", "\U00020000", "GB18030"},
    {"Big5AsHongKongBig5", Repeat(kTraditional, 4), "BIG5", "\x9D\xEF", "嘅", "BIG5-HKSCS"},
};

INSTANTIATE_TEST_SUITE_P(SourceText, SupersetPage, testing::ValuesIn(kSupersetCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SourceText, UndecodableBytesOfACodePageAreCounted) {
    // A0 and FD are no characters of CP932; 85 begins none that 40 ends.
    std::size_t undecodable = 0;
    const std::string text = DecodeSource(SourceBytes{seAnsi, "a\xA0"
                                                              "b\xFD"
                                                              "c\x85\x40"},
                                          {"CP932", {}}, nullptr, &undecodable);
    EXPECT_EQ(undecodable, 3u);
    EXPECT_TRUE(SameBytes(text, "a" + kFFFD + "b" + kFFFD + "c" + kFFFD + "@"));
}

TEST(SourceText, LongLegacyTextIsJudgedByItsStartAndDecodedWhole) {
    // Far more than the detector is shown, and an ASCII opening before it.
    const std::string text = std::string(5000, 'a') + "\r\n" + Repeat(kSimplified, 4000);
    ScopedEnv locale("LC_ALL", "en_US.UTF-8");
    EXPECT_TRUE(SameBytes(
        DecodeSource({seAnsi, platform::ConvertText(text, "UTF-8", "GBK", "?")}, ""), text));
}

TEST(SourceText, LargeLegacyTextDecodesAsInOnePiece) {
    // A large text is decoded by a table read from iconv, or by iconv in two parts cut after
    // a line feed near its middle; either must come out as from one call over the whole.
    const std::string half =
        platform::ConvertText(Repeat(kSimplified + "\n", 9000), "UTF-8", "GB18030", "?");
    ASSERT_GT(2 * half.size(), std::size_t{1} << 20);
    const struct Row {
        const char* name;
        std::string bytes;
        const char* encoding;
    } rows[] = {
        {"a lead byte alone before the line feed", half + "\x81\n" + half, "GB18030"},
        {"a lead byte alone after it", half + "\n\x81" + half, "GB18030"},
        {"no line feed after the middle", half + std::string(half.size() + 9, '\x81'), "GB18030"},
        {"the last line feed at the very end", half + std::string(half.size(), 'a') + "\n",
         "GB18030"},
        {"a code page cut by lines too", std::string(1u << 20, '\xE9') + "\n\x98z", "CP1251"},
        {"one that holds letters back", std::string(1u << 20, 'a') + "\nA\xEC", "CP1258"},
        {"one decoded in halves, ending in a refused pair",
         std::string(1u << 20, 'a') + "\n\xB0\xA1\xA2\xE8", "CP949"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::size_t undecodable = 0;
        std::size_t replaced = 0;
        EXPECT_TRUE(SameBytes(
            DecodeSource({seAnsi, row.bytes}, {row.encoding, {}}, nullptr, &undecodable),
            platform::ConvertText(row.bytes, row.encoding, "UTF-8", "\xEF\xBF\xBD", &replaced)));
        EXPECT_EQ(undecodable, replaced);
    }
}

TEST(SourceText, TheBooksCodePageIsObeyedEvenForBytesThatAreUtf8) {
    const std::string russian = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
    EXPECT_EQ(
        DecodeSource({seAnsi, platform::ConvertText(russian, "UTF-8", "CP1251", "?")}, "CP1251"),
        russian);
    EXPECT_EQ(DecodeSource({seAnsi, "\xD0\xBF"}, "CP1251"), "Рї");
    EXPECT_EQ(DecodeSource({seUtf8, "\xD0\xBF"}, "CP1251"), "п"); // a mark still decides
    // Bytes the code page does not define become U+FFFD; the rest stays.
    EXPECT_EQ(DecodeSource({seAnsi, "a\x98z"}, "CP1251"), "a" + kFFFD + "z");
    EXPECT_THROW(DecodeSource({seAnsi, "\xFF"}, "NO-SUCH-CODEPAGE"), ConversionError);
}

TEST(SourceText, EncodingChosenForASourceWinsOverDetectionButNotOverAMark) {
    const std::string russian = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
    const std::string cp1251 = platform::ConvertText(russian, "UTF-8", "CP1251", "?");
    struct Row {
        const char* name;
        SourceEncoding mark;
        std::string bytes;
        const char* forced;
        std::string text;
    };
    const std::vector<Row> rows = {
        {"legacy bytes as chosen", seAnsi, cp1251, "cp1251", russian},
        // Valid UTF-8 read as a code page because the user says so: each byte a letter.
        {"UTF-8 bytes as chosen", seAnsi, "\xC3\xA9", "CP1252", "\xC3\x83\xC2\xA9"},
        {"UTF-8 chosen for damaged text", seAnsi, "a\xFFz", "UTF-8", "a" + kFFFD + "z"},
        {"UTF-16LE chosen without a mark", seAnsi, "h\0i\0"s, "UTF-16LE", "hi"},
        {"a mark decides", seUtf16LE, "h\0i\0"s, "GB18030", "hi"},
        {"a UTF-8 mark decides", seUtf8, "caf\xC3\xA9", "CP1252", "caf\xC3\xA9"},
        {"Big5 is widened", seAnsi, "\xA4\xA4", "BIG5", "\xE4\xB8\xAD"}, // 中
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DecodeSource({row.mark, row.bytes}, "GB18030", row.forced), row.text);
    }
    EXPECT_EQ(JudgeSourceEncoding({seAnsi, "\xA4\xA4"}, {"big5", {}}).encoding, "BIG5-HKSCS");
    EXPECT_THROW(DecodeSource({seAnsi, "x"}, "", "NO-SUCH-CODEPAGE"), ConversionError);
}

TEST(SourceText, GuessJudgesFromTheFirstByteAboveAsciiAsTheDecodingDoes) {
    ScratchFolder scratch;
    ScopedEnv locale("LC_ALL", "en_US.UTF-8");
    const std::string gbk = platform::ConvertText(Repeat(kSimplified, 400), "UTF-8", "GBK", "?");
    using enum EncodingBasis;
    struct Row {
        const char* name;
        std::string bytes;
        EncodingJudgement judged;
    };
    const Row rows[] = {
        {"ASCII throughout", std::string(3u << 20, 'a'), {"UTF-8", Text}},
        // Over a MiB of ASCII before the legacy text: passed over, not taken for UTF-8.
        {"legacy after a long ASCII start",
         std::string((1u << 20) + 7, 'a') + gbk,
         {"GB18030", Text}},
        {"UTF-8 with a mark", "\xEF\xBB\xBFtext", {"UTF-8", Mark}},
        {"UTF-16LE mark", std::string("\xFF\xFEh\0", 4), {"UTF-16LE", Mark}},
        {"UTF-16BE without a mark",
         platform::ConvertText("a\nb\n中", "UTF-8", "UTF-16BE", "?"),
         {"UTF-16BE", Text}},
        // A MiB of ASCII is no reason to miss the zero bytes of UTF-16.
        {"UTF-16LE without a mark, long",
         platform::ConvertText(std::string(1u << 20, 'a'), "UTF-8", "UTF-16LE", "?"),
         {"UTF-16LE", Text}},
        {"short GBK, judged by the locale",
         platform::ConvertText("后记", "UTF-8", "GBK", "?"),
         {"GB18030", Guess}},
        {"empty", "", {"UTF-8", Text}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(scratch / "source.txt", row.bytes);
        EXPECT_EQ(GuessSourceEncoding(scratch / "source.txt"), row.judged);
        EXPECT_EQ(JudgeSourceEncoding(ReadSourceBytes(scratch / "source.txt"), {}), row.judged);
    }
    // The book's code page counts for a text too short to judge, not for one that tells.
    WriteFile(scratch / "source.txt", platform::ConvertText("後記", "UTF-8", "BIG5", "?"));
    const EncodingRule bigFive{"", [] { return std::string("BIG5"); }};
    EXPECT_EQ(GuessSourceEncoding(scratch / "source.txt", bigFive),
              (EncodingJudgement{"BIG5-HKSCS", Book}));
    WriteFile(scratch / "source.txt", gbk);
    EXPECT_EQ(GuessSourceEncoding(scratch / "source.txt", bigFive),
              (EncodingJudgement{"GB18030", Text}));
    EXPECT_THROW(GuessSourceEncoding(scratch / "missing.txt"), ConversionError);
}

struct LocaleCase {
    const char* name;
    const char* locale;
    const char* text;          // a short text in the locale's language
    const char* bytesEncoding; // as a program of that desktop would have saved it
};

class ShortLegacyText : public testing::TestWithParam<LocaleCase> {};

// Too short for its bytes to tell their code page, a text is read as the user's desktop
// would have written it.
TEST_P(ShortLegacyText, IsReadAsTheLocaleWritesItsLanguage) {
    const LocaleCase& c = GetParam();
    const ScopedEnv locale("LC_ALL", c.locale);
    const std::string bytes = platform::ConvertText(c.text, "UTF-8", c.bytesEncoding, "?");
    ASSERT_EQ(bytes.find('?'), std::string::npos);
    EXPECT_TRUE(SameBytes(DecodeSource({seAnsi, bytes}, ""), c.text));
}

const LocaleCase kLocaleCases[] = {
    {"ChinaSimplified", "zh_CN.UTF-8", "后记：谢谢。", "GBK"},
    {"TaiwanTraditional", "zh_TW.UTF-8", "後記：謝謝。", "BIG5"},
    {"HongKongTraditional", "zh_HK.UTF-8", "佢哋食咗飯。", "BIG5-HKSCS"},
    {"JapaneseOfAnotherCodeset", "ja_JP.eucJP", "あとがき。ありがとう。", "SHIFT_JIS"},
    {"Korean", "ko_KR.UTF-8", "후기. 감사합니다.", "CP949"},
    {"Russian", "ru_RU.UTF-8", "Послесловие. Спасибо.", "CP1251"},
    {"SerbianCyrillic", "sr_RS.UTF-8", "Поговор. Хвала.", "CP1251"},
    {"SerbianLatin", "sr_RS.UTF-8@latin", "Pogovor. Hvala, đače.", "CP1250"},
    {"Polish", "pl_PL.UTF-8", "Posłowie. Dziękuję.", "CP1250"},
    {"Greek", "el_GR.UTF-8", "Επίλογος. Ευχαριστώ.", "CP1253"},
    {"Turkish", "tr_TR.UTF-8", "Sonsöz. Teşekkürler.", "CP1254"},
    {"Hebrew", "he_IL.UTF-8", "אחרית דבר. תודה.", "CP1255"},
    {"EstonianWithoutCodeset", "et_EE", "Järelsõna. Aitäh.", "CP1257"},
    {"Persian", "fa_IR", "پسگفتار. سپاس.", "CP1256"},
    {"Vietnamese", "vi_VN", "Lời bạt. Cảm ơn.", "CP1258"},
    {"GermanWithAModifier", "de_DE.UTF-8@euro", "Nachwort. Grüße, 5 €.", "CP1252"},
    {"PosixLocale", "C.UTF-8", "Café, déjà vu.", "CP1252"},
    {"NoLocale", "", "Café, déjà vu.", "CP1252"},
};

INSTANTIATE_TEST_SUITE_P(SourceText, ShortLegacyText, testing::ValuesIn(kLocaleCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SourceText, LocaleComesFromLcAllThenLcCtypeThenLang) {
    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv ctype("LC_CTYPE", nullptr);
    ScopedEnv lang("LANG", "ru_RU.UTF-8");
    EXPECT_EQ(SystemAnsiCodePage(), "CP1251");
    {
        ScopedEnv ctypeSet("LC_CTYPE", "ja_JP.UTF-8");
        EXPECT_EQ(SystemAnsiCodePage(), "CP932");
        ScopedEnv allSet("LC_ALL", "el_GR.UTF-8");
        EXPECT_EQ(SystemAnsiCodePage(), "CP1253");
    }
    ScopedEnv noLang("LANG", nullptr);
    EXPECT_EQ(SystemAnsiCodePage(), "CP1252");
}

} // namespace
} // namespace folivane::engine
