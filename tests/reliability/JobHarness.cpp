// Jobs run here or in children, their reports carried over a pipe, and the promise checked.
#include "JobHarness.h"

#include "engine/job/ConversionJob.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace folivane::test {
namespace {

class HookedSink : public RecordingSink {
public:
    explicit HookedSink(const ChapterListHook& hook) : hook_(hook) {}
    void SetMaximum(int count) override {
        RecordingSink::SetMaximum(count);
        if (hook_) hook_();
    }

private:
    const ChapterListHook& hook_;
};

// The report travels as length-prefixed fields: the reason, then each event.
void PutField(std::string& out, const std::string& field) {
    out += std::to_string(field.size()) + ":" + field;
}

bool TakeField(const std::string& in, std::size_t& at, std::string& field) {
    const std::size_t colon = in.find(':', at);
    if (colon == std::string::npos) return false;
    const std::size_t size = std::stoul(in.substr(at, colon - at));
    if (colon + 1 + size > in.size()) return false;
    field = in.substr(colon + 1, size);
    at = colon + 1 + size;
    return true;
}

JobOutcome FromSink(const RecordingSink& sink) {
    JobOutcome outcome;
    outcome.events = sink.events;
    outcome.reason = sink.reason;
    outcome.failure = sink.failure;
    if (!sink.events.empty() && sink.events.back().starts_with("result "))
        outcome.code = std::stoi(sink.events.back().substr(7));
    return outcome;
}

std::string ReadLink(const std::string& path) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    return n < 0 ? std::string() : std::string(target, static_cast<std::size_t>(n));
}

void Describe(const std::string& path, const std::string& shown, std::string& out) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    if (S_ISLNK(st.st_mode)) {
        out += shown + " -> " + ReadLink(path) + "\n";
    } else if (S_ISDIR(st.st_mode)) {
        out += shown + "/\n";
        for (const std::string& name : ListNames(path))
            Describe(path + "/" + name, shown + "/" + name, out);
    } else if (S_ISREG(st.st_mode)) {
        out += shown + ": " + ReadFile(path) + "\n";
    } else {
        out += shown + " (special)\n";
    }
}

} // namespace

JobOutcome RunJob(const engine::BookInput& input, const std::string& tempFolder,
                  const ChapterListHook& hook) {
    HookedSink sink(hook);
    {
        engine::WorkingTree tree = engine::PrepareWorkingTree(tempFolder);
        engine::DoTask(input, tree, sink);
    }
    return FromSink(sink);
}

ChildJob StartJobInChild(const engine::BookInput& input, const std::string& tempFolder,
                         const std::function<bool()>& prepare, const ChapterListHook& hook) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        HookedSink sink(hook);
        try {
            if (prepare && !prepare()) std::_Exit(kChildCannotPrepare);
            engine::WorkingTree tree = engine::PrepareWorkingTree(tempFolder);
            engine::DoTask(input, tree, sink);
        } catch (...) {
            std::_Exit(kChildRaised); // the child must never go on into the test runner
        }
        std::string report;
        PutField(report, sink.reason);
        for (const std::string& event : sink.events)
            PutField(report, event);
        for (std::size_t done = 0; done < report.size();) {
            const ssize_t n = ::write(fds[1], report.data() + done, report.size() - done);
            if (n <= 0) std::_Exit(3);
            done += static_cast<std::size_t>(n);
        }
        std::_Exit(0);
    }
    ::close(fds[1]);
    return {pid, fds[0]};
}

