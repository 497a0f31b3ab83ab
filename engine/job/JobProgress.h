// One bar over the whole conversion, its phases weighted by the time they take.
#pragma once

#include "ProgressSink.h"

#include "engine/chapters/ChapterList.h"

#include <array>
#include <cstddef>

namespace folivane::engine {

// Turns what each step of the job has done into ProgressSink::Progress: one share of the
// whole job that only grows, with the phase the job is in. Each kind of work weighs what it
// costs per byte of the sources, keeping pieces only for the bytes beyond `heldTextBudget`,
// which the first report of the sources' total size tells. Used on the job's thread.
class JobProgress {
public:
    JobProgress(ProgressSink& sink, std::size_t heldTextBudget)
        : sink_(sink), heldTextBudget_(heldTextBudget) {}

    // While the book is decided: `done` of `total` source bytes of one kind of work.
    void Sources(SourceWork work, std::size_t done, std::size_t total);
    // While pages are written: `done` of `total` bytes of their text.
    void Pages(std::size_t done, std::size_t total);
    // While the book is packed: `written` of `total` files.
    void Packing(std::size_t written, std::size_t total);
    // The archive is written and is being read back; then `finished`, the job's end.
    void Checking(bool finished);

private:
    enum Work { kReading, kDecoding, kFinding, kMaking, kWriting, kPacking, kChecking, kWorks };
    void Weigh(std::size_t sourceBytes);
    void Set(Work work, JobPhase phase, std::size_t done, std::size_t total);

    ProgressSink& sink_;
    std::size_t heldTextBudget_;
    bool weighed_ = false;
    std::array<double, kWorks> weights_{}; // in thousandths of the job, summing to all of it
    std::array<double, kWorks> done_{};    // the share of each work done, 0 to 1
    int told_ = -1;
    JobPhase phase_ = JobPhase::Reading;
};

} // namespace folivane::engine
