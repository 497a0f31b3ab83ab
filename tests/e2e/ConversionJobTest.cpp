// The conversion job end to end: its events, its working folder, what it leaves at the output.
#include "support/BookFixtures.h"

#include "engine/job/ConversionJob.h"
#include "platform/FolderTree.h"
#include "support/TestSupport.h"
#include "zip/ZipReader.h"

#include <atomic>
#include <dlfcn.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libdeflate.h>
#include <map>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whole entries deflated, on any thread: libdeflate's call is interposed here, since a book
// compressed twice comes out the same, only slower.
std::atomic<int> gWholeDeflations{0};

} // namespace

extern "C" std::size_t libdeflate_deflate_compress(libdeflate_compressor* compressor,
                                                   const void* in, std::size_t inSize, void* out,
                                                   std::size_t outSize) {
    static const auto real = reinterpret_cast<decltype(&libdeflate_deflate_compress)>(
        ::dlsym(RTLD_NEXT, "libdeflate_deflate_compress"));
    ++gWholeDeflations;
    return real(compressor, in, inSize, out, outSize);
}

namespace folivane::test {
namespace {

using ::testing::ElementsAre;

class ConversionJobTest : public ::testing::Test {
protected:
    // Runs one job with its working folder under the scratch folder's "tmp".
    void Convert(const engine::BookInput& input, RecordingSink& sink) {
        ::mkdir((scratch / "tmp").c_str(), 0700);
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "tmp/");
        engine::DoTask(input, tree, sink);
    }
    RecordingSink Convert(const engine::BookInput& input) {
        RecordingSink sink;
        Convert(input, sink);
        return sink;
    }

    engine::BookInput Book(std::vector<std::string> sources, const std::string& output) {
        engine::BookInput input;
        input.sources = std::move(sources);
        input.title = "Book";
        input.outputPath = scratch / output;
        return input;
    }

    // Entry names of an archive in archive order, read with the writer's own reader.
    static std::vector<std::string> Entries(const std::string& path) {
        zip::TZipReader reader;
        reader.SetZipName(path);
        reader.OpenArchive();
        std::vector<std::string> names;
        for (const auto& header : *reader.ArchiveDirectory())
            names.push_back(header->StoredName());
        return names;
    }

    ScratchFolder scratch;
};

TEST_F(ConversionJobTest, SendsEventsInOrderAndLeavesNoWorkingFolder) {
    WriteFile(scratch / "one.txt", "first\r\nsecond\r\n");
    WriteFile(scratch / "two.txt", "third");
    const RecordingSink sink = Convert(Book({scratch / "one.txt", scratch / "two.txt"}, "b.epub"));
    EXPECT_THAT(sink.events,
                ElementsAre("show", "max 2", "chapter one", "chapter two", "close", "result 0"));
    // Packing is counted file by file between the last chapter and the end, to all 8.
    ASSERT_EQ(sink.packing.size(), 9u);
    for (std::size_t i = 0; i < sink.packing.size(); ++i)
        EXPECT_EQ(sink.packing[i], (RecordingSink::Packing{i, 8, 4})) << i;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
    EXPECT_THAT(Entries(scratch / "b.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.html", "OEBPS/1.html",
                            "OEBPS/content.opf", "OEBPS/contents.html", "OEBPS/css/main.css",
                            "OEBPS/toc.ncx"));
}

// The entries deflated by the time the packing reports its start.
class PackingStartWatch : public RecordingSink {
public:
    void PackingReport(std::size_t written, std::size_t total) override {
        if (packing.empty()) deflationsAtStart = gWholeDeflations;
        RecordingSink::PackingReport(written, total);
    }
    int deflationsAtStart = -1;
};

TEST_F(ConversionJobTest, CompressesEachFileOnceWhileThePagesAreMade) {
    WriteFile(scratch / "one.txt", "first\r\nsecond\r\n");
    WriteFile(scratch / "two.txt", "third");
    const int before = gWholeDeflations;
    PackingStartWatch sink;
    Convert(Book({scratch / "one.txt", scratch / "two.txt"}, "b.epub"), sink);
    ASSERT_EQ(sink.events.back(), "result 0") << sink.reason;
    // Every entry but the stored mimetype, each once, and all before the packing starts: the
    // packing takes what was compressed while the pages were written. (A book this small is
    // compressed on the job's own thread as each page is made.)
    const int deflated = static_cast<int>(Entries(scratch / "b.epub").size()) - 1;
    EXPECT_EQ(sink.deflationsAtStart - before, deflated);
    EXPECT_EQ(gWholeDeflations - before, deflated);
}

// The descriptors open in this process, by number and what they are.
std::map<int, std::string> OpenDescriptors() {
    std::map<int, std::string> open;
    for (const std::string& name : ListNames("/proc/self/fd")) {
        char target[4096];
        const ssize_t size = ::readlink(("/proc/self/fd/" + name).c_str(), target, sizeof target);
        open[std::stoi(name)] = std::string(target, size > 0 ? static_cast<std::size_t>(size) : 0);
    }
    return open;
}

// At every report of the job, the descriptors it has open that a program started then would
// inherit.
class InheritanceWatch : public RecordingSink {
public:
    void ChapterReport(const std::string& name) override {
        RecordingSink::ChapterReport(name);
        Look();
    }
    void PackingReport(std::size_t written, std::size_t total) override {
        RecordingSink::PackingReport(written, total);
        Look();
    }

