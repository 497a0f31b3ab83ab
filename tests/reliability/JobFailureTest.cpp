// Real failures of whole conversions reach the front end as their kind and values: what the
// window translates and the command line says, with no sentence nested in another.
#include "JobHarness.h"

#include "platform/SystemCalls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace folivane::test {
namespace {

using engine::Failure;
using engine::FailureKind;
using platform::Call;
using platform::Fault;

class JobFailureTest : public JobTest {};

TEST_F(JobFailureTest, EachFailureComesWithItsKindAndTheValuesItNames) {
    const std::string source = Source("one.txt", "第一章 开始\n正文。\n第二章 继续\n正文。\n");
    const std::string book = scratch / "out/book.epub";
    struct Row {
        const char* name;
        std::vector<Fault> faults;
        std::function<void(engine::BookInput&)> change;
        Failure failure;
    };
    const Row rows[] = {
        {"a full disk under the book",
         {{Call::Write, ENOSPC, 0, "book.epub"}},
         {},
         {.kind = FailureKind::BookNotWritten, .path = book, .cause = ENOSPC}},
        // As root the folder's mode would not refuse: the system's answer is injected.
        {"a folder the user may not write in",
         {{Call::Open, EACCES, 0, "/out/"}},
         {},
         {.kind = FailureKind::BookNotWritten, .path = book, .cause = EACCES}},
        {"a read-only file system",
         {{Call::Open, EROFS, 0, "/out/"}},
         {},
         {.kind = FailureKind::BookNotWritten, .path = book, .cause = EROFS}},
        {"a book that cannot take its name",
         {{Call::Rename, EIO, 0, "book.epub"}},
         {},
         {.kind = FailureKind::BookNotWritten, .path = book, .cause = EIO}},
        {"a chapter pattern that does not compile",
         {},
         [](engine::BookInput& input) { input.chapterPattern = "第("; },
         {.kind = FailureKind::ChapterPatternInvalid,
          .value = "第(",
          .detail = "missing closing parenthesis",
          .number = 2}},
        {"a cover that is no picture",
         {},
         [&](engine::BookInput& input) { input.coverPath = Source("cover.png", "not a picture"); },
         {.kind = FailureKind::CoverNotPicture, .path = scratch / "in/cover.png"}},
        {"a source that is gone",
         {},
         [&](engine::BookInput& input) { input.sources.push_back(scratch / "in/gone.txt"); },
         {.kind = FailureKind::FileNotOpened, .path = scratch / "in/gone.txt", .cause = ENOENT}},
        {"a source the system cannot read",
         {{Call::Read, EIO, 0, "one.txt"}},
         {},
         {.kind = FailureKind::FileNotRead, .path = source, .cause = EIO}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        engine::BookInput input = Book({source}, "book.epub");
        if (row.change) row.change(input);
        JobOutcome outcome;
        {
            const platform::FaultInjection injection(row.faults);
            outcome = Convert(input);
        }
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(*outcome.failure, row.failure);
    }
}

// A source this large has its paragraph shape and the book's deflate level judged on a thread
// of their own while the main one searches its headings and reads on: a failure meanwhile
// still ends the job with nothing written and names its file.
TEST_F(JobFailureTest, FailureWhileWorkGoesOnAsideNamesItsSourceAndLeavesNoBook) {
    std::string text;
    for (int line = 0; text.size() < (3u << 19); ++line)
        text += "Line " + std::to_string(line) + " of a text long enough to be judged aside.\n";
    const std::string large = Source("large.txt", text);
    const std::string next = Source("next.txt", "Chapter 2\nThe end.\n");
    struct Row {
        const char* name;
        std::vector<Fault> faults;
        std::string nextSource;
        Failure failure;
    };
    const Row rows[] = {
        {"the next source gone",
         {},
         scratch / "in/gone.txt",
         {.kind = FailureKind::FileNotOpened, .path = scratch / "in/gone.txt", .cause = ENOENT}},
        {"the next source a folder",
         {},
         scratch / "in",
         {.kind = FailureKind::FileNotOpened, .path = scratch / "in", .cause = EISDIR}},
        {"the next source unreadable",
         {{Call::Read, EIO, 0, "next.txt"}},
         next,
         {.kind = FailureKind::FileNotRead, .path = next, .cause = EIO}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        JobOutcome outcome;
        {
            const platform::FaultInjection injection(row.faults);
            outcome = Convert(Book({large, row.nextSource}, "book.epub"));
        }
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(*outcome.failure, row.failure);
    }
}

} // namespace
} // namespace folivane::test
