// The conversion job end to end: its events, its working folder, what it leaves at the output.
#include "support/BookFixtures.h"

#include "engine/job/ConversionJob.h"
#include "platform/FolderTree.h"
#include "support/TestSupport.h"
#include "zip/ZipReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace folivane::test {
namespace {

using ::testing::ElementsAre;

class ConversionJobTest : public ::testing::Test {
protected:
    // Runs one job with its working folder under the scratch folder's "tmp".
    RecordingSink Convert(const engine::BookInput& input) {
        ::mkdir((scratch / "tmp").c_str(), 0700);
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "tmp/");
        RecordingSink sink;
        engine::DoTask(input, tree, sink);
        return sink;
    }

    engine::BookInput Book(std::vector<std::string> sources, const std::string& output) {
        engine::BookInput input;
        input.sources = std::move(sources);
        input.title = "Book";
        input.outputPath = scratch / output;
        return input;
    }

    // Entry names of an archive in archive order, read with the writer's own reader.
    static std::vector<std::string> Entries(const std::string& path) {
        zip::TZipReader reader;
        reader.SetZipName(path);
        reader.OpenArchive();
        std::vector<std::string> names;
        for (const auto& header : *reader.ArchiveDirectory())
            names.push_back(header->StoredName());
        return names;
    }

    ScratchFolder scratch;
};

TEST_F(ConversionJobTest, SendsEventsInOrderAndLeavesNoWorkingFolder) {
    WriteFile(scratch / "one.txt", "first\r\nsecond\r\n");
    WriteFile(scratch / "two.txt", "third");
    const RecordingSink sink = Convert(Book({scratch / "one.txt", scratch / "two.txt"}, "b.epub"));
    EXPECT_THAT(sink.events,
                ElementsAre("show", "max 2", "chapter one", "chapter two", "close", "result 0"));
    // Packing is counted file by file between the last chapter and the end, to all 7.
    ASSERT_EQ(sink.packing.size(), 8u);
    for (std::size_t i = 0; i < sink.packing.size(); ++i)
        EXPECT_EQ(sink.packing[i], (RecordingSink::Packing{i, 7, 4})) << i;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
    EXPECT_THAT(Entries(scratch / "b.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.html", "OEBPS/1.html",
                            "OEBPS/content.opf", "OEBPS/css/main.css", "OEBPS/toc.ncx"));
}

TEST_F(ConversionJobTest, Epub3BookHoldsItsNavigationDocumentAndXhtmlPages) {
    WriteFile(scratch / "one.txt", "first");
    WriteFile(scratch / "cover.gif", MakeGif());
    engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
    input.coverPath = scratch / "cover.gif";
    input.epubVersion = engine::EpubVersion::Epub3;
    const RecordingSink sink = Convert(input);
    EXPECT_EQ(sink.events.back(), "result 0") << sink.reason;
    EXPECT_THAT(Entries(scratch / "b.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.xhtml",
                            "OEBPS/content.opf", "OEBPS/cover.gif", "OEBPS/css/main.css",
                            "OEBPS/nav.xhtml", "OEBPS/titlepage.xhtml", "OEBPS/toc.ncx"));
}

TEST_F(ConversionJobTest, EpubVersionsOtherThan2And3AreRefusedBeforeAnyWork) {
    WriteFile(scratch / "one.txt", "first");
    for (const int version : {0, 1, 4, -3}) {
        engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
        input.epubVersion = static_cast<engine::EpubVersion>(version);
        const RecordingSink sink = Convert(input);
        EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1")) << version;
        EXPECT_NE(sink.reason.find("b.epub\" as EPUB " + std::to_string(version)),
                  std::string::npos)
            << sink.reason;
        EXPECT_FALSE(PathExists(scratch / "b.epub"));
    }
}

TEST_F(ConversionJobTest, MissingSourceFailsNamingItAndCleansUp) {
    const RecordingSink sink = Convert(Book({scratch / "gone.txt"}, "b.epub"));
    // Each source is read while the chapter list is made, before the maximum is known.
    EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1"));
    EXPECT_NE(sink.reason.find("gone.txt"), std::string::npos) << sink.reason;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
    EXPECT_FALSE(PathExists(scratch / "b.epub"));
}

