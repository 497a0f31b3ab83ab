// The sources of one book each: folders listed in natural order, and the books' names.
#include "engine/job/BatchSources.h"
#include "engine/text/ConversionError.h"
#include "platform/FileStatus.h"
#include "platform/FolderTree.h"
#include "platform/SystemCalls.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using platform::Call;
using platform::Fault;
using ::testing::ElementsAre;

struct OrderCase {
    const char* name;
    std::string_view before, after;
};
const OrderCase kOrders[] = {
    {"NumbersByValue", "2.txt", "10.txt"},
    {"NumbersWithinNames", "第2章.txt", "第10章.txt"},
    {"FewerZerosFirstOnATie", "7.txt", "07.txt"},
    {"LongRunsOfDigits", "99999999999999999999.txt", "100000000000000000000.txt"},
    {"PrefixFirst", "a", "a1"},
    {"BytesOtherwise", "B.txt", "a.txt"},
};

class NaturalOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrder, PutsTheFirstBefore) {
    EXPECT_TRUE(NaturalLess(GetParam().before, GetParam().after));
    EXPECT_FALSE(NaturalLess(GetParam().after, GetParam().before));
}

INSTANTIATE_TEST_SUITE_P(Names, NaturalOrder, testing::ValuesIn(kOrders),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BatchSources, FolderGivesItsTextsInNaturalOrderAndEachFileOnce) {
    const test::ScratchFolder scratch;
    for (const char* name : {"10.txt", "2.txt", "1.TXT", "notes.md", ".hidden.txt"})
        test::WriteFile(scratch / name, "x");
    EXPECT_THAT(BatchSources({scratch.Path(), scratch / "2.txt"}),
                ElementsAre(scratch / "1.TXT", scratch / "2.txt", scratch / "10.txt"));
    EXPECT_THROW(BatchSources({scratch / "notes.md"}), ConversionError);
}

// What was given to find the sources or to hold the books, refused with the path it names.
struct RefusalCase {
    const char* name;
    std::vector<const char*> given; // within the scratch folder; empty: the books' folder
    const char* booksFolder;        // within the scratch folder, for PrepareBooksFolder
    std::vector<Fault> faults;
    FailureKind kind;
    const char* named; // the path the failure names, within the scratch folder
    int cause;
};
// The scratch folder holds "shelf" (no .txt file: notes.md, a hidden .txt, a folder named
// as one), "novel.txt" and "notes.md".
const RefusalCase kRefusals[] = {
    {"FileNotText",
     {"novel.txt", "notes.md"},
     nullptr,
     {},
     FailureKind::BatchInputNotTextOrFolder,
     "notes.md",
     0},
    {"MissingFolder", {"gone"}, nullptr, {}, FailureKind::BatchInputNotTextOrFolder, "gone", 0},
    {"FolderNotRead",
     {"shelf"},
     nullptr,
     {{Call::Open, EACCES, 0, "shelf"}},
     FailureKind::BatchFolderNotRead,
     "shelf",
     EACCES},
    {"FoldersWithoutText",
     {"shelf", "shelf/folder.txt"},
     nullptr,
     {},
     FailureKind::BatchFoundNoText,
     "shelf",
     0},
    {"BooksFolderIsFile", {}, "novel.txt", {}, FailureKind::BooksFolderIsFile, "novel.txt", 0},
    {"BooksFolderUnderAFile",
     {},
     "novel.txt/books",
     {},
     FailureKind::BooksFolderNotMade,
     "novel.txt/books",
     ENOTDIR},
    {"BooksFolderRefused",
     {},
     "books",
     {{Call::MakeFolder, EROFS}},
     FailureKind::BooksFolderNotMade,
     "books",
     EROFS},
};

class BatchRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(BatchRefusal, NamesThePathAndTheCause) {
    const RefusalCase& row = GetParam();
    const test::ScratchFolder scratch;
    ASSERT_EQ(platform::MakeFolder(scratch / "shelf"), 0);
    test::WriteFile(scratch / "shelf/notes.md", "x");
    test::WriteFile(scratch / "shelf/.hidden.txt", "x");
    ASSERT_EQ(platform::MakeFolder(scratch / "shelf/folder.txt"), 0);
    test::WriteFile(scratch / "novel.txt", "x");
    test::WriteFile(scratch / "notes.md", "x");
    std::vector<std::string> given;
    for (const char* name : row.given)
        given.push_back(scratch / name);
    try {
        const platform::FaultInjection faults(row.faults);
        if (row.booksFolder)
            PrepareBooksFolder(scratch / row.booksFolder);
        else
            BatchSources(given);
        ADD_FAILURE() << "accepted";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.Reason(),
                  (Failure{.kind = row.kind, .path = scratch / row.named, .cause = row.cause}));
    }
}

INSTANTIATE_TEST_SUITE_P(Given, BatchRefusal, testing::ValuesIn(kRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BatchSources, FileGivenIsTakenEvenBeforeItExistsAndFoldersMayBeEmpty) {
    const test::ScratchFolder scratch;
    ASSERT_EQ(platform::MakeFolder(scratch / "empty"), 0);
    // A missing file fails in its book's turn, naming itself, not the whole run.
    EXPECT_THAT(BatchSources({scratch / "empty", scratch / "later.txt"}),
                ElementsAre(scratch / "later.txt"));
    PrepareBooksFolder(scratch / "books");
    PrepareBooksFolder(scratch / "books");
    const auto made = platform::StatPath(scratch / "books");
    EXPECT_TRUE(made && made->IsFolder());
}

TEST(BatchBookPaths, TitlesNameBooksAndRepeatedOnesTheirFiles) {
    const test::ScratchFolder scratch;
    test::WriteFile(scratch / "a.txt", "Title: Same\n");
    test::WriteFile(scratch / "b.txt", "Title: Same\n");
    test::WriteFile(scratch / "c.txt", "Title: A/B\n");
    test::WriteFile(scratch / "软件.txt", "这里的软件很好用，网络很快，我们没有时间。\n");
    test::WriteFile(scratch / "猫.txt", "吾輩は猫である。名前はまだ無い。\n");
    BookInput options;
    options.chineseScript = ChineseScript::Taiwan;
    EXPECT_THAT(
        BatchBookPaths({scratch / "a.txt", scratch / "b.txt", scratch / "c.txt",
                        scratch / "软件.txt", scratch / "猫.txt"},
                       options, "out"),
        ElementsAre("out/a.epub", "out/b.epub", "out/A_B.epub", "out/軟體.epub", "out/猫.epub"));
    // The user's title names every book alike: then their files do, apart.
    options.title = "Mine";
    EXPECT_THAT(BatchBookPaths({scratch / "a.txt", scratch / "a.txt"}, options, ""),
                ElementsAre("a.epub", "a (2).epub"));
}

} // namespace
} // namespace folivane::engine
