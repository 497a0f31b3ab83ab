// Many books at once, one per source: jobs on several threads, each book made as DoTask makes
// one.
#pragma once

#include "BookInput.h"

#include "engine/text/Failure.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace folivane::engine {

// How one book of a batch ended.
enum class BatchOutcome {
    Made,      // written and checked
    Skipped,   // its output existed and the batch leaves existing books
    Failed,    // not written; its failure says why
    Cancelled, // stopped, or never begun, because the batch was cancelled
};

// What a batch tells its front end. Started and Finished come from the batch's threads, one
// call at a time; CancelRequested is asked from every job's thread at once and often.
class BatchSink {
public:
    virtual ~BatchSink() = default;
    // Book `index` is begun.
    virtual void Started(std::size_t index) { static_cast<void>(index); }
    // Book `index` has ended; `failure` says why one Failed (or what stopped one Cancelled
    // while it was made), else is empty.
    virtual void Finished(std::size_t index, BatchOutcome outcome,
                          const std::optional<Failure>& failure) = 0;
    // True stops every job: those running remove what they made, the others are not begun.
    virtual bool CancelRequested() { return false; }
};

struct BatchSummary {
    std::size_t made = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t cancelled = 0;
};

// Makes each book of `books` (each its own input and output) with DoTask, on `jobs` threads
// (at least one), begun in order of index as threads come free; with `skipExisting` a book
// whose output already exists is left and not made. Each job has its own working tree in
// `tempFolder`. Returns when every book has ended. Never raises for a book: a failure is
// that book's Finished.
BatchSummary RunBatch(const std::vector<BookInput>& books, std::size_t jobs, bool skipExisting,
                      const std::string& tempFolder, BatchSink& sink);

} // namespace folivane::engine
