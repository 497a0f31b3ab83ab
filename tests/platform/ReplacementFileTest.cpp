// Putting a file in place: every failure leaves the target as it was and nothing beside it.
#include "platform/ReplacementFile.h"
#include "platform/FileStatus.h"
#include "platform/RegularFile.h"
#include "platform/SystemCalls.h"
#include "platform/SystemError.h"
#include "support/TestSupport.h"

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
