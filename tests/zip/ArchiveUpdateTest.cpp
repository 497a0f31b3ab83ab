// Updating an archive that exists: old entries kept or replaced in place, new files after them.
#include "ZipTestSupport.h"

#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ArchiveUpdate : public ::testing::Test {
protected:
    ArchiveUpdate() : zone_("UTC0") {}

    // Packs the files of `root` matching `mask` into `zip` with a writer of its own.
    static int Pack(const std::string& zip, const std::string& root, std::vector<std::string> files,
                    TZipAction action = zaUpdate) {
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.SetRootDir(root);
        writer.SetRelativePaths(true);
        writer.FilesList = std::move(files);
        writer.ZipAction = action;
        writer.TempPath = root;
        return writer.BuildArchive();
    }

    ScopedTimeZone zone_;
    TempFolder temp_;
    std::string root_ = temp_ / "root/";
    std::string zip_ = temp_ / "book.zip";
    std::time_t t0_ = LocalMoment(2011, 3, 7, 10, 0, 0);
};

TEST_F(ArchiveUpdate, ReplacesNewerFilesInPlaceAndAppendsFilesItDidNotHave) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        WriteFile(root_ + name, std::string("old ") + name);
        SetModified(root_ + name, t0_);
    }
    ASSERT_EQ(Pack(zip_, root_, {"*.txt"}), 3);
    const CheckedArchive before = CheckArchive(zip_);
    ASSERT_EQ(before.entries.size(), 3u);
    const std::string oldBytes = ReadFile(zip_);
    WriteFile(root_ + "b.txt", "new b, longer than before");
    SetModified(root_ + "b.txt", t0_ + 3600);
    WriteFile(root_ + "d.txt", "d is new");

    EXPECT_EQ(Pack(zip_, root_, {"*.txt"}), 2);

    const CheckedArchive after = CheckArchive(zip_);
    ASSERT_TRUE(ArchiveHolds(after, {{"a.txt", root_ + "a.txt"},
                                     {"b.txt", root_ + "b.txt"},
                                     {"c.txt", root_ + "c.txt"},
                                     {"d.txt", root_ + "d.txt"}}));
    // Kept entries are copied as they were, not compressed again.
    EXPECT_EQ(RawEntryData(ReadFile(zip_), after.entries[0]),
              RawEntryData(oldBytes, before.entries[0]));
    EXPECT_EQ(after.entries[2].crc, before.entries[2].crc);
    EXPECT_THAT(FolderEntries(root_), ElementsAre("a.txt", "b.txt", "c.txt", "d.txt"));
}

struct DateRow {
    const char* name;
    int fileMinusEntrySeconds;
    TZipAction action;
    bool replaced;
};

void PrintTo(const DateRow& row, std::ostream* out) {
    *out << row.name;
}

class ArchiveUpdateDates : public ArchiveUpdate, public ::testing::WithParamInterface<DateRow> {};

TEST_P(ArchiveUpdateDates, ReplacesAnEntryOnlyWhenTheFileIsNewer) {
    const DateRow& row = GetParam();
    WriteFile(root_ + "page.html", "old page");
    SetModified(root_ + "page.html", t0_);
    Pack(zip_, root_, {"*.html"});
    WriteFile(root_ + "page.html", "new page");
    SetModified(root_ + "page.html", t0_ + row.fileMinusEntrySeconds);

    EXPECT_EQ(Pack(zip_, root_, {"*.html"}, row.action), row.replaced ? 1 : 0);

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_THAT(archive.Names(), ElementsAre("page.html"));
    EXPECT_EQ(archive.entries[0].data, row.replaced ? "new page" : "old page");
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ArchiveUpdateDates,
    ::testing::Values(DateRow{"newer_file_replaces", 2, zaUpdate, true},
                      DateRow{"same_two_second_step_keeps", 1, zaUpdate, false},
                      DateRow{"equal_date_keeps", 0, zaUpdate, false},
                      DateRow{"older_file_keeps", -3600, zaUpdate, false},
                      DateRow{"freshen_is_update_here", 3600, zaFreshen, true},
                      DateRow{"replace_takes_even_older_files", -3600, zaReplace, true}),
    RowName());

