// One honest bar: the progress of a large conversion never goes back, moves while the first
// source is still being read, passes through every phase in order and is full only at the end.
#include "engine/job/ConversionJob.h"
#include "engine/job/WorkingTree.h"
#include "platform/RegularFile.h"
#include "support/BookFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace folivane::test {
namespace {

using engine::JobPhase;

class ProgressRecord : public RecordingSink {
public:
    void Progress(JobPhase phase, int done) override { steps.push_back({phase, done}); }

    struct Step {
        JobPhase phase;
        int done;
    };
    std::vector<Step> steps;
};

TEST(JobProgress, OneBarThatNeverGoesBackAndMovesFromTheStart) {
    const ScratchFolder scratch;
    // Chapters, so that headings are searched and pages written, beyond the budget, so that
    // pieces are kept, and several read steps long.
    std::string text;
    for (int chapter = 1; text.size() < 4 * platform::kReadStep + 1000; ++chapter) {
        text += "第" + std::to_string(chapter) + "章 雨\n";
        for (int line = 0; line < 40; ++line)
            text += "雨后的石板路还湿着，他沿着河边一直走到中午，才看见渡口。\n";
    }
    WriteFile(scratch / "big.txt", text);
    engine::BookInput input;
    input.sources = {scratch / "big.txt"};
    input.outputPath = scratch / "big.epub";
    input.heldTextBudget = text.size() / 2;
    engine::WorkingTree tree = engine::PrepareWorkingTree(scratch.Path());
    ProgressRecord record;
    engine::DoTask(input, tree, record);
    ASSERT_EQ(record.events.back(), "result 0") << record.reason;

    const auto& steps = record.steps;
    ASSERT_FALSE(steps.empty());
    std::vector<JobPhase> phases{steps.front().phase};
    int movedWhileReading = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (i > 0) {
            ASSERT_GE(steps[i].done, steps[i - 1].done) << "step " << i;
        }
        if (steps[i].phase != phases.back()) phases.push_back(steps[i].phase);
        if (phases.size() == 1 && steps[i].done > 0) ++movedWhileReading;
        // Full only when the book is written and checked.
        if (i + 1 < steps.size()) {
            EXPECT_LT(steps[i].done, engine::kProgressScale) << "step " << i;
        }
    }
    // The bar moves with each step of the first read, before a byte is decoded.
    EXPECT_GE(movedWhileReading, 3);
    EXPECT_EQ(phases, (std::vector<JobPhase>{JobPhase::Reading, JobPhase::FindingChapters,
                                             JobPhase::WritingPages, JobPhase::Packing,
                                             JobPhase::Checking}));
    EXPECT_EQ(steps.back().done, engine::kProgressScale);
}

} // namespace
} // namespace folivane::test
