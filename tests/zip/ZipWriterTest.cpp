// The archive job on real folders: what gets packed, under which names, and how.
#include "ZipTestSupport.h"

#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A folder shaped like the book folder of a conversion.
struct BookFolder {
    TempFolder temp;
    std::string book = temp / "EPUB/";

    BookFolder() {
        WriteFile(book + "mimetype", "application/epub+zip");
        WriteFile(book + "META-INF/container.xml", "<?xml version=\"1.0\"?><container/>\n");
        WriteFile(book + "OEBPS/content.opf", SampleText(3000));
        WriteFile(book + "OEBPS/toc.ncx", SampleText(1200));
        WriteFile(book + "OEBPS/0.html", SampleText(90000));
        WriteFile(book + "OEBPS/css/main.css", "body { margin: 0 }\n");
    }
};

// The settings the conversion job gives the writer.
void SetUpLikeTheConversion(TZipWriter& writer, const std::string& book, const std::string& zip) {
    writer.SetZipName(zip);
    writer.SetRootDir(book);
    writer.FilesList = {book + "mimetype", "*.*"};
    writer.NoCompressList = {"mimetype"};
    writer.SetRelativePaths(true);
    writer.SetRecurse(true);
    writer.SetStorePaths(true);
}

TEST(ZipWriter, PacksTheBookFolderWithMimetypeFirstAndStored) {
    BookFolder folder;
    const std::string zip = folder.temp / "book.epub";
    TZipWriter writer;
    SetUpLikeTheConversion(writer, folder.book, zip);
    std::vector<std::string> skipped;
    writer.OnSkippingFile = [&](const std::string& path, SkipReason reason, const std::string&) {
        EXPECT_EQ(reason, SkipReason::DuplicateName);
        skipped.push_back(path);
    };

    EXPECT_EQ(writer.BuildArchive(), 6);

    const CheckedArchive archive = CheckArchive(zip);
    const std::string& b = folder.book;
    EXPECT_TRUE(ArchiveHolds(archive, {{"mimetype", b + "mimetype"},
                                       {"META-INF/container.xml", b + "META-INF/container.xml"},
                                       {"OEBPS/0.html", b + "OEBPS/0.html"},
                                       {"OEBPS/content.opf", b + "OEBPS/content.opf"},
                                       {"OEBPS/css/main.css", b + "OEBPS/css/main.css"},
                                       {"OEBPS/toc.ncx", b + "OEBPS/toc.ncx"}}));
    const CheckedEntry& mimetype = archive.entries.at(0);
    EXPECT_EQ(mimetype.method, 0u);
    EXPECT_EQ(mimetype.headerOffset, 0u);
    EXPECT_EQ(mimetype.local.extra, "");
    // Readers of the container find "mimetype" at offset 38 of the file.
    EXPECT_EQ(mimetype.local.dataOffset, 38u);
    for (std::size_t i = 1; i < archive.entries.size(); ++i)
        EXPECT_EQ(archive.entries[i].method, 8u) << archive.entries[i].name;
    for (const CheckedEntry& entry : archive.entries) {
        EXPECT_EQ(entry.centralExtra, "") << entry.name;
        EXPECT_EQ(entry.comment, "") << entry.name;
    }
    EXPECT_THAT(skipped, ElementsAre(b + "mimetype"));
    EXPECT_THAT(writer.FilesList, IsEmpty());
}

TEST(ZipWriter, DeflatesEveryFileInSearchOrderWithOnlyAMask) {
    BookFolder folder;
    const std::string zip = folder.temp / "book.zip";
    TZipWriter writer;
    writer.SetZipName(zip);
    writer.SetRootDir(folder.book);
    writer.SetRelativePaths(true);
    writer.FilesList = {"*.*"};

    writer.BuildArchive();

    const CheckedArchive archive = CheckArchive(zip);
    ASSERT_TRUE(ReadersAccept(archive));
    EXPECT_THAT(archive.Names(),
                ElementsAre("META-INF/container.xml", "OEBPS/0.html", "OEBPS/content.opf",
                            "OEBPS/css/main.css", "OEBPS/toc.ncx", "mimetype"));
    for (const CheckedEntry& entry : archive.entries)
        EXPECT_EQ(entry.method, 8u) << entry.name;
}