TEST_F(ArchiveUpdate, NamesAnEntryByALineWhateverTheCaseAndTakesTheFilesSpelling) {
    ASSERT_TRUE(RunPython("import sys, zipfile\n"
                          "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                          "    z.writestr(zipfile.ZipInfo('OEBPS/1.HTML', (2001, 1, 1, 0, 0, 0)),"
                          " 'old chapter')\n"
                          "    z.writestr(zipfile.ZipInfo('OEBPS/2.html', (2001, 1, 1, 0, 0, 0)),"
                          " 'kept chapter')\n",
                          {zip_}));
    WriteFile(root_ + "OEBPS/1.html", "new chapter");

    EXPECT_EQ(Pack(zip_, root_, {"*.*"}), 1);

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_THAT(archive.Names(), ElementsAre("OEBPS/1.html", "OEBPS/2.html"));
    EXPECT_EQ(archive.entries[0].data, "new chapter");
    EXPECT_EQ(archive.entries[1].data, "kept chapter");
}

TEST_F(ArchiveUpdate, TakesAnEmptyFileForAnArchiveWithoutEntries) {
    WriteFile(zip_, "");
    WriteFile(root_ + "a.txt", "a");

    EXPECT_EQ(Pack(zip_, root_, {"a.txt"}), 1);

    EXPECT_TRUE(ArchiveHolds(CheckArchive(zip_), {{"a.txt", root_ + "a.txt"}}));
}

TEST_F(ArchiveUpdate, LeavesAFileThatIsNoArchiveAsItWas) {
    const std::string text = "These are notes, not an archive.\n";
    WriteFile(zip_, text);
    WriteFile(root_ + "a.txt", "a");
    TZipWriter writer;
    writer.SetZipName(zip_);
    writer.SetRootDir(root_);
    writer.TempPath = root_;
    writer.FilesList = {"a.txt"};

    try {
        writer.BuildArchive();
        FAIL() << "no exception";
    } catch (const EIncompleteZip& e) {
        EXPECT_STREQ(e.what(), "Incomplete Zip File");
    }
    EXPECT_EQ(ReadFile(zip_), text);
    EXPECT_THAT(FolderEntries(root_), ElementsAre("a.txt")); // no temporary archive
    EXPECT_THAT(writer.FilesList, IsEmpty());
}

TEST_F(ArchiveUpdate, DropsBytesBeforeTheFirstEntry) {
    WriteFile(temp_ / "in/old.txt", "old entry");
    ASSERT_EQ(Pack(temp_ / "plain.zip", temp_ / "in", {"old.txt"}), 1);
    // A program in front of the archive, with the offsets adjusted as Info-ZIP does.
    WriteFile(zip_, "#!/bin/sh\nexit 0\n" + std::string(100, '\0') + ReadFile(temp_ / "plain.zip"));
    ASSERT_EQ(std::system(("zip -q -A " + zip_).c_str()), 0);
    ASSERT_TRUE(ReadersAccept(CheckArchive(zip_)));
    WriteFile(root_ + "new.txt", "new entry");

    EXPECT_EQ(Pack(zip_, root_, {"new.txt"}), 1);

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(
        ArchiveHolds(archive, {{"old.txt", temp_ / "in/old.txt"}, {"new.txt", root_ + "new.txt"}}));
    EXPECT_EQ(archive.entries[0].headerOffset, 0u);
}

TEST_F(ArchiveUpdate, CarriesCommentsAndLocalExtraFieldsOver) {
    ASSERT_TRUE(RunPython("import sys, zipfile\n"
                          "info = zipfile.ZipInfo('noted.txt', (2001, 1, 1, 0, 0, 0))\n"
                          "info.comment = b'entry comment'\n"
                          "info.extra = b'\\xfe\\xca\\x04\\x00abcd'\n"
                          "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                          "    z.writestr(info, 'noted ' * 50)\n"
                          "    z.comment = b'archive comment'\n",
                          {zip_}));
    WriteFile(root_ + "new.txt", "new");

    Pack(zip_, root_, {"new.txt"});

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_THAT(archive.Names(), ElementsAre("noted.txt", "new.txt"));
    EXPECT_EQ(archive.comment, "archive comment");
    const CheckedEntry& noted = archive.entries[0];
    EXPECT_EQ(noted.comment, "entry comment");
    EXPECT_EQ(noted.local.extra, std::string("\xFE\xCA\x04\x00", 4) + "abcd");
    EXPECT_EQ(noted.centralExtra, ""); // central extra fields are not carried over
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "noted ";
    EXPECT_EQ(noted.data, text);
}

TEST_F(ArchiveUpdate, RewritesEntriesThatHadDataDescriptorsWithoutThem) {
    ASSERT_TRUE(RunPython(
        "import io, sys, zipfile\n"
        "class Pipe(io.RawIOBase):\n"
        "    def __init__(self, f): self.f = f\n"
        "    def writable(self): return True\n"
        "    def write(self, b): return self.f.write(b)\n"
        "with open(sys.argv[1], 'wb') as f:\n"
        "    with zipfile.ZipFile(Pipe(f), 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "        with z.open(zipfile.ZipInfo('streamed.txt', (2001, 1, 1, 0, 0, 0)), 'w') as e:\n"
        "            e.write(b'streamed data ' * 100)\n",
        {zip_}));
    ASSERT_NE(CheckArchive(zip_).entries.at(0).flags & 0x0008u, 0u);
    WriteFile(root_ + "new.txt", "new");

    Pack(zip_, root_, {"new.txt"});

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_THAT(archive.Names(), ElementsAre("streamed.txt", "new.txt"));
    EXPECT_EQ(archive.entries[0].flags & 0x0008u, 0u);
    EXPECT_EQ(archive.entries[0].data.size(), 1400u);
}

TEST_F(ArchiveUpdate, KeepsTheNamesOfEntriesItDoesNotReplaceByteForByte) {
    // zipfile writes names beyond ASCII in UTF-8 and says so with flag bit 11.
    ASSERT_TRUE(RunPython("import sys, zipfile\n"
                          "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                          "    z.writestr('caf\\u00e9/\\u4e66.txt', 'kept')\n",
                          {zip_}));
    const CheckedArchive before = CheckArchive(zip_);
    WriteFile(root_ + "new.txt", "new");

    Pack(zip_, root_, {"new.txt"});

    const CheckedArchive after = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(after));
    ASSERT_EQ(after.entries.size(), 2u);
    EXPECT_EQ(after.entries[0].rawName, before.entries.at(0).rawName);
    EXPECT_EQ(after.entries[0].name, "caf\xC3\xA9/\xE4\xB9\xA6.txt");
    EXPECT_EQ(after.entries[0].flags & 0x0800u, 0x0800u);
}

