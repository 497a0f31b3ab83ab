// Expansion of the file list: plain names, masks and their prefixes, exclusions, and the
// files that are left out (each reported).
#include "ZipTestSupport.h"

#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FileList : public ::testing::Test {
protected:
    FileList() {
        WriteFile(root_ + "a.txt", "a");
        WriteFile(root_ + "b.bak", "b");
        WriteFile(root_ + "sub/c.txt", "c");
        WriteFile(root_ + "sub/d.bak", "d");
        writer_.SetZipName(zip_);
        writer_.SetRootDir(root_);
        writer_.SetStorePaths(true);
        writer_.SetRelativePaths(true);
    }

    std::vector<std::string> Build() {
        writer_.BuildArchive();
        const CheckedArchive archive = CheckArchive(zip_);
        EXPECT_TRUE(ReadersAccept(archive));
        return archive.Names();
    }

    TempFolder temp_;
    std::string root_ = temp_ / "root/";
    std::string zip_ = temp_ / "out.zip";
    TZipWriter writer_;
};

TEST_F(FileList, PutsPlainNamesBeforeTheFilesOfMasks) {
    writer_.FilesList = {"*.bak", "a.txt", root_ + "sub/c.txt"};

    EXPECT_THAT(Build(), ElementsAre("a.txt", "sub/c.txt", "b.bak", "sub/d.bak"));
}

TEST_F(FileList, LetsAMaskPrefixSwitchRecursionOffOrOn) {
    writer_.SetRecurse(true);
    writer_.FilesList = {"|*.txt"};
    EXPECT_THAT(Build(), ElementsAre("a.txt"));

    ::unlink(zip_.c_str());
    writer_.SetRecurse(false);
    writer_.FilesList = {">*.bak"};
    EXPECT_THAT(Build(), ElementsAre("b.bak", "sub/d.bak"));
}

TEST_F(FileList, SearchesTheFolderAMaskNames) {
    writer_.FilesList = {root_ + "sub/*.*"};

    EXPECT_THAT(Build(), ElementsAre("sub/c.txt", "sub/d.bak"));
}

TEST_F(FileList, LeavesOutWhatTheExcludeListMatches) {
    writer_.FilesList = {"*.*", "b.bak"};
    writer_.ExcludeList = {"*.BAK", root_ + "sub/c.*"};

    EXPECT_THAT(Build(), ElementsAre("a.txt"));
}

TEST_F(FileList, NeverPacksTheArchiveIntoItself) {
    zip_ = root_ + "inside.zip";
    writer_.SetZipName(zip_);
    writer_.FilesList = {"*.txt"};
    EXPECT_THAT(Build(), ElementsAre("a.txt", "sub/c.txt"));

    // The second run updates the archive, which now lies in the searched folder.
    writer_.FilesList = {"*.*"};
    EXPECT_THAT(Build(), ElementsAre("a.txt", "sub/c.txt", "b.bak", "sub/d.bak"));
}

TEST_F(FileList, ReportsFilesThatAreMissing) {
    std::vector<std::string> missing;
    writer_.OnNoSuchFile = [&](const std::string& path) { missing.push_back(path); };
    // The first check point falls in the search, after a.txt was listed.
    writer_.OnDispatchMessages = [&] { ::unlink((root_ + "a.txt").c_str()); };
    writer_.FilesList = {"gone.txt", root_ + "sub", "|*.txt"};

    EXPECT_THAT(Build(), IsEmpty());
    EXPECT_THAT(missing, ElementsAre(root_ + "gone.txt", root_ + "sub", root_ + "a.txt"));
}

TEST_F(FileList, LeavesOutTheSecondOfTwoNamesThatDifferInCaseOnly) {
    WriteFile(root_ + "A.TXT", "capital");
    std::vector<std::pair<std::string, SkipReason>> skipped;
    writer_.OnSkippingFile = [&](const std::string& path, SkipReason reason, const std::string&) {
        skipped.emplace_back(path, reason);
    };
    writer_.FilesList = {"|*.txt"};

    EXPECT_THAT(Build(), ElementsAre("A.TXT"));
    EXPECT_THAT(skipped, ElementsAre(std::make_pair(root_ + "a.txt", SkipReason::DuplicateName)));
}

TEST_F(FileList, CompletesTheArchiveWithoutAFileThatCannotBeOpened) {
    // A socket has a name in the folder, but nobody can open it, not even root.
    const std::string socketPath = root_ + "a.sock";
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socket, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    std::vector<std::pair<std::string, SkipReason>> skipped;
    writer_.OnSkippingFile = [&](const std::string& path, SkipReason reason, const std::string&) {
        skipped.emplace_back(path, reason);
    };
    writer_.FilesList = {"a.sock", "a.txt"};

    EXPECT_THAT(Build(), ElementsAre("a.txt"));
    EXPECT_THAT(skipped, ElementsAre(std::make_pair(socketPath, SkipReason::Unreadable)));
    ::close(socket);
}

TEST(FileListWithoutRoot, SearchesTheWorkingFolder) {
    TempFolder temp;
    WriteFile(temp / "here.txt", "here");
    WriteFile(temp / "there.txt", "there");
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(temp.Path().c_str()), 0);
    TZipWriter writer;
    writer.SetZipName("out.zip");
    writer.FilesList = {"here.txt", "*.txt"};

    const int added = writer.BuildArchive();

    ASSERT_EQ(::chdir(saved), 0);
    EXPECT_EQ(added, 2);
    EXPECT_TRUE(ArchiveHolds(CheckArchive(temp / "out.zip"),
                             {{"here.txt", temp / "here.txt"}, {"there.txt", temp / "there.txt"}}));
}

TEST(WriterSettings, AdjustEachOtherInTheirSetters) {
    TZipWriter writer;
    writer.SetRelativePaths(true);
    EXPECT_TRUE(writer.StorePaths());
    EXPECT_TRUE(writer.Recurse());

    writer.SetStoreVolumes(true);
    writer.SetStorePaths(false);
    EXPECT_FALSE(writer.StoreVolumes());
    EXPECT_FALSE(writer.RelativePaths());

    writer.SetStoreVolumes(true);
    EXPECT_TRUE(writer.StorePaths());

    writer.SetRootDir("/t/EPUB");
    EXPECT_EQ(writer.RootDir(), "/t/EPUB/");
    writer.SetRootDir("");
    EXPECT_EQ(writer.RootDir(), "");
}

TEST(WriterSettings, SearchForVisibleFilesOnlyByDefault) {
    TZipWriter writer;
    EXPECT_EQ(writer.SearchAttributes(), 0x39u);

    writer.SetIncludeHiddenFiles(true);
    writer.SetIncludeSysFiles(true);
    EXPECT_EQ(writer.SearchAttributes(), 0x3Fu);
}

} // namespace
} // namespace folivane::zip::test
