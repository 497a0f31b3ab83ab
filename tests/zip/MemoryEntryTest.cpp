// Entries given in memory beside the file list: the same bytes as the same entries read from
// files, stored or deflated, whole, on the pool, streamed or compressed ahead; names taken
// twice, updates of an existing archive, and what is kept of their data.
#include "ZipTestSupport.h"

#include "zip/EntryPrecompressor.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;

// The entries of the tests, by their names in the archive: one of each kind of data.
std::vector<std::pair<std::string, std::string>> Contents(bool large) {
    std::vector<std::pair<std::string, std::string>> contents = {
        {"mimetype", "application/epub+zip"},
        {"empty.txt", ""},
        {"META-INF/container.xml", SampleText(900)},           // compressed on the calling thread
        {"OEBPS/0.html", SampleText(90000)},                   // on the pool
        {"OEBPS/cover.png", RandomBytes(30000, 3)},            // deflate cannot shrink it
        {"OEBPS/deep/er/.hidden.css", SampleText(5000)},       // a hidden name, folders
        {"OEBPS/unicode \xE4\xB9\xA6.html", SampleText(7000)}, // not ASCII
    };
    if (large) contents.emplace_back("OEBPS/large.html", SampleText(17u << 20)); // streams
    return contents;
}

class MemoryEntries : public ::testing::Test {
protected:
    MemoryEntries() : zone_("UTC0") {}

    struct Settings {
        int level = 6;
        unsigned threads = 2;
        bool ahead = false;        // a precompressor at the writer's level
        std::size_t fromFiles = 0; // the first this many entries come from files
        bool large = false;
    };

    // An archive of Contents(): the first `fromFiles` entries read from files written under
    // the root, the rest given in memory, every entry dated moment_.
    std::string Build(const std::string& name, const Settings& settings) {
        const auto contents = Contents(settings.large);
        TZipWriter writer;
        writer.SetZipName(temp_ / name);
        writer.SetRootDir(root_);
        writer.SetRelativePaths(true);
        writer.LiteralPaths = true;
        writer.PackLevel = settings.level;
        writer.NoCompressList = {"mimetype"};
        writer.CompressionThreads = settings.threads;
        std::shared_ptr<TEntryPrecompressor> ahead;
        if (settings.ahead) {
            ahead = std::make_shared<TEntryPrecompressor>(settings.level, settings.threads);
            writer.Precompressed = ahead;
        }
        for (std::size_t i = 0; i < contents.size(); ++i) {
            const auto& [entry, bytes] = contents[i];
            if (i < settings.fromFiles) {
                WriteFile(root_ + entry, bytes);
                SetModified(root_ + entry, moment_);
                // The same help a file had before entries could be given in memory.
                if (ahead && entry != "mimetype") ahead->Add(root_ + entry, bytes);
                writer.FilesList.push_back(root_ + entry);
            } else {
                writer.AddMemoryEntry(entry, bytes, moment_);
            }
        }
        EXPECT_EQ(writer.BuildArchive(), static_cast<int>(contents.size()));
        EXPECT_TRUE(writer.FilesList.empty());
        EXPECT_TRUE(writer.MemoryEntries.empty());
        return ReadFile(temp_ / name);
    }

    ScopedTimeZone zone_;
    TempFolder temp_;
    std::string root_ = temp_ / "tree/";
    std::string zip_ = temp_ / "book.zip";
    std::time_t moment_ = LocalMoment(2024, 6, 11, 9, 30, 10);
};

