// One book per source from the command line: names decided first, then the books made on
// several threads, each reported as it ends.
#include "EachRun.h"

#include "engine/job/BatchSources.h"
#include "engine/job/BookBatch.h"
#include "engine/job/WorkingTree.h"
#include "platform/FolderTree.h"
#include "platform/TerminationSignals.h"
#include "zip/FileSystem.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <thread>

namespace folivane::cli {
namespace {

class EachLines : public engine::BatchSink {
public:
    explicit EachLines(const std::vector<engine::BookInput>& books) : books_(books) {}

    void Finished(std::size_t index, engine::BatchOutcome outcome,
                  const std::string& reason) override {
        const engine::BookInput& book = books_[index];
        const char* source = book.sources.front().c_str();
        switch (outcome) {
        case engine::BatchOutcome::Made:
            std::printf("Made \"%s\" from \"%s\"\n", book.outputPath.c_str(), source);
            break;
        case engine::BatchOutcome::Skipped:
            std::printf("Skipped \"%s\": the book exists\n", book.outputPath.c_str());
            break;
        case engine::BatchOutcome::Failed:
            std::fprintf(stderr, "Failed \"%s\": %s\n", source, reason.c_str());
            failures_.push_back("\"" + book.sources.front() + "\": " + reason);
            break;
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

// The books' folder, made when it is missing; a reason when it cannot be.
std::string PrepareFolder(const std::string& folder) {
    if (folder.empty() || zip::DirectoryExists(folder)) return {};
    if (zip::FileExists(folder)) return "\"" + folder + "\" is a file, not a folder for the books";
    if (const int error = platform::MakeFolder(folder, 0777); error != 0)
        return "Cannot create the folder \"" + folder + "\". " + std::strerror(error);
    return {};
}

} // namespace

int RunEach(const CliOptions& options) {
    std::vector<engine::BookInput> books;
    try {
        const std::vector<std::string> sources = engine::BatchSources(options.inputs);
        if (sources.empty()) {
            std::fprintf(stderr, "folivane-cli: no .txt files in the folders given\n");
            return 1;
        }
        const std::string& folder = options.book.outputPath;
        if (const std::string problem = PrepareFolder(folder); !problem.empty()) {
            std::fprintf(stderr, "folivane-cli: %s\n", problem.c_str());
            return 1;
        }
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
    } catch (const std::exception& error) {
        std::fprintf(stderr, "folivane-cli: %s\n", error.what());
        return 1;
    }
    const std::string temp = engine::TempFolderPath();
    engine::RemoveStaleWorkingTrees(temp);
    const std::size_t jobs =
        options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    EachLines lines(books);
    const engine::BatchSummary summary =
        engine::RunBatch(books, jobs, options.skipExisting, temp, lines);
    std::printf("%zu made, %zu skipped, %zu failed, %zu not begun, of %zu books\n", summary.made,
                summary.skipped, summary.failed, summary.cancelled, books.size());
    for (const std::string& failure : lines.Failures())
        std::fprintf(stderr, "Not made: %s\n", failure.c_str());
    if (const int signal = platform::TerminationSignals::Received()) return 128 + signal;
    return summary.failed + summary.cancelled == 0 ? 0 : 1;
}

} // namespace folivane::cli
