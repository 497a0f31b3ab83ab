// What the job never does: report success over a broken book, or harm a file of the user's.
#include "JobHarness.h"

#include "engine/job/ConversionJob.h"
#include "platform/SystemCalls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
namespace {

// Set in a child job, the size above which an allocation fails there as it does when
// memory runs out; 0 lets every one through. The sanitizers have their own operator new.
std::size_t gLargestAllocation = 0;

} // namespace

void* operator new(std::size_t size) {
    if (gLargestAllocation != 0 && size > gLargestAllocation) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
#endif

namespace folivane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class TrustTest : public JobTest {
protected:
    // Runs a job that is asked to stop at its `checkPoint`th check point.
    JobOutcome ConvertStopping(const engine::BookInput& input, int checkPoint) {
        struct StoppingSink : RecordingSink {
            int at = 0;
            int asked = 0;
            bool CancelRequested() override { return ++asked >= at; }
        } sink;
        sink.at = checkPoint;
        const OutputWatch watch(input.outputPath);
        engine::WorkingTree tree = engine::PrepareWorkingTree(tmp);
        engine::DoTask(input, tree, sink);
        JobOutcome outcome;
        outcome.events = sink.events;
        outcome.reason = sink.reason;
        outcome.code = sink.events.back() == "result 0" ? 0 : 1;
        EXPECT_TRUE(KeptThePromise(outcome, watch, tmp));
        return outcome;
    }
};

TEST_F(TrustTest, WorkingFolderNamedLikeMasksStillGivesTheWholeBook) {
    const std::string masks = scratch / "tmp/a<b>c|d*e?f/";
    ::mkdir(masks.c_str(), 0700);
    const engine::BookInput input =
        Book({Source("one.txt", "first"), Source("two.txt", "second")}, "book.epub");
    WriteFile(input.outputPath, "an earlier file");
    const OutputWatch watch(input.outputPath);
    const JobOutcome outcome = RunJob(input, masks);
    EXPECT_TRUE(KeptThePromise(outcome, watch, masks));
    ExpectedBook book;
    book.chapters = std::vector<ExpectedChapter>{{"one", {"first"}}, {"two", {"second"}}};
    ExpectBook(outcome, input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(TrustTest, BookThatWouldReplaceOneOfItsInputsIsRefusedBeforeAnyWork) {
    const std::string chapter = Source("chapter.txt", "precious text");
    const std::string cover = Source("cover.png", MakePng());
    ::symlink(chapter.c_str(), (scratch / "out/link.epub").c_str());
    ::link(chapter.c_str(), (scratch / "out/hard.epub").c_str());
    struct Row {
        std::string output;
        std::string named; // in the reason
    };
    const Row rows[] = {
        {chapter, "would replace its source"},
        {scratch / "in/./chapter.txt", "would replace its source"},
        {scratch / "out/link.epub", "would replace its source"},
        {scratch / "out/hard.epub", "would replace its source"},
        {cover, "would replace its cover"},
        {scratch / "out/forgotten.TXT", "text file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        engine::BookInput input = Book({chapter}, "");
        input.coverPath = cover;
        input.outputPath = row.output;
        const JobOutcome outcome = Convert(input);
        EXPECT_TRUE(FailedNaming(outcome, {row.named}));
        EXPECT_THAT(outcome.events, ElementsAre("show", "close", "result 1")); // no work
    }
    EXPECT_EQ(ReadFile(chapter), "precious text");
    EXPECT_EQ(ReadFile(cover), MakePng());
}

TEST_F(TrustTest, StoppedJobRemovesWhatItMadeAndKeepsTheEarlierBook) {
    std::vector<std::string> sources;
    for (int i = 0; i < 4; ++i)
        sources.push_back(Source("part" + std::to_string(i) + ".txt", std::string(5000, 'a')));
    const engine::BookInput input = Book(sources, "book.epub");
    WriteFile(input.outputPath, "an earlier file");
    // Where the output's folder has no unnamed files, the book is a hidden file beside it
    // until it is complete: that one must go too.
    for (const bool unnamed : {true, false}) {
        // At the first source, after two pages, and once the archive is being written (four
        // check points for the sources, four for the pages).
        for (const int checkPoint : {1, 6, 10}) {
            SCOPED_TRACE(std::to_string(checkPoint) + (unnamed ? " unnamed" : " hidden"));
            std::vector<platform::Fault> faults;
            if (!unnamed) faults.push_back({platform::Call::Open, EOPNOTSUPP, 1, "/out/"});
            const platform::FaultInjection injection(faults);
            const JobOutcome outcome = ConvertStopping(input, checkPoint);
            EXPECT_TRUE(FailedNaming(outcome, {"stopped"}));
            if (!unnamed) {
                EXPECT_EQ(injection.Injected(0), checkPoint == 10 ? 1 : 0);
            }
        }
    }
    EXPECT_EQ(ReadFile(input.outputPath), "an earlier file");
}

TEST_F(TrustTest, PageThatCannotBeWrittenNamesItsChapterNotTheWorkingFolder) {
    const engine::BookInput input =
        Book({Source("first.txt", "one"), Source("second.txt", "two")}, "book.epub");
    const platform::FaultInjection faults({{platform::Call::Write, ENOSPC, 0, "OEBPS/1.html"}});
    const JobOutcome outcome = Convert(input);
    EXPECT_TRUE(FailedNaming(outcome, {"chapter \"second\"", "No space left on device", tmp}));
    EXPECT_THAT(outcome.reason, Not(HasSubstr("OEBPS")));
}

TEST_F(TrustTest, CoversAreJudgedByTheirHeadBeforeTheyAreReadOrDecoded) {
    const std::string chapter = Source("chapter.txt", "text");
    // A BMP whose compression field says RLE8 (offset 30 of BITMAPINFOHEADER).
    std::string rle = MakeBmp();
    rle[30] = 1;
    // A 16-bit PNG claiming 6000 x 6600: decoding it would take 600 MB.
    std::string deep = MakePng();
    for (int i = 0; i < 4; ++i) {
        deep[16 + static_cast<std::size_t>(i)] = static_cast<char>((6000 >> (8 * (3 - i))) & 0xFF);
        deep[20 + static_cast<std::size_t>(i)] = static_cast<char>((6600 >> (8 * (3 - i))) & 0xFF);
    }
    deep[24] = 16;
    WriteFile(scratch / "in/rle.bmp", rle);
    WriteFile(scratch / "in/deep.png", deep);
    // Sparse files: a gigabyte of nothing, and a "JPEG" of 100 MB.
    for (const auto& [name, head, size] :
         {std::tuple{"huge.jpg", std::string("not a picture at all"), 1LL << 30},
          std::tuple{"big.jpg", std::string("\xFF\xD8\xFF\xE0"), 100LL << 20}}) {
        WriteFile(scratch / ("in/" + std::string(name)), head);
        ASSERT_EQ(::truncate((scratch / ("in/" + std::string(name))).c_str(), size), 0);
    }
    struct Row {
        const char* name;
        const char* outcome; // empty: a book
    };
    for (const Row& row :
         {Row{"rle.bmp", "run-length encoded BMP pictures are not supported"}, Row{"deep.png", ""},
          Row{"huge.jpg", "is not a JPEG, PNG, GIF or BMP picture"},
          Row{"big.jpg", "the picture file is too large"}}) {
        SCOPED_TRACE(row.name);
        engine::BookInput input = Book({chapter}, std::string(row.name) + ".epub");
        input.coverPath = scratch / ("in/" + std::string(row.name));
        const auto start = std::chrono::steady_clock::now();
        const JobOutcome outcome = Convert(input);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        if (*row.outcome)
            EXPECT_TRUE(FailedNaming(outcome, {input.coverPath, row.outcome}));
        else
            EXPECT_EQ(outcome.code, 0) << outcome.reason;
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST_F(TrustTest, RunningOutOfMemoryNamesTheSourceBeingRead) {
    const std::string large = Source("large.txt", std::string(64 << 20, 'x'));
    const engine::BookInput input = Book({large}, "book.epub");
    const OutputWatch watch(input.outputPath);
    // Memory runs out at the reading buffer, whatever else the process has mapped or freed:
    // a limit on address space depended on that and once let the reading through.
    const JobOutcome outcome = RunJobInChild(input, tmp, [] {
        gLargestAllocation = 32 << 20;
        return true;
    });
    EXPECT_TRUE(KeptThePromise(outcome, watch, tmp));
    EXPECT_TRUE(FailedNaming(outcome, {"Not enough memory to read \"" + large + "\""}));
}
#endif

} // namespace
} // namespace folivane::test