    std::set<std::string> inheritable;
    int looks = 0;

private:
    void Look() {
        ++looks;
        for (const auto& [fd, what] : OpenDescriptors()) {
            const int flags = ::fcntl(fd, F_GETFD);
            if (!before_.contains(fd) && flags >= 0 && !(flags & FD_CLOEXEC))
                inheritable.insert(what);
        }
    }
    const std::map<int, std::string> before_ = OpenDescriptors();
};

TEST_F(ConversionJobTest, NoDescriptorOfTheJobPassesIntoAProgramItsFrontEndStarts) {
    WriteFile(scratch / "one.txt", "first");
    WriteFile(scratch / "cover.png", MakePng());
    engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
    input.coverPath = scratch / "cover.png";
    ::mkdir((scratch / "tmp").c_str(), 0700);
    InheritanceWatch sink;
    {
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "tmp/");
        engine::DoTask(input, tree, sink);
    }
    ASSERT_EQ(sink.events.back(), "result 0") << sink.reason;
    EXPECT_GT(sink.looks, 2);
    EXPECT_THAT(sink.inheritable, ::testing::IsEmpty());
}

TEST_F(ConversionJobTest, NewBookFollowsTheUmaskAndAReplacedOneKeepsItsMode) {
    WriteFile(scratch / "one.txt", "first");
    const std::pair<unsigned, const char*> rows[] = {{022, "0644"}, {077, "0600"}, {002, "0664"}};
    for (const auto& [umask, mode] : rows) {
        SCOPED_TRACE(::testing::Message() << "umask 0" << std::oct << umask);
        WriteFile(scratch / "old.epub", "an earlier book");
        ASSERT_EQ(::chmod((scratch / "old.epub").c_str(), 0604), 0);
        ::unlink((scratch / "new.epub").c_str());
        const ScopedUmask mask(umask);
        EXPECT_EQ(Convert(Book({scratch / "one.txt"}, "new.epub")).events.back(), "result 0");
        EXPECT_EQ(Convert(Book({scratch / "one.txt"}, "old.epub")).events.back(), "result 0");
        EXPECT_EQ(FileMode(scratch / "new.epub"), mode);
        EXPECT_EQ(FileMode(scratch / "old.epub"), "0604");
    }
}

TEST_F(ConversionJobTest, Epub3BookHoldsItsNavigationDocumentAndXhtmlPages) {
    WriteFile(scratch / "one.txt", "first");
    WriteFile(scratch / "cover.gif", MakeGif());
    engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
    input.coverPath = scratch / "cover.gif";
    input.epubVersion = engine::EpubVersion::Epub3;
    const RecordingSink sink = Convert(input);
    EXPECT_EQ(sink.events.back(), "result 0") << sink.reason;
    EXPECT_THAT(Entries(scratch / "b.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.xhtml",
                            "OEBPS/content.opf", "OEBPS/cover.gif", "OEBPS/css/main.css",
                            "OEBPS/nav.xhtml", "OEBPS/titlepage.xhtml", "OEBPS/toc.ncx"));
}