JobOutcome FinishJob(ChildJob& job) {
    std::string report;
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(job.pipe, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(job.pipe);
    int status = 0;
    while (::waitpid(job.pid, &status, 0) < 0 && errno == EINTR) {
    }
    RecordingSink sink;
    std::size_t at = 0;
    std::string field;
    if (TakeField(report, at, field)) {
        sink.reason = field;
        while (TakeField(report, at, field))
            sink.events.push_back(field);
    }
    JobOutcome outcome = FromSink(sink);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    job = ChildJob();
    return outcome;
}

bool BecomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

bool CanBecomeNobody() {
    return ::geteuid() == 0;
}

void GiveToNobody(const std::string& path) {
    if (::chown(path.c_str(), kNobody, kNobody) != 0)
        throw std::runtime_error("cannot give " + path + " to nobody");
}

OutputWatch::OutputWatch(std::string outputPath) : path_(std::move(outputPath)) {
    const std::size_t slash = path_.rfind('/');
    folder_ = slash == std::string::npos ? "." : path_.substr(0, slash + 1);
    names_ = ListNames(folder_);
    struct stat st {};
    existed_ = ::lstat(path_.c_str(), &st) == 0;
    kind_ = st.st_mode & S_IFMT;
    if (existed_ && S_ISREG(st.st_mode)) bytes_ = ReadFile(path_);
    if (existed_ && S_ISLNK(st.st_mode)) link_ = ReadLink(path_);
}

::testing::AssertionResult OutputWatch::Kept(const JobOutcome& outcome) const {
    std::vector<std::string> names = ListNames(folder_);
    struct stat st {};
    const bool exists = ::lstat(path_.c_str(), &st) == 0;
    if (outcome.code == 0) {
        // A link stays as it was, and the book is where it leads.
        struct stat book {};
        if (!link_.empty() && (!exists || !S_ISLNK(st.st_mode) || ReadLink(path_) != link_))
            return ::testing::AssertionFailure() << "the link was not kept: " << path_;
        if (::stat(path_.c_str(), &book) != 0 || !S_ISREG(book.st_mode))
            return ::testing::AssertionFailure() << "no book at " << path_;
        std::vector<std::string> expected = names_;
        const std::string name = path_.substr(path_.rfind('/') + 1);
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            expected.push_back(name);
        std::sort(expected.begin(), expected.end());
        if (names != expected)
            return ::testing::AssertionFailure()
                   << "beside the book: " << ::testing::PrintToString(names);
        return ::testing::AssertionSuccess();
    }
    if (names != names_)
        return ::testing::AssertionFailure()
               << "names beside the output changed: " << ::testing::PrintToString(names_)
               << " became " << ::testing::PrintToString(names);
    if (exists != existed_ || (exists && (st.st_mode & S_IFMT) != kind_))
        return ::testing::AssertionFailure() << "the output changed its kind: " << path_;
    if (bytes_ && ReadFile(path_) != *bytes_)
        return ::testing::AssertionFailure() << "the earlier file changed: " << path_;
    if (!link_.empty() && ReadLink(path_) != link_)
        return ::testing::AssertionFailure() << "the link changed: " << path_;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult KeptThePromise(const JobOutcome& outcome, const OutputWatch& output,
                                          const std::string& tempFolder) {
    if (outcome.status != 0)
        return ::testing::AssertionFailure() << "the job's process ended with " << outcome.status;
    if (outcome.code != 0 && outcome.code != 1)
        return ::testing::AssertionFailure()
               << "no result: " << ::testing::PrintToString(outcome.events);
    const auto& events = outcome.events;
    if (events.size() < 3 || events.front() != "show" || events[events.size() - 2] != "close")
        return ::testing::AssertionFailure()
               << "events out of order: " << ::testing::PrintToString(events);
    if (outcome.code == 1 && outcome.reason.empty())
        return ::testing::AssertionFailure() << "a failure without a reason";
    if (const auto left = ListNames(tempFolder); !left.empty())
        return ::testing::AssertionFailure()
               << "left in the temporary folder: " << ::testing::PrintToString(left);
    return output.Kept(outcome);
}

::testing::AssertionResult FailedNaming(const JobOutcome& outcome,
                                        const std::vector<std::string>& parts) {
    if (outcome.code != 1)
        return ::testing::AssertionFailure() << "result " << outcome.code << ", expected 1";
    for (const std::string& part : parts)
        if (outcome.reason.find(part) == std::string::npos)
            return ::testing::AssertionFailure()
                   << "the reason \"" << outcome.reason << "\" does not hold \"" << part << "\"";
    return ::testing::AssertionSuccess();
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string DescribeTree(const std::string& folder) {
    std::string out;
    for (const std::string& name : ListNames(folder))
        Describe(folder + "/" + name, name, out);
    return out;
}

JobTest::JobTest() {
    for (const char* folder : {"in", "out", "tmp"})
        ::mkdir((scratch / folder).c_str(), 0755);
}

std::string JobTest::Source(const std::string& name, std::string_view bytes) {
    const std::string path = scratch / ("in/" + name);
    WriteFile(path, bytes);
    return path;
}

engine::BookInput JobTest::Book(std::vector<std::string> sources, const std::string& output) {
    engine::BookInput input;
    input.sources = std::move(sources);
    input.title = "Book";
    input.outputPath = scratch / ("out/" + output);
    return input;
}

JobOutcome JobTest::Convert(const engine::BookInput& input, const ChapterListHook& hook) {
    const OutputWatch watch(input.outputPath);
    JobOutcome outcome = RunJob(input, tmp, hook);
    EXPECT_TRUE(KeptThePromise(outcome, watch, tmp)) << input.outputPath;
    return outcome;
}

void JobTest::ExpectBook(const JobOutcome& outcome, const std::string& path, ExpectedBook book) {
    EXPECT_EQ(outcome.code, 0) << path << ": " << outcome.reason;
    if (outcome.code == 0) QueueBook(path, std::move(book));
}

void JobTest::QueueBook(const std::string& path, ExpectedBook book) {
    book.path = path;
    books.push_back(std::move(book));
}

std::string JobTest::CheckQueuedBooks() {
    const std::string problems = CheckBooks(books, scratch.Path());
    books.clear();
    return problems;
}

} // namespace folivane::test
