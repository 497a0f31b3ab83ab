// Jobs killed at random moments, and the sweep of their working folders at the next start.
#include "JobHarness.h"

#include "engine/job/WorkingTree.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace folivane::test {
namespace {

using ::testing::ElementsAre;

// Python's zipfile (every CRC) and Info-ZIP's unzip -t both accept the archive.
bool ReadersAccept(const std::string& path) {
    return RunCommand("python3 -c 'import sys, zipfile\n"
                      "with zipfile.ZipFile(sys.argv[1]) as z:\n"
                      "    assert z.testzip() is None and z.namelist()[0] == \"mimetype\"' " +
                      ShellQuote(path) + " && unzip -tqq " + ShellQuote(path))
               .exitCode == 0;
}

// Working folders in `temp` whose lock was never taken: a job killed while it started.
int FoldersWithoutATakenLock(const std::string& temp) {
    int count = 0;
    for (const std::string& name : ListNames(temp)) {
        struct stat st {};
        if (::stat((temp + name + "/.lock").c_str(), &st) != 0 || st.st_size == 0) ++count;
    }
    return count;
}

using KillTest = JobTest;

TEST_F(KillTest, JobKilledAtAnyMomentLeavesTheEarlierFileOrACompleteBook) {
    // A moderately large book: a 1 MiB source, more than the job may hold, kept in pieces in
    // its working folder; thirty small ones; a cover.
    std::string text;
    for (int i = 0; text.size() < (1u << 20); ++i)
        text += "Line " + std::to_string(i) + " 雨后的石板路还湿着 of the long source.\n";
    std::vector<std::string> sources = {Source("long.txt", text)};
    for (int i = 0; i < 30; ++i)
        sources.push_back(
            Source("small" + std::to_string(i) + ".txt", "small " + text.substr(0, 5000)));
    WriteFile(scratch / "in/cover.jpg", MakeJpeg());
    engine::BookInput input = Book(sources, "book.epub");
    input.coverPath = scratch / "in/cover.jpg";
    input.heldTextBudget = 256u << 10;

    // An earlier book at the output, and how long a whole job takes.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(RunJobInChild(input, tmp).code, 0);
    const auto whole = std::chrono::steady_clock::now() - start;
    const auto wholeUs = std::chrono::duration_cast<std::chrono::microseconds>(whole).count();

    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> delay(0, wholeUs * 6 / 5);
    std::string earlier = ReadFile(input.outputPath);
    int kept = 0, replaced = 0, finished = 0, foldersLeft = 0, swept = 0, linkedNotRenamed = 0;
    constexpr int kKills = 40;
    for (int i = 0; i < kKills; ++i) {
        SCOPED_TRACE("kill " + std::to_string(i));
        input.title = "Book " + std::to_string(i);
        const std::size_t foldersBefore = ListNames(tmp).size();
        ChildJob job = StartJobInChild(input, tmp);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(job.pid, SIGKILL);
        const JobOutcome outcome = FinishJob(job);
        if (outcome.status == 0) ++finished;

        // POSIX has no link that replaces: a finished book gets a hidden name beside the
        // output just before the rename that puts it in place, and a kill between the two
        // calls leaves it there, complete. Nothing else may be left.
        for (const std::string& name : ListNames(scratch / "out")) {
            if (name == "book.epub") continue;
            ASSERT_TRUE(name.starts_with(".book.epub.")) << name;
            ASSERT_TRUE(ReadersAccept(scratch / ("out/" + name))) << name;
            ::unlink((scratch / ("out/" + name)).c_str());
            ++linkedNotRenamed;
        }
        ASSERT_THAT(ListNames(scratch / "out"), ElementsAre("book.epub"));
        const std::string now = ReadFile(input.outputPath);
        if (now == earlier) {
            ++kept;
        } else {
            ASSERT_TRUE(ReadersAccept(input.outputPath));
            if (replaced++ % 8 == 0) {
                const std::string sample = scratch / ("sample" + std::to_string(i) + ".epub");
                WriteFile(sample, now);
                ExpectedBook book;
                book.title = input.title;
                QueueBook(sample, book);
            }
            earlier = now;
        }
        foldersLeft += static_cast<int>(ListNames(tmp).size() - foldersBefore);
        // The next start of the program sweeps what no running job owns.
        if (i % 2 == 1) {
            swept += engine::RemoveStaleWorkingTrees(tmp);
            EXPECT_EQ(static_cast<int>(ListNames(tmp).size()), FoldersWithoutATakenLock(tmp));
        }
    }
    swept += engine::RemoveStaleWorkingTrees(tmp);
    const int unswept = static_cast<int>(ListNames(tmp).size());
    EXPECT_EQ(unswept, FoldersWithoutATakenLock(tmp));
    RecordProperty("kills", kKills);
    RecordProperty("working_folders_left", foldersLeft);
    std::cout << "[  figures ] " << kKills << " kills over a " << wholeUs / 1000
              << " ms job: earlier file kept " << kept << ", new book " << replaced
              << " (job done before the kill " << finished << ", killed between link and "
              << "rename " << linkedNotRenamed << "); working folders left " << foldersLeft
              << ", swept " << swept << ", kept as still starting " << unswept << "\n";
    EXPECT_GT(kept, 0);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST(StaleWorkingTrees, ALockNotYetTakenKeepsItsFolderUntilItIsOld) {
    const ScratchFolder temp;
    const auto folder = [&](const std::string& name, const std::string& lock) {
        ::mkdir((temp / name).c_str(), 0700);
        WriteFile(temp / (name + "/.lock"), lock);
        WriteFile(temp / (name + "/piece.txt"), "left behind");
    };
    folder("folivane-Start1", "");  // its job is between making the lock and taking it
    folder("folivane-Start2", "");  // the same, long ago: its job was killed then
    folder("folivane-Kill01", "1"); // taken and released: its job was killed
    const timespec old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, (temp / "folivane-Start2").c_str(), old, 0);

    EXPECT_EQ(engine::RemoveStaleWorkingTrees(temp.Path()), 2);
    EXPECT_THAT(ListNames(temp.Path()), ElementsAre("folivane-Start1"));
}

TEST(StaleWorkingTrees, FoldersWithoutALockAreTheUsersAndStay) {
    const ScratchFolder temp;
    const timespec old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    // A folder of the user's that happens to match the name of a working folder.
    ::mkdir((temp / "folivane-backup").c_str(), 0700);
    WriteFile(temp / "folivane-backup/thesis.txt", "years of work");
    ::utimensat(AT_FDCWD, (temp / "folivane-backup").c_str(), old, 0);
    // An empty one of the user's, named like a working folder: nothing proves it ours.
    ::mkdir((temp / "folivane-output").c_str(), 0700);
    ::utimensat(AT_FDCWD, (temp / "folivane-output").c_str(), old, 0);

    EXPECT_EQ(engine::RemoveStaleWorkingTrees(temp.Path()), 0);
    EXPECT_THAT(ListNames(temp.Path()), ElementsAre("folivane-backup", "folivane-output"));
    EXPECT_EQ(ReadFile(temp / "folivane-backup/thesis.txt"), "years of work");
}

} // namespace
} // namespace folivane::test