TEST(ZipWriter, WritesOnlyTheEndRecordForAnEmptyFolder) {
    TempFolder temp;
    MakeFolder(temp / "empty");
    TZipWriter writer;
    writer.SetZipName(temp / "empty.zip");
    writer.SetRootDir(temp / "empty");
    writer.FilesList = {"*.*"};

    EXPECT_EQ(writer.BuildArchive(), 0);

    EXPECT_EQ(ReadFile(temp / "empty.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    EXPECT_TRUE(ReadersAccept(CheckArchive(temp / "empty.zip")));
}

TEST(ZipWriter, DoesNothingWithoutAnArchiveName) {
    TempFolder temp;
    WriteFile(temp / "a.txt", "a");
    TZipWriter writer;
    writer.SetZipName("  ");
    writer.FilesList = {temp / "a.txt"};

    EXPECT_EQ(writer.BuildArchive(), 0);
    EXPECT_THAT(FolderEntries(temp.Path()), ElementsAre("a.txt"));
}

TEST(ZipWriter, FillsTheHeadersOfAFileEntry) {
    ScopedTimeZone zone("UTC0");
    TempFolder temp;
    WriteFile(temp / "plain.txt", "plain");
    WriteFile(temp / "locked.txt", "locked");
    SetModified(temp / "plain.txt", LocalMoment(2011, 3, 7, 10, 15, 30));
    SetModified(temp / "locked.txt", LocalMoment(1979, 12, 31, 23, 59, 58));
    ::chmod((temp / "locked.txt").c_str(), 0444);
    TZipWriter writer;
    writer.SetZipName(temp / "headers.zip");
    writer.FilesList = {temp / "plain.txt", temp / "locked.txt"};

    writer.BuildArchive();

    const CheckedArchive archive = CheckArchive(temp / "headers.zip");
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_EQ(archive.entries.size(), 2u);
    const CheckedEntry& plain = archive.entries[0];
    EXPECT_EQ(plain.name, "plain.txt");
    EXPECT_EQ(plain.versionMadeBy, 0x002Du);
    EXPECT_EQ(plain.versionNeeded, 20u);
    EXPECT_EQ(plain.local.versionNeeded, 20u);
    EXPECT_EQ(plain.flags, 0u);
    EXPECT_EQ(plain.internalAttributes, 0u);
    EXPECT_EQ(plain.externalAttributes, 0x20u);
    EXPECT_EQ(plain.local.dosDateTime, 0x3E6751EFu);
    const CheckedEntry& locked = archive.entries[1];
    EXPECT_EQ(locked.externalAttributes, 0x21u);
    EXPECT_EQ(locked.local.dosDateTime, 0xFFFFFFFFu);
}

struct PackLevelRow {
    const char* name;
    int packLevel;
    unsigned method;
    unsigned flags;
};

void PrintTo(const PackLevelRow& row, std::ostream* out) {
    *out << row.name;
}

class ZipWriterPackLevel : public ::testing::TestWithParam<PackLevelRow> {};

TEST_P(ZipWriterPackLevel, SetsMethodAndFlagBits) {
    const PackLevelRow& row = GetParam();
    TempFolder temp;
    WriteFile(temp / "text.txt", SampleText(5000));
    WriteFile(temp / "cover.jpg", RandomBytes(3000, 7));
    TZipWriter writer;
    writer.SetZipName(temp / "level.zip");
    writer.PackLevel = row.packLevel;
    writer.NoCompressList = {"*.JPG"};
    writer.FilesList = {temp / "text.txt", temp / "cover.jpg"};

    writer.BuildArchive();

    const CheckedArchive archive = CheckArchive(temp / "level.zip");
    ASSERT_TRUE(ArchiveHolds(archive,
                             {{"text.txt", temp / "text.txt"}, {"cover.jpg", temp / "cover.jpg"}}));
    EXPECT_EQ(archive.entries[0].method, row.method);
    EXPECT_EQ(archive.entries[0].flags, row.flags);
    // The picture is stored whatever the level, and carries the level's flags all the same.
    EXPECT_EQ(archive.entries[1].method, 0u);
    EXPECT_EQ(archive.entries[1].flags, row.flags);
    EXPECT_EQ(archive.entries[1].compressedSize, 3000u);
}

INSTANTIATE_TEST_SUITE_P(Levels, ZipWriterPackLevel,
                         ::testing::Values(PackLevelRow{"level0_stores_everything", 0, 0, 0x0004},
                                           PackLevelRow{"level1_is_fast", 1, 8, 0x0004},
                                           PackLevelRow{"level2_is_fast", 2, 8, 0x0004},
                                           PackLevelRow{"level3_is_normal", 3, 8, 0},
                                           PackLevelRow{"level6_is_normal", 6, 8, 0},
                                           PackLevelRow{"level8_is_maximum", 8, 8, 0x0002},
                                           PackLevelRow{"level9_is_maximum", 9, 8, 0x0002}),
                         RowName());

TEST(ZipWriter, RoundTripsDataAcrossTheDeflateBlockEdges) {
    TempFolder temp;
    std::vector<std::pair<std::string, std::string>> expected;
    TZipWriter writer;
    writer.SetZipName(temp / "sizes.zip");
    for (std::size_t size : {0u, 1u, 65534u, 65535u, 65536u, 200000u}) {
        const std::string name = "text" + std::to_string(size);
        WriteFile(temp / name, SampleText(size));
        writer.FilesList.push_back(temp / name);
        expected.emplace_back(name, temp / name);
    }
    for (std::size_t size : {1u, 65535u, 200000u}) {
        const std::string name = "random" + std::to_string(size);
        WriteFile(temp / name, RandomBytes(size, static_cast<unsigned>(size)));
        writer.FilesList.push_back(temp / name);
        expected.emplace_back(name, temp / name);
    }
    WriteFile(temp / "check", "123456789");
    writer.FilesList.push_back(temp / "check");
    expected.emplace_back("check", temp / "check");

    writer.BuildArchive();

    const CheckedArchive archive = CheckArchive(temp / "sizes.zip");
    EXPECT_TRUE(ArchiveHolds(archive, expected));
    const CheckedEntry* empty = archive.Find("text0");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->method, 8u);
    EXPECT_EQ(empty->compressedSize, 2u);
    EXPECT_EQ(empty->crc, 0u);
    // Random bytes stay deflated, although their deflate stream is longer than they are.
    const CheckedEntry* random = archive.Find("random1");
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(random->method, 8u);
    EXPECT_GT(random->compressedSize, 1u);
    ASSERT_NE(archive.Find("check"), nullptr);
    EXPECT_EQ(archive.Find("check")->crc, 0xCBF43926u);
}

TEST(ZipWriter, StoresNamesRelativeToTheRootOnlyWhenAsked) {
    TempFolder temp;
    WriteFile(temp / "root/top.txt", "top");
    WriteFile(temp / "root/sub/deep.txt", "deep");
    TZipWriter flat;
    flat.SetZipName(temp / "flat.zip");
    flat.SetRootDir(temp / "root");
    flat.SetRecurse(true);
    flat.FilesList = {"*.txt"};
    flat.BuildArchive();
    TZipWriter absolute;
    absolute.SetZipName(temp / "absolute.zip");
    absolute.SetStorePaths(true);
    absolute.FilesList = {temp / "root/sub/deep.txt"};
    absolute.BuildArchive();

    // Without StorePaths only the names are kept, in the search's depth-first order.
    EXPECT_THAT(CheckArchive(temp / "flat.zip").Names(), ElementsAre("deep.txt", "top.txt"));
    // Without RelativePaths the whole folder is stored, less its leading "/".
    const std::string expected = (temp / "root/sub/deep.txt").substr(1);
    EXPECT_THAT(CheckArchive(temp / "absolute.zip").Names(), ElementsAre(expected));
}

} // namespace
} // namespace folivane::zip::test