TEST_F(ArchiveUpdate, KeepsTheNamesItStoredItselfOnUpdate) {
    WriteFile(root_ + "caf\xC3\xA9.txt", "accented");
    Pack(zip_, root_, {"*.txt"});
    const CheckedArchive before = CheckArchive(zip_);
    WriteFile(root_ + "z.txt", "new");

    Pack(zip_, root_, {"z.txt"});

    const CheckedArchive after = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(after));
    ASSERT_EQ(after.entries.size(), 2u);
    EXPECT_EQ(after.entries[0].rawName, before.entries.at(0).rawName);
}

TEST_F(ArchiveUpdate, LeavesTheOldEntryWhenTheNewerFileVanishes) {
    WriteFile(root_ + "a.txt", "old");
    SetModified(root_ + "a.txt", t0_);
    Pack(zip_, root_, {"a.txt"});
    SetModified(root_ + "a.txt", t0_ + 3600);
    TZipWriter writer;
    writer.SetZipName(zip_);
    writer.SetRootDir(root_);
    writer.FilesList = {"a.txt"};
    std::vector<std::string> missing;
    writer.OnNoSuchFile = [&](const std::string& path) { missing.push_back(path); };
    // The first check point comes after the list was expanded, before the entry is replaced.
    writer.OnDispatchMessages = [&] { std::remove((root_ + "a.txt").c_str()); };

    EXPECT_EQ(writer.BuildArchive(), 0);

    const CheckedArchive archive = CheckArchive(zip_);
    ASSERT_TRUE(ReadersAccept(archive));
    ASSERT_THAT(archive.Names(), ElementsAre("a.txt"));
    EXPECT_EQ(archive.entries[0].data, "old");
    EXPECT_THAT(missing, ElementsAre(root_ + "a.txt"));
}

