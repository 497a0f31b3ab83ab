// The chapter list: the size limit, cutting large sources between lines, piece files.
#include "engine/chapters/ChapterList.h"
#include "engine/job/WorkingTree.h"
#include "engine/text/ConversionError.h"
#include "engine/text/FailureText.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/SourceText.h"
#include "platform/TextConversion.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kMark = "\xEF\xBB\xBF";

using test::ReadFile;

std::string Lines(int count, const std::string& line, const std::string& end = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line + end;
    return text;
}

class ChapterListTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "chapter_list_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern + "/";
        tree_ = PrepareWorkingTree(root_);
        ASSERT_TRUE(tree_.Valid()) << tree_.Error();
    }
    void TearDown() override {
        tree_.Remove();
        fs::remove_all(root_);
    }

    std::string Pieces() const { return tree_.PieceFolder(); }

    // One chapter per file, with no text held, so that the pieces are written.
    TChapterList Build(const std::vector<std::string>& sources,
                       const std::string& legacyEncoding = "") {
        ChapterListOptions options;
        options.mode = ChapterMode::Files;
        options.legacyEncoding = legacyEncoding;
        options.heldTextBudget = 0;
        return BuildChapterList(sources, &tree_, options);
    }

    std::string Source(const std::string& relative, const std::string& bytes) const {
        const fs::path path = root_ + relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // The text of the given chapters' files joined, each checked to be a UTF-8 piece with
    // its mark that reads back as itself.
    std::string PieceText(const TChapterList& chapters) const {
        std::string text;
        for (const FileList& chapter : chapters) {
            EXPECT_EQ(chapter.Path.rfind(Pieces(), 0), 0u) << chapter.Path;
            const std::string bytes = ReadFile(chapter.Path);
            EXPECT_EQ(bytes.substr(0, 3), kMark) << chapter.Path;
            EXPECT_TRUE(test::SameBytes(ReadSourceText(chapter.Path), bytes.substr(3)))
                << chapter.Path;
            text += bytes.substr(3);
        }
        return text;
    }

    std::string root_;
    WorkingTree tree_;
};

TEST_F(ChapterListTest, SourceOfExactlyTheLimitIsOnePiece) {
    const std::string atLimit = Source("limit.txt", Lines(1024, std::string(99, ' ')));
    const std::string overLimit = Source("over.txt", Lines(1024, std::string(99, ' ')) + " ");
    ASSERT_EQ(fs::file_size(atLimit), 102400u);
    const TChapterList chapters = Build({atLimit, overLimit});
    ASSERT_EQ(chapters.size(), 3u);
    EXPECT_EQ(chapters[0].Name, "limit");
    EXPECT_TRUE(
        test::SameBytes(PieceText({chapters[0]}), Lines(1024, std::string(99, ' '), "\r\n")));
    // Spaces count as much as text: 913 lines of 101 bytes (CR LF included) close a piece.
    EXPECT_EQ(chapters[1].Name, "over (1)");
    EXPECT_EQ(chapters[2].Name, "over (2)");
    EXPECT_TRUE(
        test::SameBytes(PieceText({chapters[1]}), Lines(913, std::string(99, ' '), "\r\n")));
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[2]}),
                                Lines(111, std::string(99, ' '), "\r\n") + " \r\n"));
}

TEST_F(ChapterListTest, PieceClosesWithTheLineThatReachesTheThreshold) {
    // Lines of 1022 bytes take 1024 in a piece with their CR LF: 90 of them reach 92160.
    const std::string line(1022, 'x');
    const std::string exact = Source("exact.txt", Lines(180, line));
    const std::string oneMore = Source("more.txt", Lines(180, line) + "tail");
    const TChapterList chapters = Build({exact, oneMore});
    ASSERT_EQ(chapters.size(), 5u);
    const char* names[] = {"exact (1)", "exact (2)", "more (1)", "more (2)", "more (3)"};
    for (std::size_t i = 0; i < chapters.size(); ++i)
        EXPECT_EQ(chapters[i].Name, names[i]);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(test::SameBytes(PieceText({chapters[i]}), Lines(90, line, "\r\n"))) << i;
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[4]}), "tail\r\n"));
}

TEST_F(ChapterListTest, LargeSourceIsCutIntoPiecesOfAbout90KiB) {
    const std::string line(100, 'x'); // 904 lines of 102 bytes are the first to reach 92160
    const std::string small = Source("small.txt", "short\n");
    const std::string large = Source("novel.txt", Lines(2000, line));
    const TChapterList chapters = Build({small, large, small});
    ASSERT_EQ(chapters.size(), 5u);
    const char* names[] = {"small", "novel (1)", "novel (2)", "novel (3)", "small"};
    for (std::size_t i = 0; i < chapters.size(); ++i)
        EXPECT_EQ(chapters[i].Name, names[i]);
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[1]}), Lines(904, line, "\r\n")));
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[2]}), Lines(904, line, "\r\n")));
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[3]}), Lines(192, line, "\r\n")));
    // A small source is a piece too: beyond the budget nothing is read from a source again.
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[4]}), "short\r\n"));
}