TEST_F(ConversionJobTest, EpubVersionsOtherThan2And3AreRefusedBeforeAnyWork) {
    WriteFile(scratch / "one.txt", "first");
    for (const int version : {0, 1, 4, -3}) {
        engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
        input.epubVersion = static_cast<engine::EpubVersion>(version);
        const RecordingSink sink = Convert(input);
        EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1")) << version;
        EXPECT_NE(sink.reason.find("b.epub\" as EPUB " + std::to_string(version)),
                  std::string::npos)
            << sink.reason;
        EXPECT_FALSE(PathExists(scratch / "b.epub"));
    }
}

TEST_F(ConversionJobTest, MissingSourceFailsNamingItAndCleansUp) {
    const RecordingSink sink = Convert(Book({scratch / "gone.txt"}, "b.epub"));
    // Each source is read while the chapter list is made, before the maximum is known.
    EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1"));
    EXPECT_NE(sink.reason.find("gone.txt"), std::string::npos) << sink.reason;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
    EXPECT_FALSE(PathExists(scratch / "b.epub"));
}

TEST_F(ConversionJobTest, FailureLeavesAnExistingOutputUntouched) {
    WriteFile(scratch / "b.epub", "an earlier file");
    WriteFile(scratch / "cover.jpg", "not a picture at all");
    engine::BookInput input = Book({scratch / "one.txt"}, "b.epub");
    WriteFile(scratch / "one.txt", "text");
    input.coverPath = scratch / "cover.jpg";
    const RecordingSink sink = Convert(input);
    EXPECT_EQ(sink.events.back(), "result 1");
    EXPECT_NE(sink.reason.find("cover.jpg"), std::string::npos) << sink.reason;
    EXPECT_EQ(ReadFile(scratch / "b.epub"), "an earlier file");
    EXPECT_THAT(ListNames(scratch.Path()), ElementsAre("b.epub", "cover.jpg", "one.txt", "tmp"));
}

TEST_F(ConversionJobTest, ConvertingTwiceToOnePathGivesExactlyTheSecondBook) {
    WriteFile(scratch / "a.txt", "a");
    WriteFile(scratch / "b.txt", "b");
    WriteFile(scratch / "c.txt", "c");
    WriteFile(scratch / "cover.png", MakePng());
    engine::BookInput first =
        Book({scratch / "a.txt", scratch / "b.txt", scratch / "c.txt"}, "x.epub");
    first.coverPath = scratch / "cover.png";
    ASSERT_EQ(Convert(first).events.back(), "result 0");
    ASSERT_EQ(Convert(Book({scratch / "a.txt"}, "x.epub")).events.back(), "result 0");
    EXPECT_THAT(Entries(scratch / "x.epub"),
                ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/0.html",
                            "OEBPS/content.opf", "OEBPS/contents.html", "OEBPS/css/main.css",
                            "OEBPS/toc.ncx"));
    EXPECT_THAT(ListNames(scratch.Path()),
                ElementsAre("a.txt", "b.txt", "c.txt", "cover.png", "tmp", "x.epub"));
}

TEST_F(ConversionJobTest, UnwritableOutputFailsAndCleansUp) {
    WriteFile(scratch / "a.txt", "a");
    WriteFile(scratch / "plain", "a file where a folder should be");
    const RecordingSink sink = Convert(Book({scratch / "a.txt"}, "plain/book.epub"));
    EXPECT_THAT(sink.events, ElementsAre("show", "max 1", "chapter Book", "close", "result 1"));
    EXPECT_NE(sink.reason.find("plain/book.epub"), std::string::npos) << sink.reason;
    EXPECT_TRUE(ListNames(scratch / "tmp").empty());
}

// Names created in a folder while the object lives, seen by inotify: a folder made and
// removed between two looks at the folder is caught too.
class CreationWatch {
public:
    explicit CreationWatch(const std::string& folder) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ < 0 || ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0)
            throw std::runtime_error("cannot watch " + folder);
    }
    ~CreationWatch() { ::close(fd_); }
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    std::vector<std::string> Created() {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[16384];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0) names.emplace_back(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_ = -1;
};

