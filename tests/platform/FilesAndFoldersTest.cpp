// The seam itself, whole-file writes, lock files and tree removal under injected faults.
#include "platform/FileDescriptor.h"
#include "platform/FolderLock.h"
#include "platform/FolderTree.h"
#include "platform/RegularFile.h"
#include "platform/SystemCalls.h"
#include "platform/SystemError.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

namespace folivane::platform {
namespace {

using test::ListNames;
using test::PathExists;
using test::ScratchFolder;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

TEST(FaultInjection, FailsTheNthMatchingCallOfThisThreadOnly) {
    ScratchFolder scratch;
    FaultInjection faults({{Call::MakeFolder, ENOSPC, 2, "/b"}});
    EXPECT_EQ(MakeFolder(scratch / "a"), 0);  // no match: another path
    EXPECT_EQ(MakeFolder(scratch / "b1"), 0); // first match
    int other = -1;
    std::thread([&] { other = MakeFolder(scratch / "b2"); }).join();
    EXPECT_EQ(other, 0); // another thread's call is not seen
    EXPECT_EQ(MakeFolder(scratch / "b3"), ENOSPC);
    EXPECT_EQ(MakeFolder(scratch / "b4"), 0);
    EXPECT_EQ(faults.Injected(0), 1);
    EXPECT_EQ(faults.Calls(Call::MakeFolder), 4);
}

TEST(FaultInjection, CallsOnADescriptorMatchByThePathItWasOpenedWith) {
    ScratchFolder scratch;
    FaultInjection faults({{Call::Write, EDQUOT, 0, "quota"}});
    const FileDescriptor fine(::open((scratch / "fine").c_str(), O_WRONLY | O_CREAT, 0600));
    EXPECT_EQ(WriteAll(fine, "text"), 0); // opened outside the seam: unknown path
    EXPECT_THROW(WriteNewFile(scratch / "over-quota", "text"), EWriteError);
    EXPECT_NO_THROW(WriteNewFile(scratch / "other", "text"));
}

struct WriteFault {
    const char* name;
    Fault fault;
    const char* message;
};

class WriteNewFileFaults : public ::testing::TestWithParam<WriteFault> {};

TEST_P(WriteNewFileFaults, NameTheFileAndTheCause) {
    ScratchFolder scratch;
    FaultInjection faults({GetParam().fault});
    try {
        WriteNewFile(scratch / "page.html", "<p>text</p>");
        FAIL() << "no error";
    } catch (const EStreamError& e) {
        EXPECT_THAT(e.what(), HasSubstr("\"" + scratch / "page.html\""));
        EXPECT_THAT(e.what(), HasSubstr(GetParam().message));
    }
}

const WriteFault kWriteFaults[] = {
    {"CannotCreate", {Call::Open, EROFS}, "Read-only file system"},
    {"DiskFull", {Call::Write, ENOSPC}, "No space left on device"},
    {"DeferredErrorAtClose", {Call::Close, EIO}, "Input/output error"},
};

INSTANTIATE_TEST_SUITE_P(WriteNewFile, WriteNewFileFaults, ::testing::ValuesIn(kWriteFaults),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FileDescriptor, ReportsAFailedCloseOnceAndIsGone) {
    ScratchFolder scratch;
    FaultInjection faults({{Call::Close, EIO}});
    FileDescriptor fd(::open(scratch.Path().c_str(), O_RDONLY));
    ASSERT_TRUE(fd.Valid());
    EXPECT_EQ(fd.Close(), EIO);
    EXPECT_FALSE(fd.Valid());
    EXPECT_EQ(fd.Close(), 0);
}

struct LockFault {
    const char* name;
    Fault fault;
};

class FolderLockFaults : public ::testing::TestWithParam<LockFault> {};

TEST_P(FolderLockFaults, LeaveNoLockFileBehind) {
    ScratchFolder scratch;
    FaultInjection faults({GetParam().fault});
    FolderLock lock;
    EXPECT_EQ(lock.Take(scratch / ".lock"), GetParam().fault.error);
    EXPECT_FALSE(lock.Held());
    EXPECT_THAT(ListNames(scratch.Path()), IsEmpty());
}

const LockFault kLockFaults[] = {
    {"CannotCreate", {Call::Open, EACCES}},
    {"CannotLock", {Call::Lock, ENOLCK}},
    {"CannotMark", {Call::Write, ENOSPC}},
};

INSTANTIATE_TEST_SUITE_P(Take, FolderLockFaults, ::testing::ValuesIn(kLockFaults),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FolderLock, ProbeTellsHeldReleasedAndNotTaken) {
    ScratchFolder scratch;
    using State = FolderLock::State;
    EXPECT_EQ(FolderLock::Probe(scratch / ".lock"), State::Missing);
    FolderLock lock;
    ASSERT_EQ(lock.Take(scratch / ".lock"), 0);
    EXPECT_EQ(FolderLock::Probe(scratch / ".lock"), State::Held);
    lock.Release();
    EXPECT_EQ(FolderLock::Probe(scratch / ".lock"), State::Released);
    WriteFile(scratch / "starting", "");
    EXPECT_EQ(FolderLock::Probe(scratch / "starting"), State::NotTaken);
}

TEST(FolderLock, RemoveReportsAFailedUnlinkAndLetsTheLockGo) {
    ScratchFolder scratch;
    FolderLock lock;
    ASSERT_EQ(lock.Take(scratch / ".lock"), 0);
    {
        FaultInjection faults({{Call::Unlink, EBUSY}});
        EXPECT_EQ(lock.Remove(), EBUSY);
    }
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(FolderLock::Probe(scratch / ".lock"), FolderLock::State::Released);
}

TEST(RemoveFolderTree, RemovesWhatItCanAndSaysWhenSomethingStayed) {
    ScratchFolder scratch;
    const std::string tree = scratch / "tree/";
    ASSERT_EQ(MakeFolder(tree), 0);
    ASSERT_EQ(MakeFolder(tree + "sub"), 0);
    for (const char* name : {"a", "keep", "sub/b"})
        WriteFile(tree + name, "x");
    {
        FaultInjection faults({{Call::Unlink, EBUSY, 0, "keep"}});
        EXPECT_FALSE(RemoveFolderTree(tree));
    }
    EXPECT_THAT(ListNames(tree), ElementsAre("keep"));
    EXPECT_TRUE(RemoveFolderTree(tree));
    EXPECT_FALSE(PathExists(tree));
    EXPECT_TRUE(RemoveFolderTree(tree)); // nothing there is nothing to fail
}

TEST(EmptyFolder, KeepsTheNamedEntries) {
    ScratchFolder scratch;
    for (const char* name : {".lock", "a", "b"})
        WriteFile(scratch / name, "x");
    EXPECT_TRUE(EmptyFolder(scratch.Path(), {".lock"}));
    EXPECT_THAT(ListNames(scratch.Path()), ElementsAre(".lock"));
}

} // namespace
} // namespace folivane::platform
