// A full disk and file-size limits while pieces, documents and the archive are written: the
// job fails naming the file and the cause, or finishes a valid book; nothing half-written stays.
#include "JobHarness.h"

#include "engine/chapters/ChapterList.h"
#include "engine/epub/BookDocuments.h"
#include "engine/epub/Cover.h"
#include "engine/job/BookArchive.h"
#include "engine/job/ConversionJob.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"
#include "zip/FileStream.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace folivane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// For a child: no file may grow beyond `limit` bytes, and SIGXFSZ is ignored so that the
// write that would pass the limit fails with EFBIG instead of ending the process.
std::function<bool()> FileSizeLimit(rlim_t limit) {
    return [limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        return ::setrlimit(RLIMIT_FSIZE, &size) == 0;
    };
}

class FileSizeLimitTest : public JobTest {
protected:
    // Runs the job under each limit and checks the promise; returns the outcomes in order.
    std::vector<JobOutcome> ConvertUnderLimits(const engine::BookInput& input,
                                               const std::vector<rlim_t>& limits) {
        std::vector<JobOutcome> results;
        for (const rlim_t limit : limits) {
            SCOPED_TRACE("limit " + std::to_string(limit));
            const OutputWatch watch(input.outputPath);
            const JobOutcome outcome = RunJobInChild(input, tmp, FileSizeLimit(limit));
            EXPECT_TRUE(KeptThePromise(outcome, watch, tmp));
            if (outcome.code == 1) {
                EXPECT_TRUE(FailedNaming(outcome, {scratch.Path(), "File too large"}));
            }
            results.push_back(outcome);
        }
        return results;
    }
};