TEST_F(ChapterListTest, BlankLinesCountSoThatNoPageGrowsWithoutBound) {
    // 600,000 empty lines once made one page of megabytes.
    const std::string source = Source("blank.txt", std::string(600000, '\n'));
    const TChapterList chapters = Build({source});
    ASSERT_EQ(chapters.size(), 14u); // 46,080 lines of 2 bytes to a piece
    for (const FileList& chapter : chapters)
        EXPECT_LE(fs::file_size(chapter.Path), 92160u + 3u) << chapter.Path;
    EXPECT_TRUE(test::SameBytes(PieceText(chapters), Lines(600000, "", "\r\n")));
}

TEST_F(ChapterListTest, CrAndLfLineEndsBecomeCrLf) {
    const std::string line(99, 'z');
    // LF CR is two line ends with an empty line between; CR LF is one.
    const std::string text = "a\n\rb\r\nc\r" + Lines(1100, line, "\r");
    const TChapterList chapters = Build({Source("cr.txt", text)});
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_TRUE(
        test::SameBytes(PieceText(chapters), "a\r\n\r\nb\r\nc\r\n" + Lines(1100, line, "\r\n")));
}

struct EncodingCase {
    const char* name;
    std::string (*bytes)(const std::string& utf8);
    const char* legacyEncoding;
    std::string firstLine; // a zero is kept wherever it does not end UTF-16
};

const EncodingCase kEncodingCases[] = {
    {"Utf16LE",
     [](const std::string& utf8) {
         return "\xFF\xFE" + platform::ConvertText(utf8, "UTF-8", "UTF-16LE", "?");
     },
     "", "first line"},
    {"Utf8WithMark", [](const std::string& utf8) { return kMark + utf8; }, "", "zero\0byte"s},
    {"Utf8WithoutMark", [](const std::string& utf8) { return utf8; }, "", "zero\0byte"s},
    {"ForcedGbk",
     [](const std::string& utf8) { return platform::ConvertText(utf8, "UTF-8", "GBK", "?"); },
     "GBK", "zero\0byte"s},
};

class LargeSourceEncoding : public ChapterListTest,
                            public testing::WithParamInterface<EncodingCase> {};

// Every piece holds UTF-8, and together they hold the whole text: nothing is cut short
// at a zero, and no later piece is read in the wrong code page.
TEST_P(LargeSourceEncoding, IsDecodedBeforeCutting) {
    const std::string line = "第一章 chapter 中文 " + std::string(60, '-');
    const std::string text = GetParam().firstLine + "\n" + Lines(1300, line, "\r\n");
    const TChapterList chapters =
        Build({Source("book.txt", GetParam().bytes(text))}, GetParam().legacyEncoding);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[1].Name, "book (2)");
    EXPECT_TRUE(test::SameBytes(PieceText(chapters),
                                GetParam().firstLine + "\r\n" + Lines(1300, line, "\r\n")));
}

INSTANTIATE_TEST_SUITE_P(ChapterList, LargeSourceEncoding, testing::ValuesIn(kEncodingCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ChapterListTest, SourcesOfTheSameNameDoNotSharePieceFiles) {
    const std::string first = Source("one/a.txt", Lines(1100, std::string(99, 'p')));
    const std::string second = Source("two/a.txt", Lines(1100, std::string(99, 'q')));
    const TChapterList chapters = Build({first, second});
    ASSERT_EQ(chapters.size(), 4u);
    EXPECT_EQ(chapters[0].Name, "a (1)");
    EXPECT_EQ(chapters[2].Name, "a (1)");
    EXPECT_NE(chapters[0].Path, chapters[2].Path);
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[0], chapters[1]}),
                                Lines(1100, std::string(99, 'p'), "\r\n")));
    EXPECT_TRUE(test::SameBytes(PieceText({chapters[2], chapters[3]}),
                                Lines(1100, std::string(99, 'q'), "\r\n")));
}

TEST_F(ChapterListTest, LargeSourceWithoutTextStillGivesItsChapter) {
    // Zero characters are dropped, so nothing of this UTF-32 file is text.
    const std::string source = Source("blank.txt", "\xFF\xFE\x00\x00"s + std::string(110000, '\0'));
    const TChapterList chapters = Build({source});
    ASSERT_EQ(chapters.size(), 1u);
    EXPECT_EQ(chapters[0].Name, "blank (1)");
    EXPECT_TRUE(test::SameBytes(PieceText(chapters), ""));
}

