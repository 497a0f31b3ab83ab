// What the job never does: report success over a broken book, or harm a file of the user's.
#include "JobHarness.h"

#include "engine/job/ConversionJob.h"
#include "platform/RegularFile.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemCalls.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class TrustTest : public JobTest {
protected:
    // Runs a job that is asked to stop at its `checkPoint`th check point.
    JobOutcome ConvertStopping(const engine::BookInput& input, int checkPoint) {
        int asked = 0;
        return ConvertStoppingWhen(
            input, [&asked, checkPoint](const RecordingSink&) { return ++asked >= checkPoint; });
    }
    // Runs a job that is asked to stop at every check point where `stop` says so.
    JobOutcome ConvertStoppingWhen(const engine::BookInput& input,
                                   const std::function<bool(const RecordingSink&)>& stop) {
        struct StoppingSink : RecordingSink {
            std::function<bool(const RecordingSink&)> stop;
            bool CancelRequested() override { return stop(*this); }
        } sink;
        sink.stop = stop;
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
    const std::string css = Source("mine.css", "p { margin: 0 }");
    ::symlink(chapter.c_str(), (scratch / "out/link.epub").c_str());
    ::symlink("link.epub", (scratch / "out/chain.epub").c_str());
    ::link(chapter.c_str(), (scratch / "out/hard.epub").c_str());
    ::symlink("loop2.epub", (scratch / "out/loop.epub").c_str());
    ::symlink("loop.epub", (scratch / "out/loop2.epub").c_str());
    ::symlink("notes.txt", (scratch / "out/notes.epub").c_str());
    struct Row {
        std::string output;
        std::string named; // in the reason
    };
    const Row rows[] = {
        {chapter, "would replace its source"},
        {scratch / "in/./chapter.txt", "would replace its source"},
        {scratch / "out/link.epub", "would replace its source"},
        {scratch / "out/hard.epub", "would replace its source"},
        {scratch / "out/chain.epub", "would replace its source"},
        {cover, "would replace its cover"},
        {css, "would replace its style sheet"},
        {scratch / "out/forgotten.TXT", "text file"},
        {scratch / "out/notes.epub", "text file"},
        {scratch / "out/loop.epub", "round in a circle"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        engine::BookInput input = Book({chapter}, "");
        input.coverPath = cover;
        input.styleSheetPath = css;
        input.outputPath = row.output;
        const JobOutcome outcome = Convert(input);
        EXPECT_TRUE(FailedNaming(outcome, {row.named}));
        EXPECT_THAT(outcome.events, ElementsAre("show", "close", "result 1")); // no work
    }
    EXPECT_EQ(ReadFile(chapter), "precious text");
    EXPECT_EQ(ReadFile(cover), MakePng());
    EXPECT_EQ(ReadFile(css), "p { margin: 0 }");
}

// What needs no source is refused before any is read: a missing source would be named
// otherwise, and events would follow.
TEST_F(TrustTest, RefusalsThatNeedNoSourceComeBeforeAnyIsRead) {
    const std::string missing = scratch / "in/missing.txt";
    WriteFile(scratch / "in/bad.png", "not a picture");
    WriteFile(scratch / "in/bad.css", std::string("p { content: '\xE9' }"));
    struct Row {
        const char* name;
        std::function<void(engine::BookInput&)> spoil;
        std::string named; // in the reason
    };
    const Row rows[] = {
        {"cover", [&](engine::BookInput& in) { in.coverPath = scratch / "in/bad.png"; }, "bad.png"},
        {"style sheet", [&](engine::BookInput& in) { in.styleSheetPath = scratch / "in/bad.css"; },
         "bad.css"},
        {"language", [](engine::BookInput& in) { in.language = "zh CN"; }, "zh CN"},
        {"pattern", [](engine::BookInput& in) { in.chapterPattern = "第("; }, "parenthesis"},
        {"output", [&](engine::BookInput& in) { in.outputPath = scratch / "in"; }, "in"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        engine::BookInput input = Book({missing}, "book.epub");
        row.spoil(input);
        const JobOutcome outcome = Convert(input);
        EXPECT_TRUE(FailedNaming(outcome, {row.named}));
        EXPECT_EQ(outcome.reason.find("missing.txt"), std::string::npos) << outcome.reason;
        EXPECT_THAT(outcome.events, ElementsAre("show", "close", "result 1"));
    }
}

// An output that is a symbolic link stays one, and the book it leads to is the new book, as
// a shell's `>` would have it.
TEST_F(TrustTest, OutputThatIsALinkReplacesTheBookItLeadsTo) {
    const std::string library = scratch / "library/";
    ::mkdir(library.c_str(), 0755);
    WriteFile(library + "old.epub", "an earlier book");
    struct Row {
        const char* link;
        std::string target; // as the link says it
        std::string book;   // where the book must be
    };
    const Row rows[] = {
        {"absolute.epub", library + "old.epub", library + "old.epub"},
        {"relative.epub", "../library/old.epub", library + "old.epub"},
        {"dangling.epub", "../library/new.epub", library + "new.epub"},
        {"chain.epub", "absolute.epub", library + "old.epub"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.link);
        const std::string link = scratch / "out/" + row.link;
        ASSERT_EQ(::symlink(row.target.c_str(), link.c_str()), 0);
        engine::BookInput input = Book({Source("one.txt", "first")}, row.link);
        const JobOutcome outcome = Convert(input);
        ASSERT_EQ(outcome.code, 0) << outcome.reason;
        char target[PATH_MAX] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), row.target);
        QueueBook(row.book);
    }
    EXPECT_THAT(ListNames(library), ElementsAre("new.epub", "old.epub"));
    EXPECT_EQ(CheckQueuedBooks(), "");
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
            // The first open of the output's folder lists it for books killed jobs left there.
            if (!unnamed) faults.push_back({platform::Call::Open, EOPNOTSUPP, 2, "/out/"});
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

TEST_F(TrustTest, StopAskedOnceEveryEntryIsPackedStillKeepsTheEarlierBook) {
    // The archive is complete then, and checked, but not yet the output: a stop the user asked
    // for keeps what was there.
    const engine::BookInput input =
        Book({Source("one.txt", "first"), Source("two.txt", "second")}, "book.epub");
    WriteFile(input.outputPath, "an earlier file");
    const JobOutcome outcome = ConvertStoppingWhen(input, [](const RecordingSink& sink) {
        return !sink.packing.empty() && sink.packing.back().written == sink.packing.back().total;
    });
    EXPECT_TRUE(FailedNaming(outcome, {"stopped"}));
    EXPECT_EQ(ReadFile(input.outputPath), "an earlier file");
}

TEST_F(TrustTest, StopIsHeardWhileHeadingsAreSoughtInALargeText) {
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i) + "\n";
    engine::BookInput input = Book({Source("long.txt", text)}, "book.epub");
    input.chapterPattern = "^Kapitel \\d+$";
    // Before the source, then twice within the search of its 20,000 lines.
    const JobOutcome outcome = ConvertStopping(input, 3);
    EXPECT_TRUE(FailedNaming(outcome, {"stopped"}));
    EXPECT_THAT(outcome.events, Not(Contains(StartsWith("max "))));
}