TEST_F(FileSizeLimitTest, SmallBookFailsNamingTheFileUntilItFitsAndNeverHalfWritesIt) {
    WriteFile(scratch / "in/cover.png", MakePng());
    engine::BookInput input = Book({Source("a.txt", "first"), Source("b.txt", "second")}, "b.epub");
    input.coverPath = scratch / "in/cover.png";
    // The largest file a job writes is its archive.
    ASSERT_EQ(RunJobInChild(input, tmp).code, 0);
    const auto size = static_cast<rlim_t>(ReadFile(input.outputPath).size());
    WriteFile(input.outputPath, "an earlier file");

    // The book's identifier is random, so its archive may differ by a byte from run to run:
    // only limits clearly below or above its size have a sure outcome.
    const std::vector<rlim_t> sure = {0, 1, 100, 1000, size / 2, size + 64, size * 4};
    std::vector<int> results;
    for (const JobOutcome& outcome : ConvertUnderLimits(input, sure))
        results.push_back(outcome.code);
    EXPECT_THAT(results, ElementsAre(1, 1, 1, 1, 1, 0, 0));
    ConvertUnderLimits(input, {size - 1, size, size + 1});
    QueueBook(input.outputPath);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(FileSizeLimitTest, LargeBookFailsWhilePiecesOrTheArchiveAreWritten) {
    // Cut into pages of about 90 KiB, and an archive of several hundred KB.
    std::string text;
    for (int i = 0; text.size() < (4u << 20); ++i)
        text += "Line " + std::to_string(i) + " of a source that is cut into pages.\n";
    engine::BookInput input = Book({Source("large.txt", text)}, "large.epub");
    // The pages are made in memory: the archive is the only file the job writes.
    std::vector<JobOutcome> outcomes = ConvertUnderLimits(input, {50'000, 120'000});
    EXPECT_TRUE(FailedNaming(outcomes[0], {input.outputPath, "File too large"}));
    EXPECT_TRUE(FailedNaming(outcomes[1], {input.outputPath, "File too large"}));
    // A text too large to hold is kept in pieces of about 90 KiB in the working folder:
    // 50,000 bytes stop the first piece, 120,000 let the pieces through and stop the archive.
    input.heldTextBudget = 0;
    outcomes = ConvertUnderLimits(input, {50'000, 120'000});
    EXPECT_TRUE(FailedNaming(outcomes[0], {"a piece of \"" + input.sources[0] + "\"",
                                           "in the temporary folder", "File too large"}));
    EXPECT_TRUE(FailedNaming(outcomes[1], {input.outputPath, "File too large"}));
}

// A file that takes `room` bytes in all and then refuses, as a full disk does; without room
// it takes everything. `written` counts what it took.
class FullDiskFile : public zip::TFileStream {
public:
    FullDiskFile(const zip::TFileStream& file, std::int64_t room, std::int64_t& written)
        : zip::TFileStream(::fcntl(file.Handle(), F_DUPFD_CLOEXEC, 0), file.Describe()),
          room_(room), written_(written) {}

    std::int64_t Write(const void* buffer, std::int64_t count) override {
        const std::int64_t allowed = room_ < 0 ? count : std::min(count, room_ - written_);
        const std::int64_t done = allowed > 0 ? zip::TFileStream::Write(buffer, allowed) : 0;
        written_ += done;
        if (done < count) refused_ = true;
        return done;
    }
    int LastWriteError() const override {
        return refused_ ? ENOSPC : zip::TFileStream::LastWriteError();
    }

private:
    std::int64_t room_;
    std::int64_t& written_;
    bool refused_ = false;
};

class FullDiskTest : public JobTest {
protected:
    // A small book's documents, made by the engine's own steps.
    FullDiskTest() {
        WriteFile(scratch / "in/cover.gif", MakeGif());
        cover_ = engine::LoadCover(scratch / "in/cover.gif");
        chapters_ = engine::BuildChapterList(
            {Source("one.txt", "first chapter"), Source("two.txt", "second\nchapter")}, nullptr,
            {});
    }

    // Packs the book as the job does, through a file with `room` bytes; returns how many it
    // took.
    std::int64_t Pack(std::int64_t room) {
        std::int64_t written = 0;
        zip::TZipWriter writer;
        writer.WrapOutputFile = [&](std::unique_ptr<zip::TFileStream> file) {
            return std::make_unique<FullDiskFile>(*file, room, written);
        };
        // Dated alike, so that every run makes the same archive.
        engine::BookEntries book(writer, 1718098210, {});
        engine::MakeBookDocuments({"Full disk", "A", "P", "0f0e0d0c-0b0a-4908-8706-050403020100"},
                                  chapters_, &*cover_, "", book);
        engine::PackBookEntries(writer, book.Entries(), output_);
        return written;
    }

    engine::TChapterList chapters_;
    std::optional<engine::CoverImage> cover_;
    const std::string output_ = scratch / "out/book.epub";
};

TEST_F(FullDiskTest, EveryCutAcrossASmallBookFailsAndLeavesTheOutputAsItWas) {
    const std::int64_t total = Pack(-1);
    const std::string full = ReadFile(output_);
    ASSERT_GE(total, static_cast<std::int64_t>(full.size()));
    ::unlink(output_.c_str());

    int failures = 0;
    for (std::int64_t room = 0; room < total; ++room) {
        // Every other cut finds an earlier file at the output.
        const bool earlier = room % 2 == 0;
        if (earlier) WriteFile(output_, "an earlier file");
        try {
            Pack(room);
            ADD_FAILURE() << "no failure with room for " << room << " of " << total << " bytes";
        } catch (const engine::ConversionError& e) {
            ++failures;
            EXPECT_THAT(e.what(), HasSubstr(output_)) << room;
            EXPECT_THAT(e.what(), HasSubstr("No space left on device")) << room;
        }
        if (earlier) {
            ASSERT_THAT(ListNames(scratch / "out"), ElementsAre("book.epub")) << room;
            ASSERT_EQ(ReadFile(output_), "an earlier file") << room;
            ::unlink(output_.c_str());
        } else {
            ASSERT_TRUE(ListNames(scratch / "out").empty()) << room;
        }
    }
    RecordProperty("cuts", failures);
    std::cout << "[  figures ] " << failures << " cuts of a " << total
              << "-byte archive, each one refused\n";

    WriteFile(output_, "an earlier file");
    EXPECT_EQ(Pack(total), total);
    ExpectedBook book;
    book.title = "Full disk";
    book.coverMediaType = "image/gif";
    book.chapters =
        std::vector<ExpectedChapter>{{"one", {"first chapter"}}, {"two", {"second", "chapter"}}};
    QueueBook(output_, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

} // namespace
} // namespace folivane::test
