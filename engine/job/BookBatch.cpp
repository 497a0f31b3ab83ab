// Jobs that take the batch's books in turn until none is left or the batch is cancelled.
#include "BookBatch.h"

#include "ConversionJob.h"
#include "ProgressSink.h"
#include "WorkingTree.h"

#include "zip/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace folivane::engine {
namespace {

// One book's job, heard only for its result; it stops with the batch.
class BookResult : public ProgressSink {
public:
    explicit BookResult(BatchSink& batch) : batch_(batch) {}

    void ShowProgress() override {}
    void SetMaximum(int) override {}
    void ChapterReport(const std::string&) override {}
    void CloseRequest() override {}
    void Result(const std::optional<Failure>& failure) override {
        ended_ = true;
        failure_ = failure;
    }
    bool CancelRequested() override { return batch_.CancelRequested(); }

    // Made only when the job said so, with no failure.
    bool Made() const { return ended_ && !failure_; }
    const std::optional<Failure>& Reason() const { return failure_; }

private:
    BatchSink& batch_;
    bool ended_ = false;
    // What a job that never told its result is reported as.
    std::optional<Failure> failure_ =
        Failure{.kind = FailureKind::Unexpected, .detail = "the job gave no result"};
};

class Batch {
public:
    Batch(const std::vector<BookInput>& books, bool skipExisting, const std::string& tempFolder,
          BatchSink& sink)
        : books_(books), skipExisting_(skipExisting), tempFolder_(tempFolder), sink_(sink) {}

    // Takes books until none is left.
    void Work() {
        for (std::size_t index = next_++; index < books_.size(); index = next_++) {
            if (sink_.CancelRequested()) {
                Finish(index, BatchOutcome::Cancelled, {});
                continue;
            }
            if (skipExisting_ && zip::FileExists(books_[index].outputPath)) {
                Finish(index, BatchOutcome::Skipped, {});
                continue;
            }
            {
                const std::lock_guard lock(mutex_);
                sink_.Started(index);
            }
            WorkingTree tree = PrepareWorkingTree(tempFolder_);
            BookResult result(sink_);
            DoTask(books_[index], tree, result);
            if (result.Made())
                Finish(index, BatchOutcome::Made, {});
            else if (sink_.CancelRequested())
                Finish(index, BatchOutcome::Cancelled, result.Reason());
            else
                Finish(index, BatchOutcome::Failed, result.Reason());
        }
    }

    BatchSummary Summary() const { return summary_; }

private:
    void Finish(std::size_t index, BatchOutcome outcome, const std::optional<Failure>& reason) {
        const std::lock_guard lock(mutex_);
        switch (outcome) {
        case BatchOutcome::Made:
            ++summary_.made;
            break;
        case BatchOutcome::Skipped:
            ++summary_.skipped;
            break;
        case BatchOutcome::Failed:
            ++summary_.failed;
            break;
        case BatchOutcome::Cancelled:
            ++summary_.cancelled;
            break;
        }
        sink_.Finished(index, outcome, reason);
    }

    const std::vector<BookInput>& books_;
    const bool skipExisting_;
    const std::string& tempFolder_;
    BatchSink& sink_;
    std::atomic<std::size_t> next_ = 0;
    std::mutex mutex_;
    BatchSummary summary_;
};

} // namespace

BatchSummary RunBatch(const std::vector<BookInput>& books, std::size_t jobs, bool skipExisting,
                      const std::string& tempFolder, BatchSink& sink) {
    Batch batch(books, skipExisting, tempFolder, sink);
    const std::size_t threads =
        std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(1, books.size()));
    {
        std::vector<std::jthread> workers;
        for (std::size_t i = 1; i < threads; ++i)
            workers.emplace_back([&batch] { batch.Work(); });
        batch.Work();
    }
    return batch.Summary();
}

} // namespace folivane::engine
