// Failures while writing: refused bytes, a file-size limit, unwritable folders, shrinking
// sources, and archives beyond what the format holds without Zip64.
#include "ZipTestSupport.h"

#include "zip/ArchiveOutput.h"
#include "zip/BufferStream.h"
#include "zip/EndCentral.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(WriteFailure, RaisesNotEnoughRoomWhenTheArchiveTakesFewerBytes) {
    MemoryStream inner;
    inner.SetWriteLimit(100);
    TS_BufferStream archive(inner, 64);
    const std::string block(200, 'b');

    try {
        WriteArchiveBytes(archive, block);
        FAIL() << "no exception";
    } catch (const ENotEnoughRoom& e) {
        EXPECT_THAT(e.what(), HasSubstr("Not enough room to write archive"));
        EXPECT_THAT(e.what(), HasSubstr("No space left on device"));
    }
}

TEST(WriteFailure, RemembersABufferedWriteThatWasRefusedEarlier) {
    MemoryStream inner;
    inner.SetWriteLimit(10);
    TS_BufferStream archive(inner, 16);
    archive.Write(std::string(16, 'a').data(), 16); // the flush of this block was cut short
    ASSERT_TRUE(archive.WriteFailed());

    // A later record fits the buffer, yet the archive is already incomplete.
    TEndCentral end;
    EXPECT_THROW(end.SaveEndRecord(archive), ENotEnoughRoom);
}

// Builds `zip` from `files` in a child process whose files may not grow beyond `limit`
// bytes, with SIGXFSZ ignored so that write() fails with EFBIG. The child's status:
// 0 the run raised, 1 it succeeded, 2 it raised something unexpected.
int BuildUnderSizeLimit(const std::string& zip, const std::vector<std::string>& files, rlim_t limit,
                        const std::string& tempPath = "") {
    return RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) return 3;
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.TempPath = tempPath;
        writer.CompressionThreads = 1;
        writer.FilesList = files;
        try {
            writer.BuildArchive();
            return 1;
        } catch (const ENotEnoughRoom&) {
            return 0;
        } catch (const EWriteError&) {
            return 0;
        } catch (...) {
            return 2;
        }
    });
}

class FileSizeLimit : public ::testing::Test {
protected:
    FileSizeLimit() {
        WriteFile(temp_ / "in/big.bin", RandomBytes(300000, 5));
        WriteFile(temp_ / "in/small.txt", SampleText(1000));
        files_ = {temp_ / "in/small.txt", temp_ / "in/big.bin"};
        TZipWriter writer;
        writer.SetZipName(temp_ / "probe.zip");
        writer.FilesList = files_;
        writer.BuildArchive();
        fullSize_ = static_cast<rlim_t>(ReadFile(temp_ / "probe.zip").size());
    }

    TempFolder temp_;
    std::vector<std::string> files_;
    rlim_t fullSize_ = 0;
};

TEST_F(FileSizeLimit, FailsInTheMiddleOfAnEntryAndLeavesNoArchive) {
    EXPECT_EQ(BuildUnderSizeLimit(temp_ / "out.zip", files_, 100000), 0);
    EXPECT_FALSE(PathExists(temp_ / "out.zip"));
}

TEST_F(FileSizeLimit, FailsWhenOnlyTheLastByteCannotBeWritten) {
    // Every byte but the last fits: only the final flush, when the file is closed, fails.
    EXPECT_EQ(BuildUnderSizeLimit(temp_ / "out.zip", files_, fullSize_ - 1), 0);
    EXPECT_FALSE(PathExists(temp_ / "out.zip"));
}

TEST_F(FileSizeLimit, SucceedsWhenTheArchiveFitsExactly) {
    EXPECT_EQ(BuildUnderSizeLimit(temp_ / "out.zip", files_, fullSize_), 1);
    EXPECT_TRUE(ArchiveHolds(CheckArchive(temp_ / "out.zip"),
                             {{"small.txt", files_[0]}, {"big.bin", files_[1]}}));
}

TEST_F(FileSizeLimit, LeavesTheExistingArchiveWhenTheUpdateCannotBeWritten) {
    const std::string zip = temp_ / "probe.zip";
    const std::string before = ReadFile(zip);
    WriteFile(temp_ / "in/more.bin", RandomBytes(200000, 6));
    MakeFolder(temp_ / "scratch");

    EXPECT_EQ(
        BuildUnderSizeLimit(zip, {temp_ / "in/more.bin"}, fullSize_ + 1000, temp_ / "scratch"), 0);

    EXPECT_TRUE(SameBytes(ReadFile(zip), before));
    EXPECT_THAT(FolderEntries(temp_ / "scratch"), IsEmpty());
}

