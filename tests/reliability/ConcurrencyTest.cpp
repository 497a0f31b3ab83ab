// Two jobs at once in two processes, and links planted where working folders or books go.
#include "JobHarness.h"

#include "engine/job/WorkingTree.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace folivane::test {
namespace {

using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ConcurrencyTest : public JobTest {
protected:
    ConcurrencyTest() {
        std::string text;
        for (int i = 0; text.size() < (1u << 20); ++i)
            text += "Line " + std::to_string(i) + " of a source long enough to overlap.\n";
        sources_ = {Source("long.txt", text), Source("short.txt", "short")};
    }

    // More text than the job may hold: it makes a working folder, which the second job's
    // sweep must leave alone.
    engine::BookInput Titled(const std::string& title, const std::string& output) {
        engine::BookInput input = Book(sources_, output);
        input.title = title;
        input.heldTextBudget = 256u << 10;
        return input;
    }

    // Starts the first job, waits until its working folder is there, then starts the second
    // as a front end starts: sweeping stale working folders first.
    std::pair<JobOutcome, JobOutcome> RunTwo(const engine::BookInput& first,
                                             const engine::BookInput& second) {
        ChildJob one = StartJobInChild(first, tmp);
        for (int i = 0; i < 500 && ListNames(tmp).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ChildJob two = StartJobInChild(second, tmp, [this] {
            engine::RemoveStaleWorkingTrees(tmp);
            return true;
        });
        JobOutcome a = FinishJob(one);
        JobOutcome b = FinishJob(two);
        return {a, b};
    }

    std::vector<std::string> sources_;
};

TEST_F(ConcurrencyTest, TwoJobsToTwoOutputsBothWriteTheirBooks) {
    const auto [a, b] = RunTwo(Titled("First", "first.epub"), Titled("Second", "second.epub"));
    EXPECT_EQ(a.code, 0) << a.reason;
    EXPECT_EQ(b.code, 0) << b.reason;
    EXPECT_TRUE(ListNames(tmp).empty());
    EXPECT_THAT(ListNames(scratch / "out"), ElementsAre("first.epub", "second.epub"));
    ExpectedBook first, second;
    first.title = "First";
    second.title = "Second";
    QueueBook(scratch / "out/first.epub", first);
    QueueBook(scratch / "out/second.epub", second);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ConcurrencyTest, TwoJobsToOneOutputLeaveOneWholeBook) {
    WriteFile(scratch / "out/same.epub", "an earlier file");
    const auto [a, b] = RunTwo(Titled("First", "same.epub"), Titled("Second", "same.epub"));
    EXPECT_EQ(a.code, 0) << a.reason;
    EXPECT_EQ(b.code, 0) << b.reason;
    EXPECT_TRUE(ListNames(tmp).empty());
    EXPECT_THAT(ListNames(scratch / "out"), ElementsAre("same.epub"));
    const std::string opf =
        RunCommand("unzip -p " + ShellQuote(scratch / "out/same.epub") + " OEBPS/content.opf")
            .output;
    EXPECT_THAT(opf, AnyOf(HasSubstr("<dc:title>First<"), HasSubstr("<dc:title>Second<")));
    QueueBook(scratch / "out/same.epub");
    EXPECT_EQ(CheckQueuedBooks(), "");
}

using PlantedLinkTest = JobTest;

TEST_F(PlantedLinkTest, LinksWhereWorkingFoldersOrTheBookGoAreNeverFollowed) {
    // A victim that looks like a stale working folder, and a file worth keeping.
    const std::string victim = scratch / "victim";
    ::mkdir(victim.c_str(), 0700);
    ::mkdir((victim + "/EPUB").c_str(), 0700);
    WriteFile(victim + "/.lock", "1");
    WriteFile(victim + "/EPUB/mimetype", "precious");
    const std::string precious = scratch / "precious.txt";
    WriteFile(precious, "precious");

    const auto link = [](const std::string& target, const std::string& at) {
        ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0) << at;
    };
    link(victim, tmp + "folivane-LinkDr");
    link(precious, tmp + "folivane-LinkFi");
    // A stale working folder of this user whose book folder is a link out of it.
    ::mkdir((tmp + "folivane-Stale1").c_str(), 0700);
    WriteFile(tmp + "folivane-Stale1/.lock", "1");
    link(victim + "/EPUB", tmp + "folivane-Stale1/EPUB");
    // A working folder whose lock is a link: not this program's, so it stays.
    ::mkdir((tmp + "folivane-Lock01").c_str(), 0700);
    link(victim + "/.lock", tmp + "folivane-Lock01/.lock");
    const std::string before = DescribeTree(victim) + ReadFile(precious);

    EXPECT_EQ(engine::RemoveStaleWorkingTrees(tmp), 1);
    EXPECT_THAT(ListNames(tmp),
                ElementsAre("folivane-LinkDr", "folivane-LinkFi", "folivane-Lock01"));

    // Jobs beside the planted links; outputs that are links another user planted (only root
    // can plant one here) are refused, never written through, and stay as they are.
    if (CanBecomeNobody()) {
        link(precious, scratch / "out/linked.epub");
        link(scratch / "nowhere.epub", scratch / "out/dangling.epub");
        const std::string source = Source("a.txt", "text");
        for (const std::string output : {"linked.epub", "dangling.epub"}) {
            const engine::BookInput input = Book({source}, output);
            ASSERT_EQ(::lchown(input.outputPath.c_str(), kNobody, kNobody), 0);
            const OutputWatch watch(input.outputPath);
            const JobOutcome outcome = RunJob(input, tmp);
            EXPECT_TRUE(FailedNaming(outcome, {input.outputPath, "another user"}));
            EXPECT_TRUE(watch.Kept(outcome));
        }
        EXPECT_FALSE(PathExists(scratch / "nowhere.epub"));
    }
    EXPECT_THAT(ListNames(tmp),
                ElementsAre("folivane-LinkDr", "folivane-LinkFi", "folivane-Lock01"));
    EXPECT_EQ(DescribeTree(victim) + ReadFile(precious), before);
}

TEST_F(PlantedLinkTest, WorkingFoldersOfOtherUsersAreKept) {
    if (!CanBecomeNobody()) GTEST_SKIP() << "needs root to make a folder of another user";
    ::mkdir((tmp + "folivane-Other1").c_str(), 0700);
    WriteFile(tmp + "folivane-Other1/.lock", "1");
    GiveToNobody(tmp + "folivane-Other1");
    EXPECT_EQ(engine::RemoveStaleWorkingTrees(tmp), 0);
    EXPECT_THAT(ListNames(tmp), ElementsAre("folivane-Other1"));
}

} // namespace
} // namespace folivane::test
