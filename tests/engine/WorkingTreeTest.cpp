// A job's working folder under injected faults: a clear error, and nothing of it left over.
#include "engine/job/WorkingTree.h"
#include "engine/text/ConversionError.h"
#include "engine/text/FailureText.h"
#include "platform/SystemCalls.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <sys/stat.h>
#include <utime.h>

namespace folivane::engine {
namespace {

using platform::Call;
using platform::Fault;
using platform::FaultInjection;
using test::ListNames;
using test::ScratchFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct PrepareFault {
    const char* name;
    Fault fault;
    const char* message;
};

class PrepareWorkingTreeFaults : public ::testing::TestWithParam<PrepareFault> {};

TEST_P(PrepareWorkingTreeFaults, FailTheFirstPieceSayingWhyAndLeaveNothing) {
    ScratchFolder tmp;
    WorkingTree tree = PrepareWorkingTree(tmp.Path());
    ASSERT_TRUE(tree.Valid());
    FaultInjection faults({GetParam().fault});
    try {
        tree.Keep(0, 1, "piece", tmp / "source.txt");
        ADD_FAILURE() << "the piece was kept";
    } catch (const ConversionError& error) {
        EXPECT_THAT(error.what(), HasSubstr(tmp.Path()));
        EXPECT_THAT(error.what(), HasSubstr(GetParam().message));
    }
    EXPECT_FALSE(tree.Valid());
    EXPECT_FALSE(tree.Made());
    EXPECT_THAT(FailureText(tree.Error()), HasSubstr(tmp.Path()));
    EXPECT_THAT(FailureText(tree.Error()), HasSubstr(GetParam().message));
    EXPECT_THAT(ListNames(tmp.Path()), IsEmpty());
    // It is not tried again.
    EXPECT_THROW(tree.Keep(0, 2, "piece", tmp / "source.txt"), ConversionError);
}

const PrepareFault kPrepareFaults[] = {
    {"FolderCannotBeMade", {Call::MakeFolder, ENOSPC, 1}, "No space left on device"},
    {"LockCannotBeMade", {Call::Open, EMFILE, 1, ".lock"}, "Too many open files"},
    {"LockCannotBeTaken", {Call::Lock, ENOLCK}, "No locks available"},
    // The lock's is the first open; the second keeps descriptors for the removal.
    {"SpareDescriptorsCannotBeHad", {Call::Open, EMFILE, 2}, "Too many open files"},
    {"PieceFolderCannotBeMade", {Call::MakeFolder, EDQUOT, 0, "EPUB_TXT"}, "Disk quota exceeded"},
};

INSTANTIATE_TEST_SUITE_P(Prepare, PrepareWorkingTreeFaults, ::testing::ValuesIn(kPrepareFaults),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(WorkingTree, IsMadeOnlyForTheFirstPieceAndRemovesItselfWholeWhenItGoes) {
    ScratchFolder tmp;
    {
        WorkingTree tree = PrepareWorkingTree(tmp.Path());
        ASSERT_TRUE(tree.Valid()) << tree.Error();
        EXPECT_FALSE(tree.Made());
        EXPECT_THAT(ListNames(tmp.Path()), IsEmpty());
        const std::string first = tree.Keep(0, 1, "piece", tmp / "a.txt");
        ASSERT_TRUE(tree.Made());
        EXPECT_EQ(tree.Keep(3, 2, "another", tmp / "b.txt"), tree.PieceFolder() + "3-2.txt");
        EXPECT_EQ(first, tree.PieceFolder() + "0-1.txt");
        EXPECT_EQ(test::ReadFile(first), "piece");
        EXPECT_THAT(ListNames(tmp.Path()), ElementsAre(::testing::StartsWith("folivane-")));
        EXPECT_THAT(ListNames(tree.Root()), ElementsAre(".lock", "EPUB_TXT"));
    }
    EXPECT_THAT(ListNames(tmp.Path()), IsEmpty());
}

TEST(WorkingTree, NeverPreparedKeepsNothing) {
    WorkingTree tree;
    EXPECT_FALSE(tree.Valid());
    EXPECT_FALSE(tree.Make());
    EXPECT_THROW(tree.Keep(0, 1, "piece", "/a.txt"), ConversionError);
}

TEST(WorkingTree, KeepsItsLockWhenSomethingCannotBeRemovedSoALaterStartSweepsIt) {
    ScratchFolder tmp;
    std::string root;
    {
        WorkingTree tree = PrepareWorkingTree(tmp.Path());
        ASSERT_TRUE(tree.Make()) << tree.Error();
        root = tree.Root();
        test::WriteFile(tree.PieceFolder() + "0-1.txt", "piece");
        FaultInjection faults({{Call::Unlink, EMFILE, 0, "0-1.txt"}});
        tree.Remove();
    }
    EXPECT_THAT(ListNames(root), ElementsAre(".lock", "EPUB_TXT"));
    EXPECT_EQ(RemoveStaleWorkingTrees(tmp.Path()), 1);
    EXPECT_THAT(ListNames(tmp.Path()), IsEmpty());
}

TEST(WorkingTree, LockThatCannotBeRemovedStaysForTheSweep) {
    ScratchFolder tmp;
    {
        WorkingTree tree = PrepareWorkingTree(tmp.Path());
        ASSERT_TRUE(tree.Make()) << tree.Error();
        FaultInjection faults({{Call::Unlink, EIO, 0, ".lock"}});
        tree.Remove();
    }
    ASSERT_EQ(ListNames(tmp.Path()).size(), 1u);
    EXPECT_EQ(RemoveStaleWorkingTrees(tmp.Path()), 1);
    EXPECT_THAT(ListNames(tmp.Path()), IsEmpty());
}

TEST(WorkingTree, UnlockedFolderGoesOnlyWhenEmptyOldAndOfTheWorkingFoldersMode) {
    // A job killed between making its folder and its lock leaves it empty, of mode 01700.
    struct Row {
        const char* name;
        bool empty;
        int ageSeconds;
        mode_t mode;
        bool goes;
    };
    const Row rows[] = {
        {"folivane-Killed", true, 120, 01700, true},
        {"folivane-Start1", true, 5, 01700, false},    // its job may be making its lock
        {"folivane-Notes1", false, 120, 01700, false}, // holds what may be the user's
        {"folivane-Mine01", true, 120, 0700, false},   // as mkdtemp makes it: the user's
    };
    ScratchFolder tmp;
    for (const Row& row : rows) {
        const std::string folder = tmp / row.name;
        ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(folder.c_str(), row.mode), 0);
        if (!row.empty) test::WriteFile(folder + "/notes.txt", "notes");
        const std::time_t then = std::time(nullptr) - row.ageSeconds;
        const utimbuf times{then, then};
        ASSERT_EQ(::utime(folder.c_str(), &times), 0);
    }
    EXPECT_EQ(RemoveStaleWorkingTrees(tmp.Path()), 1);
    EXPECT_THAT(ListNames(tmp.Path()),
                ElementsAre("folivane-Mine01", "folivane-Notes1", "folivane-Start1"));
}

} // namespace
} // namespace folivane::engine