TEST_F(ConversionJobTest, FailureLeavesAnExistingOutputUntouched) {
    WriteFile(scratch / "b.epub", "an earlier file");
    WriteFile(scratch / "cover.jpg", "not a picture at all");
    engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
    WriteFile(scratch / "one.txt", "text");
    input.coverPath = scratch / "cover.jpg";
    const RecordingSink sink = Convert(input);
    EXPECT_EQ(sink.events.back(), "result 1");
    EXPECT_NE(sink.reason.find("cover.jpg"), std::string::npos) << sink.reason;
    EXPECT_EQ(ReadFile(scratch / "b.epub"), "an earlier file");
    EXPECT_THAT(ListNames(scratch.Path()), ElementsAre("b.epub", "cover.jpg", "one.txt", "tmp"));
}

TEST_F(ConversionJobTest, ConvertingTwiceToOnePathGivesExactlyTheSecondBook) {
    WriteFile(scratch / "a.txt", "a");
    WriteFile(scratch / "b.txt", "b");
    WriteFile(scratch / "c.txt", "c");
    WriteFile(scratch / "cover.png", MakePng());
    engine::BookInput first =
        Book({scratch / "a.txt", scratch / "b.txt", scratch / "c.txt"}, "x.epub");
    first.coverPath = scratch / "cover.png";
    ASSERT_EQ(Convert(first).events.back(), "result 0");
    ASSERT_EQ(Convert(Book({scratch / "a.txt"}, "x.epub")).events.back(), "result 0");
    EXPECT_THAT(Entries(scratch / "x.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.html",
                            "OEBPS/content.opf", "OEBPS/css/main.css", "OEBPS/toc.ncx"));
    EXPECT_THAT(ListNames(scratch.Path()),
                ElementsAre("a.txt", "b.txt", "c.txt", "cover.png", "tmp", "x.epub"));
}

TEST_F(ConversionJobTest, UnwritableOutputFailsAndCleansUp) {
    WriteFile(scratch / "a.txt", "a");
    WriteFile(scratch / "plain", "a file where a folder should be");
    const RecordingSink sink = Convert(Book({scratch / "a.txt"}, "plain/book.epub"));
    EXPECT_THAT(sink.events, ElementsAre("show", "max 1", "chapter a", "close", "result 1"));
    EXPECT_NE(sink.reason.find("plain/book.epub"), std::string::npos) << sink.reason;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
}

TEST_F(ConversionJobTest, WorkingFolderThatCannotBeMadeFailsTheJob) {
    engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "no/such/folder/");
    ASSERT_FALSE(tree.Valid());
    RecordingSink sink;
    engine::DoTask(Book({scratch / "a.txt"}, "b.epub"), tree, sink);
    EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1"));
    EXPECT_NE(sink.reason.find("no/such/folder"), std::string::npos) << sink.reason;
}

TEST_F(ConversionJobTest, StaleWorkingFoldersGoButRunningOnesStay) {
    const std::string tmp = scratch / "tmp/";
    ::mkdir(tmp.c_str(), 0700);
    engine::WorkingTree running = engine::PrepareWorkingTree(tmp);
    {
        // A killed job leaves its folder, but its lock dies with the process.
        engine::WorkingTree killed = engine::PrepareWorkingTree(tmp);
        ASSERT_EQ(::system(("cp -a " + ShellQuote(killed.Root()) + " " +
                            ShellQuote(tmp + "folivane-Stale1"))
                               .c_str()),
                  0);
    }
    WriteFile(tmp + "folivane-unrelated.txt", "not ours");
    EXPECT_EQ(engine::RemoveStaleWorkingTrees(tmp), 1);
    EXPECT_TRUE(PathExists(running.Root()));
    EXPECT_FALSE(PathExists(tmp + "folivane-Stale1"));
    EXPECT_TRUE(PathExists(tmp + "folivane-unrelated.txt"));
}

TEST_F(ConversionJobTest, DeletingATreeNeverFollowsALinkOutOfIt) {
    ::mkdir((scratch / "outside").c_str(), 0700);
    WriteFile(scratch / "outside/keep.txt", "keep");
    ::mkdir((scratch / "tree").c_str(), 0700);
    ASSERT_EQ(::symlink((scratch / "outside").c_str(), (scratch / "tree/link").c_str()), 0);
    EXPECT_TRUE(platform::RemoveFolderTree(scratch / "tree"));
    EXPECT_FALSE(PathExists(scratch / "tree"));
    EXPECT_EQ(ReadFile(scratch / "outside/keep.txt"), "keep");
}

} // namespace
} // namespace folivane::test