TEST_F(TrustTest, StopIsHeardWhileALargeTextIsAlsoJudgedOnAnotherThread) {
    // Its paragraph shape and the book's deflate level are judged aside meanwhile; the stop
    // waits for that work and leaves nothing behind.
    std::string text;
    for (int i = 0; text.size() < (3u << 19); ++i)
        text += "line " + std::to_string(i) + " of a text judged on two threads\n";
    for (int checkPoint : {2, 3}) {
        SCOPED_TRACE(checkPoint);
        const JobOutcome outcome =
            ConvertStopping(Book({Source("long.txt", text)}, "book.epub"), checkPoint);
        EXPECT_TRUE(FailedNaming(outcome, {"stopped"}));
        EXPECT_THAT(outcome.events, Not(Contains(StartsWith("max "))));
    }
}

TEST_F(TrustTest, PieceThatCannotBeWrittenNamesItsSourceNotTheWorkingFolder) {
    // Pages are made in memory; only the pieces of a text too large to hold are files.
    engine::BookInput input = Book(
        {Source("first.txt", "one"), Source("second.txt", std::string(200000, 'x'))}, "book.epub");
    input.heldTextBudget = 0;
    const platform::FaultInjection faults({{platform::Call::Write, ENOSPC, 0, "1-1.txt"}});
    const JobOutcome outcome = Convert(input);
    EXPECT_TRUE(FailedNaming(
        outcome, {"a piece of \"" + input.sources[1] + "\"", "No space left on device", tmp}));
    EXPECT_THAT(outcome.reason, Not(HasSubstr("EPUB_TXT")));
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
    for (const Row& row : {Row{"rle.bmp", "run-length encoded BMP pictures are not supported"},
                           Row{"deep.png", "the picture is damaged"}, // its data is 8 x 16
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

TEST_F(TrustTest, BookInformationIsTrimmedAndBlankNamesAreLeftOutInBothVersions) {
    const std::string chapter = Source("chapter.txt", "text");
    struct Row {
        const char* output;
        int version;
        std::string title, author, publisher; // as given
        std::string bookTitle, bookAuthor;    // as the book has them
    };
    for (const Row& row : {Row{"padded.epub", 3, " \t Padded Title\u3000\n", "  A. Writer ",
                               "\u3000", "Padded Title", "A. Writer"},
                           // A blank title: the first file's name names the book.
                           Row{"blank2.epub", 2, "   ", " \t ", "\r\n", "chapter", ""},
                           Row{"blank3.epub", 3, "\u3000", " ", "  ", "chapter", ""}}) {
        SCOPED_TRACE(row.output);
        engine::BookInput input = Book({chapter}, row.output);
        input.title = row.title;
        input.author = row.author;
        input.publisher = row.publisher;
        input.epubVersion = static_cast<engine::EpubVersion>(row.version);
        ExpectedBook book;
        book.title = row.bookTitle;
        book.author = row.bookAuthor;
        book.publisher = "";
        book.epubVersion = row.version;
        book.pandoc = false; // the package document is what this is about
        ExpectBook(Convert(input), input.outputPath, book);
        const std::string opf =
            RunCommand("unzip -p " + ShellQuote(input.outputPath) + " OEBPS/content.opf").output;
        EXPECT_THAT(opf, Not(HasSubstr("<dc:publisher")));
        if (row.bookAuthor.empty()) {
            EXPECT_THAT(opf, Not(HasSubstr("<dc:creator")));
        }
    }
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(TrustTest, OutputTheUserCouldNotWriteIsRefusedBeforeAnyWork) {
    // As the system would answer for a file of mode 444, or another user's, for any user.
    const engine::BookInput input = Book({Source("a.txt", "text")}, "book.epub");
    WriteFile(input.outputPath, "an earlier book");
    const platform::FaultInjection faults({{platform::Call::Access, EACCES, 0, "book.epub"}});
    const JobOutcome outcome = Convert(input);
    EXPECT_TRUE(FailedNaming(outcome, {input.outputPath, "write-protected", "Permission denied"}));
    EXPECT_THAT(outcome.events, ElementsAre("show", "close", "result 1"));
}

// What a conversion killed between giving its book a hidden name and renaming it leaves behind:
// made in a child that ends at that moment without any clean-up, as a kill would.
void LeaveHiddenBook(const std::string& output, const std::string& bytes) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        try {
            platform::ReplacementFile file(output);
            if (platform::WriteAll(file.Duplicate(), bytes) != 0) std::_Exit(1);
            const platform::FaultInjection faults({{platform::Call::Rename, EIO}});
            try {
                file.Publish(false);
            } catch (...) {
                std::_Exit(0); // with the book linked, and before anything is cleaned up
            }
        } catch (...) {
        }
        std::_Exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_EQ(status, 0);
}

// A zip archive of one entry.
std::string ZipHolding(const std::string& name, const std::string& bytes) {
    const ScratchFolder folder;
    zip::TZipWriter writer;
    writer.SetZipName(folder / "archive.zip");
    writer.AddMemoryEntry(name, bytes, std::time(nullptr));
    writer.BuildArchive();
    return ReadFile(folder / "archive.zip");
}

TEST_F(TrustTest, HiddenBooksOfKilledConversionsGoWithTheNextConversionToThatOutput) {
    const engine::BookInput input = Book({Source("a.txt", "text")}, "book.epub");
    ASSERT_EQ(Convert(input).code, 0);
    const std::string book = ReadFile(input.outputPath);
    const auto names = [&] { return ListNames(scratch / "out"); };
    LeaveHiddenBook(input.outputPath, book);
    ASSERT_EQ(names().size(), 2u);
    const std::string abandoned = names()[0]; // hidden: its name begins with a dot
    // Kept: the hidden book of a conversion still running (here, without unnamed files), a
    // user's file that only looks like one by its name, and a book under another name.
    std::unique_ptr<platform::ReplacementFile> running;
    {
        const platform::FaultInjection noUnnamedFiles({{platform::Call::Open, EOPNOTSUPP, 1}});
        running = std::make_unique<platform::ReplacementFile>(input.outputPath);
    }
    ASSERT_EQ(platform::WriteAll(running->Duplicate(), book), 0);
    WriteFile(scratch / "out/.book.epub.folivane-Notes1", "the user's notes");
    WriteFile(scratch / "out/.book.epub.123456", book);
    // Named as hidden books are, and kept too: a zip that is no book, an empty file made a
    // moment ago (its conversion may be starting) and another user's book. An empty or short
    // one older than a minute goes.
    const std::string hidden = scratch / ("out/" + abandoned.substr(0, abandoned.size() - 6));
    WriteFile(hidden + "NotBk1", ZipHolding("notes.txt", "the user's notes"));
    WriteFile(hidden + "Empty1", "");
    WriteFile(hidden + "Short1", "PK\x03\x04"); // killed before its first entry was whole
    if (CanBecomeNobody()) {
        WriteFile(hidden + "Other1", book);
        GiveToNobody(hidden + "Other1");
    }
    std::vector<std::string> kept = names();
    const timespec old[2] = {{std::time(nullptr) - 120, 0}, {std::time(nullptr) - 120, 0}};
    for (const char* stale : {"Empty2", "Short2"}) {
        WriteFile(hidden + stale, std::string_view("PK\x03\x04", stale[0] == 'E' ? 0 : 4));
        ASSERT_EQ(::utimensat(AT_FDCWD, (hidden + stale).c_str(), old, 0), 0);
    }
    ASSERT_EQ(kept.size(), CanBecomeNobody() ? 9u : 8u);
    std::erase(kept, abandoned);

    const JobOutcome outcome = RunJob(input, tmp);
    EXPECT_EQ(outcome.code, 0) << outcome.reason;
    EXPECT_EQ(names(), kept);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The sanitizers need descriptors of their own (UBSan checks a virtual call through a pipe).
TEST_F(TrustTest, RunningOutOfDescriptorsEndsWithAReasonAndLeavesNoWorkingFolder) {
    WriteFile(scratch / "in/cover.png", MakePng());
    engine::BookInput input = Book({Source("a.txt", "first"), Source("b.txt", "second")}, "b.epub");
    input.coverPath = scratch / "in/cover.png";
    std::vector<int> codes;
    for (int spare = 0; spare <= 16; ++spare) {
        SCOPED_TRACE(std::to_string(spare) + " descriptors");
        const OutputWatch watch(input.outputPath);
        const JobOutcome outcome = RunJobInChild(input, tmp, [spare] {
            const int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            ::close(lowest);
            const rlim_t limit = static_cast<rlim_t>(lowest + spare);
            const rlimit descriptors{limit, limit};
            return ::setrlimit(RLIMIT_NOFILE, &descriptors) == 0;
        });
        EXPECT_TRUE(KeptThePromise(outcome, watch, tmp));
        if (outcome.code == 1) {
            EXPECT_THAT(outcome.reason, HasSubstr("Too many open files"));
        }
        codes.push_back(outcome.code);
    }
    EXPECT_EQ(codes.front(), 1);
    EXPECT_EQ(codes.back(), 0);
}
#endif

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