TEST_F(MemoryEntries, AreTheBytesOfTheSameEntriesFromFilesStoredOrDeflated) {
    const std::size_t count = Contents(false).size();
    for (const int level : {0, 1, 6, 9}) {
        for (const unsigned threads : {1u, 2u}) {
            for (const bool ahead : {false, true}) {
                if (level == 0 && ahead) continue;
                const std::string tag =
                    std::to_string(level) + "-" + std::to_string(threads) + (ahead ? "-ahead" : "");
                SCOPED_TRACE(tag);
                const std::string files =
                    Build("files" + tag + ".zip", {level, threads, ahead, count});
                // All in memory, and mixed: files first, then the rest from memory.
                EXPECT_TRUE(Build("memory" + tag + ".zip", {level, threads, ahead, 0}) == files);
                EXPECT_TRUE(Build("mixed" + tag + ".zip", {level, threads, ahead, 3}) == files);
            }
        }
    }
    const CheckedArchive archive = CheckArchive(temp_ / "memory6-2-ahead.zip");
    ASSERT_TRUE(ReadersAccept(archive));
    const auto contents = Contents(false);
    ASSERT_EQ(archive.entries.size(), contents.size());
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const auto& [name, bytes] = contents[i];
        const CheckedEntry& entry = archive.entries[i];
        // The name not in ASCII is stored through the DOS code page, as a file's is.
        if (name.find("unicode") == std::string::npos) {
            EXPECT_EQ(entry.name, name);
        }
        EXPECT_TRUE(entry.data == bytes) << name;
        EXPECT_EQ(entry.method, name == "mimetype" ? 0u : 8u) << name;
    }
    // A regular file's attributes: archive, and hidden for a name that begins with a dot.
    EXPECT_EQ(archive.Find("OEBPS/0.html")->externalAttributes, 0x20u);
    EXPECT_EQ(archive.Find("OEBPS/deep/er/.hidden.css")->externalAttributes, 0x22u);
    EXPECT_EQ(archive.Find("mimetype")->local.dosDateTime,
              archive.Find("empty.txt")->local.dosDateTime);
    const CheckedArchive stored = CheckArchive(temp_ / "memory0-2.zip");
    for (const CheckedEntry& entry : stored.entries)
        EXPECT_EQ(entry.method, 0u) << entry.name;
}

TEST_F(MemoryEntries, AboveTheWholeEntryLimitStreamAsLargeFilesDo) {
    const std::size_t count = Contents(true).size();
    const std::string files = Build("files.zip", {6, 2, false, count, true});
    EXPECT_TRUE(Build("memory.zip", {6, 2, false, 0, true}) == files);
    EXPECT_TRUE(Build("memory1.zip", {6, 1, false, 0, true}) == files);
    // Compressed ahead, a large entry is compressed whole, as a large file handed over is.
    EXPECT_TRUE(Build("memory-ahead.zip", {6, 2, true, 0, true}) ==
                Build("files-ahead.zip", {6, 2, true, count, true}));
    const CheckedArchive archive = CheckArchive(temp_ / "memory.zip");
    ASSERT_TRUE(ReadersAccept(archive));
    EXPECT_EQ(archive.Find("OEBPS/large.html")->fileSize, 17u << 20);
}

TEST_F(MemoryEntries, HandedOverKeepOnlyTheirSizeUntilTheRun) {
    TZipWriter writer;
    writer.SetZipName(temp_ / "ahead.zip");
    writer.NoCompressList = {"mimetype"};
    writer.Precompressed = std::make_shared<TEntryPrecompressor>(6, 2);
    writer.AddMemoryEntry("mimetype", "application/epub+zip", moment_);
    writer.AddMemoryEntry("page.html", SampleText(200000), moment_);
    ASSERT_EQ(writer.MemoryEntries.size(), 2u);
    // Stored: its bytes are the entry's data, kept as they are.
    EXPECT_FALSE(writer.MemoryEntries[0].handedOver);
    EXPECT_EQ(writer.MemoryEntries[0].bytes, "application/epub+zip");
    // Deflated: compressed on the precompressor's threads; only the compressed data is kept,
    // there.
    EXPECT_TRUE(writer.MemoryEntries[1].handedOver);
    EXPECT_TRUE(writer.MemoryEntries[1].bytes.empty());
    EXPECT_EQ(writer.MemoryEntries[1].size, 200000u);
    EXPECT_EQ(writer.BuildArchive(), 2);
    const CheckedArchive archive = CheckArchive(temp_ / "ahead.zip");
    EXPECT_TRUE(ReadersAccept(archive));
    EXPECT_TRUE(archive.Find("page.html")->data == SampleText(200000));

    // Another level than the writer's: nothing is handed over.
    TZipWriter other;
    other.SetZipName(temp_ / "other.zip");
    other.Precompressed = std::make_shared<TEntryPrecompressor>(9, 2);
    other.AddMemoryEntry("page.html", SampleText(5000), moment_);
    EXPECT_FALSE(other.MemoryEntries[0].handedOver);
    EXPECT_EQ(other.BuildArchive(), 1);
}

