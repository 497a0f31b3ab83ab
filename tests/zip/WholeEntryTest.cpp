// Entries compressed whole (libdeflate), entries streamed through zlib above the in-memory
// limit, and entries compressed ahead of the run: every path writes archives readers accept.
#include "ZipTestSupport.h"

#include "zip/EntryPrecompressor.h"
#include "zip/ZipWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace folivane::zip::test {
namespace {

class WholeEntries : public ::testing::Test {
protected:
    // An empty file, one small enough for the calling thread, one for the pool, one that
    // deflate cannot shrink.
    WholeEntries() {
        WriteFile(root_ + "mimetype", "application/epub+zip");
        WriteFile(root_ + "empty.txt", "");
        WriteFile(root_ + "tiny.txt", SampleText(1000));
        WriteFile(root_ + "page.txt", SampleText(300000));
        WriteFile(root_ + "noise.txt", RandomBytes(50000, 7));
        for (const char* name : {"mimetype", "empty.txt", "tiny.txt", "page.txt", "noise.txt"})
            SetModified(root_ + name, 1300000000);
    }

    std::string Build(const std::string& name, int level, unsigned threads = 1,
                      std::shared_ptr<TEntryPrecompressor> ahead = nullptr) {
        const std::string zip = temp_ / name;
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.SetRootDir(root_);
        writer.SetRelativePaths(true);
        writer.PackLevel = level;
        writer.NoCompressList = {"mimetype"};
        writer.FilesList = {root_ + "mimetype", "*.*"};
        writer.CompressionThreads = threads;
        writer.Precompressed = std::move(ahead);
        EXPECT_EQ(writer.BuildArchive(), 5);
        return zip;
    }

    ::testing::AssertionResult HoldsTheTree(const CheckedArchive& archive) {
        return ArchiveHolds(archive, {{"mimetype", root_ + "mimetype"},
                                      {"empty.txt", root_ + "empty.txt"},
                                      {"noise.txt", root_ + "noise.txt"},
                                      {"page.txt", root_ + "page.txt"},
                                      {"tiny.txt", root_ + "tiny.txt"}});
    }