TEST_F(ChapterListTest, SourceThatCannotBeReadFailsNamingIt) {
    // Each source is read once, when the list is made.
    const std::string missing = root_ + "gone.txt";
    EXPECT_EQ(GetFileSizeKB(missing), 0.0);
    try {
        Build({missing});
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
}

// Text is held up to the budget over all sources together; the rest is kept in pieces.
TEST_F(ChapterListTest, BudgetHoldsTheSourcesTogetherUpToItsSize) {
    const std::string one = Source("one.txt", Lines(100, "a line of the first source"));
    const std::string two = Source("two.txt", Lines(100, "the second source's line"));
    const std::size_t total = fs::file_size(one) + fs::file_size(two);
    struct Case {
        const char* name;
        std::size_t budget;
        bool secondHeld;
    };
    for (const Case& row :
         {Case{"exactly the total", total, true}, Case{"a byte short", total - 1, false},
          Case{"each under it, not both", fs::file_size(one) + 1, false}}) {
        SCOPED_TRACE(row.name);
        ChapterListOptions options;
        options.mode = ChapterMode::Files;
        options.heldTextBudget = row.budget;
        const TChapterList chapters = BuildChapterList({one, two}, &tree_, options);
        ASSERT_EQ(chapters.size(), 2u);
        EXPECT_NE(chapters[0].Text, nullptr);
        EXPECT_EQ(chapters[1].Text != nullptr, row.secondHeld);
        EXPECT_EQ(ChapterText(chapters[1], ""),
                  row.secondHeld ? Lines(100, "the second source's line")
                                 : Lines(100, "the second source's line", "\r\n"));
    }
}

// The sample is told as soon as it is full, so that work on it may start while the other
// sources are read; it never changes afterwards.
TEST_F(ChapterListTest, LanguageSampleIsToldOnceAsSoonAsItIsComplete) {
    const std::string line = "a line of words to judge the book by";
    const std::string small = Source("small.txt", Lines(10, line));
    const std::string large = Source("large.txt", Lines(8000, line));
    struct Case {
        const char* name;
        std::vector<std::string> sources;
        std::size_t sampleSize;
        std::size_t readBefore; // sources read when it is told
    };
    const std::size_t smallSize = fs::file_size(small);
    for (const Case& row :
         {Case{"full within the first source", {large, small, small}, 256u << 10, 1},
          Case{"full within the second", {small, large, small}, 256u << 10, 2},
          Case{"never full: once all are read", {small, small}, 2 * smallSize, 2}}) {
        SCOPED_TRACE(row.name);
        std::size_t read = 0;
        std::vector<std::pair<std::string, std::size_t>> told; // the sample, sources read
        ChapterListOptions options;
        options.sourceRead = [&read](const std::string&, const platform::FileStatus&) { ++read; };
        options.sampleTaken = [&](std::string_view sample) {
            told.emplace_back(std::string(sample), read);
        };
        std::string sample;
        BuildChapterList(row.sources, &tree_, options, &sample);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].first.size(), row.sampleSize);
        EXPECT_EQ(told[0].first, sample);
        EXPECT_EQ(told[0].second, row.readBefore);
    }
}

TEST_F(ChapterListTest, EncodingChosenForASourceHoldsInItsPieces) {
    const std::string russian = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
    const std::string cp1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const std::string path = Source("ru.txt", cp1251);
    for (const std::size_t budget : {std::size_t{0}, std::size_t{1} << 20}) {
        SCOPED_TRACE(budget == 0 ? "kept in pieces" : "held");
        // A piece ends each line with CR LF.
        const std::string end = budget == 0 ? "\r\n" : "";
        ChapterListOptions options;
        options.mode = ChapterMode::Files;
        options.sourceEncodings = {"CP1251"};
        options.legacyEncoding = "CP1252";
        options.heldTextBudget = budget;
        const TChapterList chapters = BuildChapterList({path, path}, &tree_, options);
        ASSERT_EQ(chapters.size(), 2u);
        EXPECT_EQ(ChapterText(chapters[0], "CP1252"), russian + end);
        // The second source has no choice of its own: the code page for all applies.
        EXPECT_EQ(ChapterText(chapters[1], "CP1252"),
                  "\xC3\x8F\xC3\xB0\xC3\xA8\xC3\xA2\xC3\xA5\xC3\xB2" + end);
    }
}

TEST_F(ChapterListTest, BytesACodePageCannotReadAreToldNotPassedOver) {
    const std::string clean = Source("clean.txt", "abc");
    const std::string broken = Source("broken.txt", "a\xA0"
                                                    "b\xFD"
                                                    "c");
    ChapterListOptions options;
    options.legacyEncoding = "CP932";
    std::vector<TextNotice> notices;
    options.notice = [&](const TextNotice& notice) { notices.push_back(notice); };
    BuildChapterList({clean, broken}, nullptr, options);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, TextNotice::Kind::BytesNotDecoded);
    EXPECT_EQ(notices[0].source, 1u);
    EXPECT_EQ(notices[0].count, 2u);
    EXPECT_EQ(notices[0].encoding, "CP932");
}

} // namespace
} // namespace folivane::engine
