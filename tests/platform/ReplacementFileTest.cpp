// Putting a file in place: every failure leaves the target as it was and nothing beside it.
#include "platform/ReplacementFile.h"
#include "platform/FileStatus.h"
#include "platform/RegularFile.h"
#include "platform/SystemCalls.h"
#include "platform/SystemError.h"
#include "platform/TerminationSignals.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::platform {
namespace {

using test::ListNames;
using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct PublishFault {
    const char* name;
    std::vector<Fault> faults;
    bool sync;
    const char* message; // part of the error's text
};

class ReplacementFileFaults : public ::testing::TestWithParam<PublishFault> {};

TEST_P(ReplacementFileFaults, LeaveTheTargetAsItWasAndNothingBesideIt) {
    const PublishFault& row = GetParam();
    ScratchFolder scratch;
    const std::string target = scratch / "book.epub";
    WriteFile(target, "earlier book");
    try {
        FaultInjection faults(row.faults);
        ReplacementFile file(target);
        ASSERT_EQ(WriteAll(file.Duplicate(), "new book"), 0);
        file.Publish(row.sync);
        FAIL() << "published despite the fault";
    } catch (const EStreamError& e) {
        EXPECT_THAT(e.what(), HasSubstr(scratch / "book.epub"));
        EXPECT_THAT(e.what(), HasSubstr(row.message));
    }
    EXPECT_EQ(ReadFile(target), "earlier book");
    EXPECT_THAT(ListNames(scratch.Path()), ElementsAre("book.epub"));
}

// O_TMPFILE refused as by a file system without unnamed files: the hidden-name path.
const Fault kNoUnnamedFiles{Call::Open, EOPNOTSUPP, 1, "/"};

const PublishFault kPublishFaults[] = {
    {"FolderRefusesNewFiles", {{Call::Open, EACCES, 1}}, false, "Permission denied"},
    {"HiddenFileCannotBeMade",
     {kNoUnnamedFiles, {Call::Open, ENOSPC, 2}},
     false,
     "No space left on device"},
    {"FsyncFails", {{Call::Fsync, EIO}}, true, "Input/output error"},
    {"LinkFails", {{Call::Link, EPERM}}, false, "Operation not permitted"},
    {"LinkNeverFindsAFreeName", {{Call::Link, EEXIST}}, false, "File exists"},
    {"RenameFailsAfterTheLink", {{Call::Rename, EACCES}}, false, "Permission denied"},
    {"RenameFailsOnTheHiddenPath",
     {kNoUnnamedFiles, {Call::Rename, EXDEV}},
     false,
     "Invalid cross-device link"},
    {"FsyncFailsOnTheHiddenPath",
     {kNoUnnamedFiles, {Call::Fsync, EIO}},
     true,
     "Input/output error"},
};

INSTANTIATE_TEST_SUITE_P(Publish, ReplacementFileFaults, ::testing::ValuesIn(kPublishFaults),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ReplacementFile, TakesTheTargetsPlaceAndPermissionsAfterALinkCollision) {
    ScratchFolder scratch;
    const std::string target = scratch / "book.epub";
    WriteFile(target, "earlier book");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    {
        FaultInjection faults({{Call::Link, EEXIST, 1}}); // a hidden name that is taken
        ReplacementFile file(target);
        ASSERT_EQ(WriteAll(file.Duplicate(), "new book"), 0);
        file.Publish(true);
        EXPECT_EQ(faults.Injected(0), 1);
        EXPECT_EQ(faults.Calls(Call::Link), 2);
    }
    EXPECT_EQ(ReadFile(target), "new book");
    EXPECT_THAT(ListNames(scratch.Path()), ElementsAre("book.epub"));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

struct ModeCase {
    unsigned umask;
    const char* newMode; // of a file published where none was
};

// A new file is made as any program makes one: rw for all, less what the umask takes away;
// a file that replaces another keeps the permissions the user gave that one.
TEST(ReplacementFile, NewFileFollowsTheUmaskAndAReplacementKeepsTheOldMode) {
    const ModeCase rows[] = {{022, "0644"}, {077, "0600"}, {002, "0664"}};
    for (const ModeCase& row : rows) {
        for (const bool unnamed : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "umask 0" << std::oct << row.umask
                                              << (unnamed ? ", unnamed file" : ", hidden file"));
            ScratchFolder scratch;
            const test::ScopedUmask mask(row.umask);
            const std::vector<Fault> faults =
                unnamed ? std::vector<Fault>{} : std::vector<Fault>{kNoUnnamedFiles};
            for (const std::string name : {"new.epub", "old.epub"}) {
                if (name == "old.epub") {
                    WriteFile(scratch / name, "earlier book");
                    ASSERT_EQ(::chmod((scratch / name).c_str(), 0604), 0);
                }
                FaultInjection injected(faults);
                ReplacementFile file(scratch / name);
                ASSERT_EQ(WriteAll(file.Duplicate(), "book"), 0);
                file.Publish(false);
            }
            EXPECT_EQ(test::FileMode(scratch / "new.epub"), row.newMode);
            EXPECT_EQ(test::FileMode(scratch / "old.epub"), "0604");
        }
    }
}

bool ClosesOnExec(int fd) {
    const int flags = ::fcntl(fd, F_GETFD);
    return flags >= 0 && (flags & FD_CLOEXEC) != 0;
}

// A program the converter starts (a reader, a shell) must not inherit the book being written,
// a lock or a source: every descriptor the platform hands out closes on exec.
TEST(SystemCalls, EveryDescriptorHandedOutClosesOnExec) {
    ScratchFolder scratch;
    WriteFile(scratch / "source.txt", "text");
    const FileDescriptor inherited(::open((scratch / "source.txt").c_str(), O_RDONLY));
    ASSERT_FALSE(ClosesOnExec(inherited.Get()));
    EXPECT_TRUE(ClosesOnExec(FileDescriptor(sys::Duplicate(inherited.Get())).Get()))
        << "copy of a descriptor";
    EXPECT_TRUE(ClosesOnExec(OpenRegularFile(scratch / "source.txt").Get())) << "source";
    for (const bool unnamed : {true, false}) {
        FaultInjection faults(unnamed ? std::vector<Fault>{} : std::vector<Fault>{kNoUnnamedFiles});
        const ReplacementFile book(scratch / "book.epub");
        EXPECT_TRUE(ClosesOnExec(book.Descriptor())) << "book, unnamed " << unnamed;
        EXPECT_TRUE(ClosesOnExec(book.Duplicate().Get())) << "book's copy, unnamed " << unnamed;
    }
    const TerminationSignals signals;
    if (signals.NotifyDescriptor() >= 0) {
        EXPECT_TRUE(ClosesOnExec(signals.NotifyDescriptor())) << "signal pipe";
    }
}

TEST(ReplacementFile, HiddenFileGoesWhenNotPublished) {
    ScratchFolder scratch;
    {
        FaultInjection faults({kNoUnnamedFiles});
        ReplacementFile file(scratch / "book.epub");
        ASSERT_EQ(WriteAll(file.Duplicate(), "half a book"), 0);
        EXPECT_EQ(ListNames(scratch.Path()).size(), 1u); // the hidden file, named
    }
    EXPECT_TRUE(ListNames(scratch.Path()).empty());
}

TEST(ReplacementFile, RefusesToReplaceAFolderOrADevice) {
    ScratchFolder scratch;
    EXPECT_THROW(ReplacementFile(scratch.Path()), EFCreateError);
    EXPECT_THROW(ReplacementFile("/dev/null"), EFCreateError);
}

TEST(ReplacementFile, ReplacesFilesInSharedMemory) {
    const std::string folder = "/dev/shm";
    if (!StatPath(folder) || ::access(folder.c_str(), W_OK) != 0) GTEST_SKIP() << "no /dev/shm";
    const std::string target = folder + "/folivane-test-" + std::to_string(::getpid()) + ".epub";
    {
        ReplacementFile file(target);
        ASSERT_EQ(WriteAll(file.Duplicate(), "a book"), 0);
        file.Publish(false);
    }
    EXPECT_EQ(ReadWholeFile(target), "a book");
    ::unlink(target.c_str());
}

} // namespace
} // namespace folivane::platform
