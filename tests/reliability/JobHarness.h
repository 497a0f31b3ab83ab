// Running conversions here or in child processes, and checking what every job promises.
#pragma once

#include "engine/job/BookInput.h"
#include "support/BookFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace folivane::test {

// What a job reported, and for a child how it ended.
struct JobOutcome {
    std::vector<std::string> events; // as RecordingSink writes them
    std::string reason;
    int code = -1;  // the result: 0 book written, 1 failed, -1 none came
    int status = 0; // of a child: its exit status, or 128 + the signal that ended it
    // Of a job run here; a child's failure travels as `reason` alone.
    std::optional<engine::Failure> failure;
};

// Called by the job's sink when it sets the progress maximum: the chapter list is built and
// no page is written yet, the moment for a source to vanish.
using ChapterListHook = std::function<void()>;

// Runs one job here, with its working folder under `tempFolder`.
JobOutcome RunJob(const engine::BookInput& input, const std::string& tempFolder,
                  const ChapterListHook& hook = {});

// A job started in a child process, which prepares its working folder itself as a front end
// does.
struct ChildJob {
    pid_t pid = -1;
    int pipe = -1; // the child's report
};

// Exit status of a child whose `prepare` (run before the job: limits, another user)
// returned false, and of one in which something raised (DoTask itself never does).
constexpr int kChildCannotPrepare = 77;
constexpr int kChildRaised = 78;

ChildJob StartJobInChild(const engine::BookInput& input, const std::string& tempFolder,
                         const std::function<bool()>& prepare = {},
                         const ChapterListHook& hook = {});
// Waits for the child and reads its report.
JobOutcome FinishJob(ChildJob& job);
inline JobOutcome RunJobInChild(const engine::BookInput& input, const std::string& tempFolder,
                                const std::function<bool()>& prepare = {},
                                const ChapterListHook& hook = {}) {
    ChildJob job = StartJobInChild(input, tempFolder, prepare, hook);
    return FinishJob(job);
}

// The user and group that unprivileged cases run as.
constexpr unsigned kNobody = 65534;
// For a child: drops every group and becomes nobody. False when that is not allowed.
bool BecomeNobody();
// Whether this process may let children become nobody (it runs as root).
bool CanBecomeNobody();
// Gives the path to nobody.
void GiveToNobody(const std::string& path);

// The output path and its folder as they were before a job.
class OutputWatch {
public:
    explicit OutputWatch(std::string outputPath);

    // After a failure the output and the names beside it are exactly as they were; after a
    // success the output is a regular file and the only name that is new beside it, or the
    // symbolic link it was, unchanged, leading to a regular file.
    ::testing::AssertionResult Kept(const JobOutcome& outcome) const;

private:
    std::string path_;
    std::string folder_;
    std::vector<std::string> names_;
    bool existed_ = false;
    mode_t kind_ = 0;
    std::optional<std::string> bytes_; // when it was a regular file
    std::string link_;                 // when it was a symbolic link, its target
};

// The promise of every job: it ended with a result after the events in order, a failure
// gives a reason, no working folder stays in `tempFolder`, and the output was kept as
// OutputWatch::Kept says.
::testing::AssertionResult KeptThePromise(const JobOutcome& outcome, const OutputWatch& output,
                                          const std::string& tempFolder);

// The job failed with a reason that holds every one of `parts` (the file and the cause).
::testing::AssertionResult FailedNaming(const JobOutcome& outcome,
                                        const std::vector<std::string>& parts);

// Bytes from a fixed seed, for sources of random content.
std::string RandomBytes(std::size_t count, unsigned seed);

// Everything under `folder`, as "path: content" lines (links as "path -> target"), to show
// that nothing in it changed.
std::string DescribeTree(const std::string& folder);

// A scratch folder with "in" (sources), "out" (books) and "tmp" (the jobs' temporary folder,
// private to the test), jobs run here with the promise checked, and books queued for one run
// of the checkers.
class JobTest : public ::testing::Test {
protected:
    JobTest();

    // Writes a source into "in".
    std::string Source(const std::string& name, std::string_view bytes);
    // A book titled "Book" of `sources` written to "out/`output`".
    engine::BookInput Book(std::vector<std::string> sources, const std::string& output);
    // Runs the job here and checks the promise.
    JobOutcome Convert(const engine::BookInput& input, const ChapterListHook& hook = {});
    // Expects a book at `path` and queues it for the checkers.
    void ExpectBook(const JobOutcome& outcome, const std::string& path, ExpectedBook book = {});
    void QueueBook(const std::string& path, ExpectedBook book = {});
    // Runs the checkers on the queued books and empties the queue; empty when all are sound.
    std::string CheckQueuedBooks();

    ScratchFolder scratch;
    const std::string tmp = scratch / "tmp/";
    std::vector<ExpectedBook> books;
};

} // namespace folivane::test