TEST(WriteFailure, NamesTheOutputThatCannotBeCreated) {
    TempFolder temp;
    WriteFile(temp / "a.txt", "a");
    WriteFile(temp / "plain-file", "not a folder");
    std::string zip = temp / "plain-file/book.zip";
    std::string reason = "Not a directory";
    if (::geteuid() != 0) {
        // Permission bits stop everyone but root.
        MakeFolder(temp / "locked");
        ::chmod((temp / "locked").c_str(), 0555);
        zip = temp / "locked/book.zip";
        reason = "Permission denied";
    }
    for (bool atomic : {false, true}) {
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.AtomicReplace = atomic;
        writer.FilesList = {temp / "a.txt"};
        try {
            writer.BuildArchive();
            ADD_FAILURE() << "no exception";
        } catch (const EFCreateError& e) {
            EXPECT_THAT(e.what(), HasSubstr("Cannot create file \""));
            EXPECT_THAT(e.what(), HasSubstr(zip));
            EXPECT_THAT(e.what(), HasSubstr(reason));
        }
        EXPECT_THAT(writer.FilesList, IsEmpty());
    }
}

TEST(WriteFailure, RecordsTheBytesReadFromASourceThatShrinks) {
    for (int packLevel : {0, 6}) {
        SCOPED_TRACE(packLevel);
        TempFolder temp;
        const std::string source = temp / "shrinking.bin";
        const std::string original = RandomBytes(300000, 8);
        WriteFile(source, original);
        TZipWriter writer;
        writer.SetZipName(temp / "out.zip");
        writer.PackLevel = packLevel;
        writer.CompressionThreads = 1;
        writer.FilesList = {source};
        // The first check point comes after the first block of the entry was read.
        writer.OnDispatchMessages = [&] { EXPECT_EQ(::truncate(source.c_str(), 200000), 0); };
        std::vector<std::pair<int, std::string>> messages;
        writer.OnHandleMessage = [&](int id, const std::string& text, const std::string& caption,
                                     std::uint32_t) {
            messages.emplace_back(id, caption);
            EXPECT_THAT(text, HasSubstr("300000"));
            return 1;
        };

        EXPECT_EQ(writer.BuildArchive(), 1);

        EXPECT_THAT(messages, ElementsAre(std::make_pair(208, source)));
        const CheckedArchive archive = CheckArchive(temp / "out.zip");
        ASSERT_TRUE(ReadersAccept(archive));
        ASSERT_EQ(archive.entries.size(), 1u);
        EXPECT_EQ(archive.entries[0].fileSize, 200000u);
        EXPECT_TRUE(SameBytes(archive.entries[0].data, original.substr(0, 200000)));
    }
}

TEST(WriteFailure, RefusesAFileThatNeedsZip64) {
    TempFolder temp;
    const std::string huge = temp / "huge.bin";
    WriteFile(huge, "");
    ASSERT_EQ(::truncate(huge.c_str(), 0xFFFFFFFF), 0); // sparse: no disk space is used
    TZipWriter writer;
    writer.SetZipName(temp / "out.zip");
    writer.FilesList = {huge};

    try {
        writer.BuildArchive();
        FAIL() << "no exception";
    } catch (const EZipException& e) {
        EXPECT_THAT(e.what(), HasSubstr("Zip64"));
    }
    EXPECT_FALSE(PathExists(temp / "out.zip"));
}

class EntryCountLimit : public ::testing::Test {
protected:
    // An archive of `count` empty entries made by zipfile, and one more file to add.
    void MakeArchive(int count) {
        ASSERT_TRUE(RunPython("import sys, zipfile\n"
                              "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                              "    for i in range(int(sys.argv[2])):\n"
                              "        z.writestr('e%05d' % i, b'')\n",
                              {zip_, std::to_string(count)}));
        WriteFile(temp_ / "root/extra.txt", "one more");
        MakeFolder(temp_ / "scratch");
    }
    int Update() {
        TZipWriter writer;
        writer.SetZipName(zip_);
        writer.TempPath = temp_ / "scratch";
        writer.FilesList = {temp_ / "root/extra.txt"};
        return writer.BuildArchive();
    }

    TempFolder temp_;
    std::string zip_ = temp_ / "many.zip";
};

TEST_F(EntryCountLimit, RefusesThe65535thEntry) {
    MakeArchive(65534);
    const std::string before = ReadFile(zip_);

    try {
        Update();
        FAIL() << "no exception";
    } catch (const EZipException& e) {
        EXPECT_THAT(e.what(), HasSubstr("65,535 entries"));
    }
    EXPECT_TRUE(SameBytes(ReadFile(zip_), before));
    EXPECT_THAT(FolderEntries(temp_ / "scratch"), IsEmpty());
}

TEST_F(EntryCountLimit, WritesTheLargestArchiveWithoutZip64) {
    MakeArchive(65533);

    EXPECT_EQ(Update(), 1);

    const CheckedArchive archive = CheckArchive(zip_);
    EXPECT_TRUE(ReadersAccept(archive));
    ASSERT_EQ(archive.entries.size(), 65534u);
    EXPECT_EQ(archive.entries.back().name, "extra.txt");
    const std::string bytes = ReadFile(zip_);
    EXPECT_EQ(GetU16(bytes, bytes.size() - 12), 65534u); // total entries of the end record
}

} // namespace
} // namespace folivane::zip::test