TEST_F(MemoryEntries, ANameTakenAlreadyIsReportedAndLeftOut) {
    WriteFile(root_ + "a.txt", "from the file");
    TZipWriter writer;
    writer.SetZipName(temp_ / "twice.zip");
    writer.SetRootDir(root_);
    writer.Precompressed = std::make_shared<TEntryPrecompressor>(6, 2);
    writer.FilesList = {"a.txt"};
    writer.AddMemoryEntry("a.txt", "the same name as the file", moment_);
    writer.AddMemoryEntry("b.txt", SampleText(6000), moment_);
    writer.AddMemoryEntry("b.txt", SampleText(7000), moment_);
    std::vector<std::string> skipped;
    writer.OnSkippingFile = [&](const std::string& path, SkipReason reason, const std::string&) {
        EXPECT_EQ(reason, SkipReason::DuplicateName);
        skipped.push_back(path);
    };
    EXPECT_EQ(writer.BuildArchive(), 2);
    EXPECT_THAT(skipped, ElementsAre("a.txt", "b.txt"));
    const CheckedArchive archive = CheckArchive(temp_ / "twice.zip");
    EXPECT_THAT(archive.Names(), ElementsAre("a.txt", "b.txt"));
    EXPECT_EQ(archive.Find("a.txt")->data, "from the file");
    EXPECT_TRUE(archive.Find("b.txt")->data == SampleText(6000));
}

TEST_F(MemoryEntries, WithoutAFileNameAreRefusedAndTheArchiveIsNotWritten) {
    for (const char* name : {"", "OEBPS/"}) {
        TZipWriter writer;
        writer.SetZipName(temp_ / "nameless.zip");
        writer.AddMemoryEntry(name, "data", moment_);
        EXPECT_THROW(writer.BuildArchive(), EZipException) << name;
        EXPECT_FALSE(PathExists(temp_ / "nameless.zip"));
    }
}

TEST_F(MemoryEntries, CountInTheProgressOfARun) {
    WriteFile(root_ + "a.txt", "a");
    TZipWriter writer;
    writer.SetZipName(temp_ / "count.zip");
    writer.SetRootDir(root_);
    writer.FilesList = {"a.txt"};
    writer.AddMemoryEntry("b.txt", "b", moment_);
    writer.AddMemoryEntry("c.txt", "c", moment_);
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    writer.OnEntryWritten = [&](std::size_t written, std::size_t listed) {
        progress.emplace_back(written, listed);
    };
    EXPECT_EQ(writer.BuildArchive(), 3);
    using Step = std::pair<std::size_t, std::size_t>;
    EXPECT_THAT(progress, ElementsAre(Step{0, 3}, Step{1, 3}, Step{2, 3}, Step{3, 3}));
}

TEST_F(MemoryEntries, UpdateAnArchiveAsFilesOfTheirNamesWould) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        WriteFile(root_ + name, std::string("old ") + name);
        SetModified(root_ + name, moment_);
    }
    TZipWriter first;
    first.SetZipName(zip_);
    first.SetRootDir(root_);
    first.FilesList = {"*.txt"};
    ASSERT_EQ(first.BuildArchive(), 3);

    // a.txt is newer in memory, b.txt older, d.txt new: a is replaced in place, b kept, d
    // comes after the entries that were there.
    TZipWriter update;
    update.SetZipName(zip_);
    update.AddMemoryEntry("A.TXT", "new a", moment_ + 3600);
    update.AddMemoryEntry("b.txt", "older b", moment_ - 3600);
    update.AddMemoryEntry("d.txt", "new d", moment_);
    EXPECT_EQ(update.BuildArchive(), 2);
    CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    EXPECT_THAT(archive.Names(), ElementsAre("A.TXT", "b.txt", "c.txt", "d.txt"));
    EXPECT_EQ(archive.Find("A.TXT")->data, "new a");
    EXPECT_EQ(archive.Find("b.txt")->data, "old b.txt");

    // Replacing always, an older entry in memory replaces too.
    TZipWriter replace;
    replace.SetZipName(zip_);
    replace.ZipAction = zaReplace;
    replace.AddMemoryEntry("b.txt", "older b", moment_ - 3600);
    EXPECT_EQ(replace.BuildArchive(), 1);
    archive = CheckArchive(zip_);
    EXPECT_THAT(archive.Names(), ElementsAre("A.TXT", "b.txt", "c.txt", "d.txt"));
    EXPECT_EQ(archive.Find("b.txt")->data, "older b");
}

} // namespace
} // namespace folivane::zip::test