// Lists the temporary folder at every event of the job.
class ListingSink : public RecordingSink {
public:
    explicit ListingSink(std::string folder) : folder_(std::move(folder)) {}
    void ShowProgress() override { Look("show"), RecordingSink::ShowProgress(); }
    void SetMaximum(int count) override { Look("max"), RecordingSink::SetMaximum(count); }
    void ChapterReport(const std::string& name) override {
        Look("chapter"), RecordingSink::ChapterReport(name);
    }
    void PackingReport(std::size_t written, std::size_t total) override {
        Look("packing"), RecordingSink::PackingReport(written, total);
    }
    void CloseRequest() override { Look("close"), RecordingSink::CloseRequest(); }
    void Result(const std::optional<engine::Failure>& failed) override {
        Look("result"), RecordingSink::Result(failed);
    }
    // What the folder held at each event, as "event: name/name/..." for every name in it.
    std::vector<std::string> seen;

private:
    void Look(const std::string& event) {
        for (const std::string& name : ListNames(folder_)) {
            std::string held = event + ": " + name;
            if (name.starts_with("folivane-"))
                for (const std::string& inside : ListNames(folder_ + name))
                    held += " " + inside;
            if (name.starts_with("folivane-") && PathExists(folder_ + name + "/EPUB_TXT"))
                held += " pieces " + std::to_string(ListNames(folder_ + name + "/EPUB_TXT").size());
            seen.push_back(held);
        }
    }
    std::string folder_;
};

TEST_F(ConversionJobTest, OrdinaryBookCreatesNothingInTheTemporaryFolder) {
    std::string large;
    for (int i = 0; large.size() < 400000; ++i)
        large += "Line " + std::to_string(i) + " of a source cut into pages.\n";
    WriteFile(scratch / "large.txt", large);
    WriteFile(scratch / "one.txt", "第一章 开始\n第一行\n第二章 继续\n第二行\n");
    WriteFile(scratch / "cover.png", MakePng());
    engine::BookInput input = Book({scratch / "one.txt", scratch / "large.txt"}, "b.epub");
    input.coverPath = scratch / "cover.png";
    const std::string tmp = scratch / "tmp/";
    ::mkdir(tmp.c_str(), 0700);
    CreationWatch watch(tmp);
    ListingSink sink(tmp);
    {
        engine::WorkingTree tree = engine::PrepareWorkingTree(tmp);
        engine::DoTask(input, tree, sink);
    }
    ASSERT_EQ(sink.events.back(), "result 0") << sink.reason;
    EXPECT_GT(sink.events.size(), 8u);
    EXPECT_THAT(sink.seen, ::testing::IsEmpty());
    EXPECT_THAT(watch.Created(), ::testing::IsEmpty());
    ExpectedBook book;
    book.coverMediaType = "image/png";
    std::vector<std::string> reports;
    for (const std::string& event : sink.events)
        if (event.starts_with("chapter ")) reports.push_back(event.substr(8));
    EXPECT_THAT(reports, ElementsAre("第一章 开始", "第二章 继续", "large (1)", "large (2)",
                                     "large (3)", "large (4)", "large (5)"));
    book.path = scratch / "b.epub";
    EXPECT_EQ(CheckBooks({book}, scratch.Path()), "");
}

