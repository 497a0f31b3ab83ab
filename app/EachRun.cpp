// One book per source from the command line: names decided first, then the books made on
// several threads, each reported as it ends.
#include "EachRun.h"

#include "engine/job/BatchSources.h"
#include "engine/job/BookBatch.h"
#include "engine/job/WorkingTree.h"
#include "engine/text/ConversionError.h"
#include "engine/text/FailureText.h"
#include "platform/TerminationSignals.h"

#include <cstdio>
#include <new>
#include <optional>
#include <thread>

namespace folivane::cli {
namespace {

class EachLines : public engine::BatchSink {
public:
    explicit EachLines(const std::vector<engine::BookInput>& books) : books_(books) {}

    void Finished(std::size_t index, engine::BatchOutcome outcome,
                  const std::optional<engine::Failure>& failure) override {
        const engine::BookInput& book = books_[index];
        const char* source = book.sources.front().c_str();
        switch (outcome) {
        case engine::BatchOutcome::Made:
            std::printf("Made \"%s\" from \"%s\"\n", book.outputPath.c_str(), source);
            break;
        case engine::BatchOutcome::Skipped:
            std::printf("Skipped \"%s\": the book exists\n", book.outputPath.c_str());
            break;
        case engine::BatchOutcome::Failed: {
            const std::string reason = failure ? engine::FailureText(*failure) : std::string();
            std::fprintf(stderr, "Failed \"%s\": %s\n", source, reason.c_str());
            failures_.push_back("\"" + book.sources.front() + "\": " + reason);
            break;
        }
        case engine::BatchOutcome::Cancelled:
            break;
        }
        std::fflush(stdout);
    }
    bool CancelRequested() override { return platform::TerminationSignals::Received() != 0; }

    const std::vector<std::string>& Failures() const { return failures_; }

private:
    const std::vector<engine::BookInput>& books_;
    std::vector<std::string> failures_;
};

} // namespace

int RunEach(const CliOptions& options) {
    std::vector<engine::BookInput> books;
    try {
        const std::vector<std::string> sources = engine::BatchSources(options.inputs);
        const std::string& folder = options.book.outputPath;
        engine::PrepareBooksFolder(folder);
        const std::vector<std::string> paths =
            engine::BatchBookPaths(sources, options.book, folder);
        for (std::size_t i = 0; i < sources.size(); ++i) {
            engine::BookInput book = options.book;
            book.sources = {sources[i]};
            book.sourceEncodings.clear();
            book.outputPath = paths[i];
            books.push_back(std::move(book));
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "folivane-cli: not enough memory to read the sources\n");
        return 1;
    } catch (...) {
        std::fprintf(stderr, "folivane-cli: %s\n",
                     engine::FailureText(engine::CaughtFailure()).c_str());
        return 1;
    }
    const std::string temp = engine::TempFolderPath();
    engine::RemoveStaleWorkingTrees(temp);
    const std::size_t jobs =
        options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    EachLines lines(books);
    const engine::BatchSummary summary =
        engine::RunBatch(books, jobs, options.skipExisting, temp, lines);
    std::printf("%zu made, %zu skipped, %zu failed, %zu not begun, of %zu %s\n", summary.made,
                summary.skipped, summary.failed, summary.cancelled, books.size(),
                books.size() == 1 ? "book" : "books");
    for (const std::string& failure : lines.Failures())
        std::fprintf(stderr, "Not made: %s\n", failure.c_str());
    if (const int signal = platform::TerminationSignals::Received()) return 128 + signal;
    return summary.failed + summary.cancelled == 0 ? 0 : 1;
}

} // namespace folivane::cli