TEST_F(ArchiveUpdate, UpdatesAgainFromTheViewItKept) {
    WriteFile(root_ + "a.txt", "a");
    SetModified(root_ + "a.txt", t0_);
    TZipWriter writer;
    writer.SetZipName(zip_);
    writer.SetRootDir(root_);
    writer.FilesList = {"a.txt"};
    writer.BuildArchive();
    ASSERT_NE(writer.ArchiveDirectory(), nullptr);
    ASSERT_EQ(writer.ArchiveDirectory()->Count(), 1u);
    WriteFile(root_ + "b.txt", "b");
    writer.FilesList = {"a.txt", "b.txt"};

    EXPECT_EQ(writer.BuildArchive(), 1);

    EXPECT_TRUE(
        ArchiveHolds(CheckArchive(zip_), {{"a.txt", root_ + "a.txt"}, {"b.txt", root_ + "b.txt"}}));
    EXPECT_EQ(writer.ArchiveDirectory()->Count(), 2u);
    writer.SetZipName(zip_);
    EXPECT_NE(writer.ArchiveDirectory(), nullptr);
    writer.SetZipName(temp_ / "other.zip");
    EXPECT_EQ(writer.ArchiveDirectory(), nullptr);
}

TEST_F(ArchiveUpdate, MovesTheTemporaryArchiveAcrossFileSystems) {
    struct stat here {};
    struct stat shm {};
    if (::stat(temp_.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev)
        GTEST_SKIP() << "needs /dev/shm on another file system than the temporary folder";
    char pattern[] = "/dev/shm/zip-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string elsewhere = std::string(pattern) + "/";
    WriteFile(root_ + "a.txt", "a");
    Pack(zip_, root_, {"a.txt"});
    ::chmod(zip_.c_str(), 0640);
    WriteFile(root_ + "b.txt", "b");
    TZipWriter writer;
    writer.SetZipName(zip_);
    writer.SetRootDir(root_);
    writer.TempPath = elsewhere;
    writer.FilesList = {"b.txt"};

    writer.BuildArchive();

    EXPECT_TRUE(
        ArchiveHolds(CheckArchive(zip_), {{"a.txt", root_ + "a.txt"}, {"b.txt", root_ + "b.txt"}}));
    EXPECT_THAT(FolderEntries(elsewhere), IsEmpty());
    EXPECT_THAT(FolderEntries(temp_.Path()), ElementsAre("book.zip", "root"));
    struct stat result {};
    ASSERT_EQ(::stat(zip_.c_str(), &result), 0);
    EXPECT_EQ(result.st_mode & 07777, 0640u); // the replaced file's permissions
    ::rmdir(pattern);
}

TEST_F(ArchiveUpdate, ReplacesTheArchiveWithAFreshOneWhenAskedToReplaceAtomically) {
    WriteFile(root_ + "old.txt", "old");
    Pack(zip_, root_, {"old.txt"});
    WriteFile(root_ + "new.txt", "new");
    TZipWriter writer;
    writer.SetZipName(zip_);
    writer.SetRootDir(root_);
    writer.AtomicReplace = true;
    writer.FilesList = {"new.txt"};

    EXPECT_EQ(writer.BuildArchive(), 1);

    EXPECT_TRUE(ArchiveHolds(CheckArchive(zip_), {{"new.txt", root_ + "new.txt"}}));
    EXPECT_THAT(FolderEntries(temp_.Path()), ElementsAre("book.zip", "root"));
}

} // namespace
} // namespace folivane::zip::test