TEST_F(ConversionJobTest, TextsTooLargeToHoldArePiecesInAWorkingFolderRemovedAfterwards) {
    std::string large;
    for (int i = 0; large.size() < 300000; ++i)
        large += "Line " + std::to_string(i) + " 雨后的石板路还湿着.\n";
    WriteFile(scratch / "large.txt", large);
    WriteFile(scratch / "small.txt", "small text");
    engine::BookInput input = Book({scratch / "small.txt", scratch / "large.txt"}, "held.epub");
    const std::string tmp = scratch / "tmp/";
    ::mkdir(tmp.c_str(), 0700);
    ASSERT_EQ(Convert(input).events.back(), "result 0");

    // With no text held, the pages of the large source are kept as pieces until written.
    input.outputPath = scratch / "pieces.epub";
    input.heldTextBudget = 0;
    CreationWatch watch(tmp);
    ListingSink sink(tmp);
    {
        engine::WorkingTree tree = engine::PrepareWorkingTree(tmp);
        engine::DoTask(input, tree, sink);
    }
    ASSERT_EQ(sink.events.back(), "result 0") << sink.reason;
    EXPECT_EQ(watch.Created().size(), 1u);
    ASSERT_FALSE(sink.seen.empty());
    EXPECT_THAT(sink.seen.front(),
                ::testing::MatchesRegex("max: folivane-...... \\.lock EPUB_TXT pieces 5"));
    EXPECT_THAT(sink.seen.back(), ::testing::StartsWith("packing: folivane-"));
    EXPECT_TRUE(ListNames(tmp).empty());
    // The same book as the one whose texts were held, but for its identifier and date.
    const CommandResult same = RunCommand(
        "python3 -c 'import sys, zipfile\n"
        "a, b = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2])\n"
        "assert a.namelist() == b.namelist(), (a.namelist(), b.namelist())\n"
        "for n in a.namelist():\n"
        "    assert n in (\"OEBPS/content.opf\", \"OEBPS/toc.ncx\") or a.read(n) == b.read(n), n\n"
        "' " +
        ShellQuote(scratch / "held.epub") + " " + ShellQuote(scratch / "pieces.epub"));
    EXPECT_EQ(same.exitCode, 0) << same.output;
}

TEST_F(ConversionJobTest, WorkingFolderThatCannotBeMadeFailsOnlyAJobThatNeedsIt) {
    WriteFile(scratch / "a.txt", "a");
    WriteFile(scratch / "large.txt", std::string(200000, 'x'));
    const auto run = [&](engine::BookInput input) {
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "no/such/folder/");
        EXPECT_TRUE(tree.Valid());
        RecordingSink sink;
        engine::DoTask(input, tree, sink);
        return sink;
    };
    EXPECT_EQ(run(Book({scratch / "a.txt"}, "b.epub")).events.back(), "result 0");
    engine::BookInput large = Book({scratch / "a.txt", scratch / "large.txt"}, "c.epub");
    large.heldTextBudget = 0;
    const RecordingSink sink = run(large);
    EXPECT_THAT(sink.events, ElementsAre("show", "close", "result 1"));
    EXPECT_NE(sink.reason.find("Cannot create a working folder in"), std::string::npos)
        << sink.reason;
    EXPECT_NE(sink.reason.find("no/such/folder"), std::string::npos) << sink.reason;
    EXPECT_FALSE(PathExists(scratch / "c.epub"));
}

TEST_F(ConversionJobTest, StaleWorkingFoldersGoButRunningOnesStay) {
    const std::string tmp = scratch / "tmp/";
    ::mkdir(tmp.c_str(), 0700);
    engine::WorkingTree running = engine::PrepareWorkingTree(tmp);
    ASSERT_TRUE(running.Make());
    {
        // A killed job leaves its folder, but its lock dies with the process.
        engine::WorkingTree killed = engine::PrepareWorkingTree(tmp);
        ASSERT_TRUE(killed.Make());
        ASSERT_EQ(::system(("cp -a " + ShellQuote(killed.Root()) + " " +
                            ShellQuote(tmp + "folivane-Stale1"))
                               .c_str()),
                  0);
    }
    WriteFile(tmp + "folivane-unrelated.txt", "not ours");
    EXPECT_EQ(engine::RemoveStaleWorkingTrees(tmp), 1);
    EXPECT_TRUE(PathExists(running.Root()));
    EXPECT_FALSE(PathExists(tmp + "folivane-Stale1"));
    EXPECT_TRUE(PathExists(tmp + "folivane-unrelated.txt"));
}

TEST_F(ConversionJobTest, DeletingATreeNeverFollowsALinkOutOfIt) {
    ::mkdir((scratch / "outside").c_str(), 0700);
    WriteFile(scratch / "outside/keep.txt", "keep");
    ::mkdir((scratch / "tree").c_str(), 0700);
    ASSERT_EQ(::symlink((scratch / "outside").c_str(), (scratch / "tree/link").c_str()), 0);
    EXPECT_TRUE(platform::RemoveFolderTree(scratch / "tree"));
    EXPECT_FALSE(PathExists(scratch / "tree"));
    EXPECT_EQ(ReadFile(scratch / "outside/keep.txt"), "keep");
}

} // namespace
} // namespace folivane::test