    TempFolder temp_;
    std::string root_ = temp_ / "tree/";
};

TEST_F(WholeEntries, EveryLevelWritesEntriesReadersAccept) {
    for (const int level : {0, 1, 6, 9, -1}) {
        SCOPED_TRACE("level " + std::to_string(level));
        const CheckedArchive archive =
            CheckArchive(Build("level" + std::to_string(level) + ".zip", level));
        ASSERT_TRUE(HoldsTheTree(archive));
        for (const CheckedEntry& entry : archive.entries) {
            SCOPED_TRACE(entry.name);
            const bool stored = level == 0 || entry.name == "mimetype";
            EXPECT_EQ(entry.method, stored ? 0u : 8u);
            // Sizes and CRC are in the local header: no data descriptor follows.
            EXPECT_EQ(entry.flags & 0x0008u, 0u);
            EXPECT_EQ(entry.local.crc, entry.crc);
        }
        if (level != 0) {
            EXPECT_EQ(archive.Find("empty.txt")->compressedSize, 2u);
            EXPECT_LT(archive.Find("page.txt")->compressedSize, 300000u / 4);
        }
    }
    // The levels are passed on, not ignored: the higher is no larger, -1 is 6.
    const auto pageSize = [&](int level) {
        return CheckArchive(temp_ / ("level" + std::to_string(level) + ".zip"))
            .Find("page.txt")
            ->compressedSize;
    };
    EXPECT_LE(pageSize(9), pageSize(1));
    EXPECT_EQ(pageSize(-1), pageSize(6));
}

TEST_F(WholeEntries, PrecompressedBytesAreTheOnesTheRunWouldMake) {
    const std::string reference = ReadFile(Build("reference.zip", 6));
    struct Row {
        const char* name;
        unsigned threads;
        int level;
        std::string pageData; // handed over as the page's data
    };
    const Row rows[] = {
        {"on the calling thread", 1, 6, ReadFile(root_ + "page.txt")},
        {"on a pool", 4, 6, ReadFile(root_ + "page.txt")},
        // The file no longer has the handed-over size: it is read again.
        {"size changed since", 4, 6, SampleText(1234)},
        // Bytes of another level are not taken.
        {"another level", 4, 9, ReadFile(root_ + "page.txt")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto ahead = std::make_shared<TEntryPrecompressor>(row.level, row.threads);
        ahead->Add(root_ + "page.txt", row.pageData);
        ahead->Add(root_ + "tiny.txt", ReadFile(root_ + "tiny.txt"));
        ahead->Add(root_ + "empty.txt", "");
        EXPECT_TRUE(ReadFile(Build(std::string(row.name) + ".zip", 6, 2, ahead)) == reference);
    }
}

TEST(WholeEntriesAhead, MoreThanTheWaitingWindowStillGivesTheSameArchive) {
    // Twelve pages of 300 KB: far more than the threads may hold waiting at once, so the
    // maker waits for the oldest; whatever waited, the archive is the one made without help.
    TempFolder temp;
    const std::string root = temp / "tree/";
    std::vector<std::string> pages;
    for (int i = 0; i < 12; ++i) {
        pages.push_back(root + std::to_string(i) + ".html");
        WriteFile(pages.back(), SampleText(300000 + static_cast<std::size_t>(i)));
        SetModified(pages.back(), 1300000000);
    }
    const auto build = [&](const std::string& name, std::shared_ptr<TEntryPrecompressor> ahead) {
        TZipWriter writer;
        writer.SetZipName(temp / name);
        writer.SetRootDir(root);
        writer.SetRelativePaths(true);
        writer.FilesList = {"*.*"};
        writer.CompressionThreads = 2;
        writer.Precompressed = std::move(ahead);
        EXPECT_EQ(writer.BuildArchive(), 12);
        return ReadFile(temp / name);
    };
    auto ahead = std::make_shared<TEntryPrecompressor>(6, 2);
    for (const std::string& page : pages)
        ahead->Add(page, ReadFile(page));
    EXPECT_TRUE(build("ahead.zip", ahead) == build("reference.zip", nullptr));
}

TEST(WholeEntriesAhead, PagesOfAFewKiBComeBackEachAsItsOwn) {
    // Small entries travel to the threads in batches; whatever order they are taken in, and
    // whether their batch has left yet or not, each key gives its own data's entry. Every
    // fifth is of bytes that do not compress, larger deflated than the room made for text.
    TEntryPrecompressor ahead(6, 2);
    TWholeDeflater reference(6);
    std::mt19937 random(5);
    std::vector<std::string> pages;
    for (std::size_t i = 0; i < 400; ++i) {
        std::string page = SampleText(1000 + 7 * i);
        if (i % 5 == 0)
            for (char& c : page)
                c = static_cast<char>(random());
        pages.push_back(page + std::to_string(i));
        ahead.Add("OEBPS/" + std::to_string(i) + ".html", pages.back());
    }
    for (std::size_t i = pages.size(); i-- > 0;) {
        SCOPED_TRACE("page " + std::to_string(i));
        const std::string key = "OEBPS/" + std::to_string(i) + ".html";
        EXPECT_FALSE(ahead.Take(key, pages[i].size() + 1)); // not of this size
        const std::optional<CompressedEntry> taken = ahead.Take(key, pages[i].size());
        ASSERT_TRUE(taken);
        std::vector<std::uint8_t> expected;
        EXPECT_EQ(taken->data.crc32, reference.Deflate(pages[i], expected).crc32);
        EXPECT_TRUE(taken->bytes == expected);
        EXPECT_FALSE(ahead.Take(key, pages[i].size())); // taken once
    }
}

TEST_F(WholeEntries, AnEntryAboveTheMemoryLimitStreams) {
    WriteFile(root_ + "page.txt", SampleText(17u << 20));
    const std::string one = Build("streamed1.zip", 6, 1);
    const CheckedArchive archive = CheckArchive(one);
    ASSERT_TRUE(HoldsTheTree(archive));
    EXPECT_EQ(archive.Find("page.txt")->method, 8u);
    EXPECT_LT(archive.Find("page.txt")->compressedSize, (17u << 20) / 4);
    EXPECT_TRUE(ReadFile(Build("streamed4.zip", 6, 4)) == ReadFile(one));
}

} // namespace
} // namespace folivane::zip::test
