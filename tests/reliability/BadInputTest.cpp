// Bad sources, names, covers, book information and outputs: each job ends in a valid book or
// in a failure that names the file and the cause, and leaves nothing behind.
#include "JobHarness.h"

#include "support/BookFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <stb_image.h>
#include <stb_image_write.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::test {
namespace {

using namespace std::string_literals;

const std::string kFFFD = "\xEF\xBF\xBD";

using BadInputTest = JobTest;

struct SourceRow {
    const char* name; // also the chapter's name
    std::string bytes;
    std::optional<std::vector<std::string>> lines; // the chapter's paragraphs, where certain
};

std::vector<SourceRow> OddSources() {
    using Lines = std::vector<std::string>;
    return {
        {"EmptyFile", "", Lines{""}},
        {"OneByte", "x", Lines{"x"}},
        {"OneByteAbove7F", "\xE9", std::nullopt},
        {"RandomBytes", RandomBytes(64 << 10, 1), std::nullopt},
        {"RandomBytesLargeEnoughToSplit", RandomBytes(300 << 10, 2), std::nullopt},
        {"RandomBytesAfterAUtf8Mark", "\xEF\xBB\xBF" + RandomBytes(64 << 10, 3), std::nullopt},
        {"RandomBytesAfterAUtf16Mark", "\xFF\xFE" + RandomBytes(300 << 10, 4), std::nullopt},
        {"PngRenamedToTxt", MakePng(), std::nullopt},
        {"NulBytesInTheMiddle", "before\0after\r\n\0\0next"s, Lines{"beforeafter", "next"}},
        {"MalformedUtf8",
         "\xEF\xBB\xBF"
         "ok \xC0\xAF \xED\xA0\x80 \xF8\x88\x80\x80\x80 end",
         std::nullopt},
        {"MalformedUtf8WithoutAMark", "ok \xC3\x28 \xA0\xA1 end", std::nullopt},
        {"TruncatedUtf8", "\xEF\xBB\xBF中文\xE4\xB8", Lines{"中文" + kFFFD}},
        {"TruncatedUtf8WithoutAMark", "中文中文中文\xE4\xB8", std::nullopt},
        {"MalformedUtf16", "\xFF\xFE\x00\xDC\x41\x00\x00\xD8\x42\x00"s,
         Lines{kFFFD + "A" + kFFFD + "B"}},
        {"TruncatedUtf16", "\xFF\xFE\x41\x00\x42"s, Lines{"AB"}},
        {"TruncatedUtf16Pair", "\xFF\xFE\x41\x00\x3D\xD8"s, Lines{"A" + kFFFD}},
        {"LoneUtf8Mark", "\xEF\xBB\xBF", Lines{""}},
        {"LoneUtf16Mark", "\xFF\xFE", Lines{""}},
        {"HalfAUtf8Mark", "\xEF\xBB", std::nullopt}, // no mark: a cut character
        {"LoneUtf16BigEndianMark", "\xFE\xFF", Lines{""}},
        {"LoneUtf32Marks", "\xFF\xFE\x00\x00\x00\x00\xFE\xFF"s, Lines{kFFFD}},
    };
}

TEST_F(BadInputTest, OddSourceBytesGiveAValidBook) {
    // Every row is a source of one book; the rows whose text is certain also make a second
    // book whose pages are compared line by line. One validator run checks both.
    std::vector<std::string> all, certain;
    std::vector<ExpectedChapter> chapters;
    for (const SourceRow& row : OddSources()) {
        all.push_back(Source(row.name + ".txt"s, row.bytes));
        if (!row.lines) continue;
        certain.push_back(all.back());
        chapters.push_back({row.name, *row.lines});
    }
    ExpectBook(Convert(Book(all, "odd.epub")), scratch / "out/odd.epub");
    ExpectedBook book;
    book.chapters = chapters;
    ExpectBook(Convert(Book(certain, "certain.epub")), scratch / "out/certain.epub", book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(BadInputTest, HugeLinesSourcesAndSourceCountsGiveValidBooks) {
    // A single line of 1 MiB is cut into pages (ChapterTrustTest checks where).
    std::string line;
    while (line.size() < (1u << 20))
        line += "一行很长的文字 and a very long line without end, ";
    ExpectedBook oneLine;
    oneLine.pandoc = false;
    ExpectBook(Convert(Book({Source("line.txt", line)}, "line.epub")), scratch / "out/line.epub",
               oneLine);

    // 6 MiB, more text than the job may hold: kept in pieces in the working folder, as a
    // source beyond the ordinary budget is.
    std::vector<std::string> lines;
    std::string text;
    for (int i = 0; text.size() < (6u << 20); ++i) {
        lines.push_back("Line " + std::to_string(i) + ", 第" + std::to_string(i % 97) +
                        "段: the quick brown fox jumps over the lazy dog.");
        text += lines.back() + "\r\n";
    }
    ExpectedBook huge;
    huge.text = lines;
    huge.pandoc = false;
    engine::BookInput hugeInput = Book({Source("huge.txt", text)}, "huge.epub");
    hugeInput.heldTextBudget = 4u << 20;
    ExpectBook(Convert(hugeInput), scratch / "out/huge.epub", huge);

    // A thousand sources: a thousand chapters, in order.
    std::vector<std::string> sources;
    std::vector<ExpectedChapter> chapters;
    ::mkdir((scratch / "in/many").c_str(), 0755);
    for (int i = 0; i < 1000; ++i) {
        const std::string name = std::to_string(10000 + i).substr(1);
        sources.push_back(Source("many/" + name + ".txt", "Chapter " + name));
        chapters.push_back({"Chapter " + name, {"Chapter " + name}}); // named by its heading
    }
    ExpectedBook many;
    many.chapters = chapters;
    ExpectBook(Convert(Book(sources, "many.epub")), scratch / "out/many.epub", many);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(BadInputTest, AwkwardNamesAndLongPathsGiveValidBooks) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"with  two spaces .txt", "with  two spaces "},
        {"\"double\" 'single'.txt", "\"double\" 'single'"},
        {"Tom & Jerry.txt", "Tom & Jerry"},
        {"a<b>c.txt", "a<b>c"},
        {"100% %s %n.txt", "100% %s %n"},
        {"第一章 Ünïcødé.txt", "第一章 Ünïcødé"},
        {"-leading dash.txt", "-leading dash"},
        {std::string(251, 'n') + ".txt", std::string(251, 'n')}, // 255 bytes, the longest name
        {"control\x01\x1F.txt", "control"},                      // what XML forbids is dropped
        // A byte of no code page shows as U+FFFD, as the listing and the window show it.
        {"caf\xE9.txt", "caf\xEF\xBF\xBD"},
    };
    std::vector<std::string> sources;
    std::vector<ExpectedChapter> chapters;
    for (const auto& [file, chapter] : names) {
        sources.push_back(Source(file, "text of " + chapter));
        // A paragraph is shown without the white space at its ends.
        std::string paragraph = "text of " + chapter;
        while (paragraph.ends_with(' '))
            paragraph.pop_back();
        chapters.push_back({chapter, {paragraph}});
    }
    // A path beyond 255 bytes, through folders of 100-byte names.
    std::string deep = scratch / "in";
    for (int i = 0; i < 3; ++i) {
        deep += "/" + std::string(100, static_cast<char>('d' + i));
        ::mkdir(deep.c_str(), 0755);
    }
    WriteFile(deep + "/deep.txt", "deep text");
    ASSERT_GT((deep + "/deep.txt").size(), 300u);
    sources.push_back(deep + "/deep.txt");
    chapters.push_back({"deep", {"deep text"}});
    // A link to a source is read through; the chapter takes the link's name.
    ::mkdir((scratch / "in/real").c_str(), 0755);
    WriteFile(scratch / "in/real/target.txt", "linked text");
    ASSERT_EQ(
        ::symlink((scratch / "in/real/target.txt").c_str(), (scratch / "in/link.txt").c_str()), 0);
    sources.push_back(scratch / "in/link.txt");
    chapters.push_back({"link", {"linked text"}});

    ExpectedBook book;
    book.chapters = chapters;
    const std::string awkward = "-Book & <x> \"q\" 100% 书.epub";
    ExpectBook(Convert(Book(sources, awkward)), scratch / ("out/" + awkward), book);

    // An output name near the 255-byte limit, and an output path beyond 255 bytes.
    const std::string longName = std::string(245, 'o') + ".epub";
    ExpectBook(Convert(Book({sources[0]}, longName)), scratch / ("out/" + longName));
    std::string deepOut = scratch / "out";
    for (int i = 0; i < 3; ++i) {
        deepOut += "/" + std::string(100, static_cast<char>('p' + i));
        ::mkdir(deepOut.c_str(), 0755);
    }
    engine::BookInput input = Book({sources[0]}, "");
    input.outputPath = deepOut + "/deep.epub";
    ExpectBook(Convert(input), input.outputPath);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(BadInputTest, SourcesThatAreNoTextFilesFailNamingThem) {
    WriteFile(scratch / "out/book.epub", "an earlier file");
    ::mkdir((scratch / "in/folder.txt").c_str(), 0755);
    ::symlink((scratch / "in/nowhere").c_str(), (scratch / "in/dangling.txt").c_str());
    ::mkfifo((scratch / "in/fifo.txt").c_str(), 0644);
    ::symlink("/dev/zero", (scratch / "in/zero.txt").c_str());
    const std::string ok = Source("ok.txt", "fine");
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"folder.txt", "Is a directory"},
        {"dangling.txt", "No such file or directory"},
        {"fifo.txt", "Not a regular file"}, // must not wait for a writer
        {"zero.txt", "Not a regular file"}, // a device that never ends
        {"missing.txt", "No such file or directory"},
    };
    for (const auto& [name, cause] : rows) {
        SCOPED_TRACE(name);
        const std::string path = scratch / ("in/" + name);
        EXPECT_TRUE(FailedNaming(Convert(Book({ok, path}, "book.epub")), {path, cause}));
    }
}

TEST_F(BadInputTest, SourceThatVanishesAfterItWasReadStillGivesTheBook) {
    // Every source is read once, while the chapter list is made.
    const std::string small = Source("small.txt", "vanishing");
    std::vector<std::string> lines(2048, std::string(100, 'x'));
    const std::string large = Source("large.txt", JoinLines(lines, "\n"));
    const JobOutcome outcome = Convert(Book({large, small}, "book.epub"), [&] {
        ::unlink(small.c_str());
        ::unlink(large.c_str());
    });
    ExpectedBook book;
    lines.push_back("vanishing");
    book.text = lines;
    ExpectBook(outcome, scratch / "out/book.epub", book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

class AsNobodyTest : public BadInputTest {
protected:
    void SetUp() override {
        if (!CanBecomeNobody()) GTEST_SKIP() << "needs root to run jobs as the user nobody";
        // nobody reads the sources and writes its working folders and outputs.
        ::chmod(scratch.Path().c_str(), 0755);
        GiveToNobody(scratch / "tmp");
        GiveToNobody(scratch / "out");
    }

    JobOutcome ConvertAsNobody(const engine::BookInput& input, const ChapterListHook& hook = {}) {
        const OutputWatch watch(input.outputPath);
        const JobOutcome outcome = RunJobInChild(input, tmp, BecomeNobody, hook);
        if (outcome.status == kChildCannotPrepare) ADD_FAILURE() << "cannot become nobody";
        EXPECT_TRUE(KeptThePromise(outcome, watch, tmp)) << input.outputPath;
        return outcome;
    }
};

TEST_F(AsNobodyTest, UnreadableSourcesFailNamingThem) {
    const std::string ok = Source("ok.txt", "fine");
    const std::string locked = Source("locked.txt", "no one may read this");
    ::chmod(locked.c_str(), 0000);
    EXPECT_TRUE(FailedNaming(ConvertAsNobody(Book({ok, locked}, "book.epub")),
                             {locked, "Permission denied"}));

    // Readable when the chapter list is made, unreadable by the time its page is written:
    // its text was read then, once.
    const std::string later = Source("later.txt", "soon locked");
    GiveToNobody(later);
    const JobOutcome outcome =
        ConvertAsNobody(Book({later, ok}, "book.epub"), [&] { ::chmod(later.c_str(), 0000); });
    EXPECT_EQ(outcome.code, 0) << outcome.reason;
}

TEST_F(AsNobodyTest, ReadOnlyOutputFolderFailsNamingTheOutput) {
    const std::string ok = Source("ok.txt", "fine");
    ::mkdir((scratch / "readonly").c_str(), 0755); // root's: nobody may not write in it
    WriteFile(scratch / "readonly/book.epub", "an earlier file");
    engine::BookInput input = Book({ok}, "");
    for (const char* name : {"new.epub", "book.epub"}) {
        input.outputPath = scratch / ("readonly/" + std::string(name));
        EXPECT_TRUE(FailedNaming(ConvertAsNobody(input), {input.outputPath, "Permission denied"}));
    }
}

TEST_F(AsNobodyTest, WriteProtectedOutputsAreRefusedBeforeAnyWork) {
    const std::string ok = Source("ok.txt", "fine");
    // nobody's own book made read-only, and another user's book in a shared folder (/tmp's
    // mode): a rename could replace the first, cp could write neither.
    const std::string readOnly = scratch / "out/readonly.epub";
    WriteFile(readOnly, "an earlier book");
    GiveToNobody(readOnly);
    ::chmod(readOnly.c_str(), 0444);
    const std::string shared = scratch / "shared";
    ::mkdir(shared.c_str(), 0700);
    ::chmod(shared.c_str(), 01777);
    WriteFile(shared + "/book.epub", "someone else's book");
    for (const std::string& output : {readOnly, shared + "/book.epub"}) {
        engine::BookInput input = Book({ok}, "");
        input.outputPath = output;
        const JobOutcome outcome = ConvertAsNobody(input);
        EXPECT_TRUE(FailedNaming(outcome, {output, "write-protected", "Permission denied"}));
        EXPECT_EQ(outcome.events, (std::vector<std::string>{"show", "close", "result 1"}));
    }
}

// A picture of `width` x `height` grey pixels.
std::string GreyJpeg(int width, int height) {
    std::string out;
    const std::vector<unsigned char> pixels(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 128);
    stbi_write_jpg_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<std::size_t>(size));
        },
        &out, width, height, 1, pixels.data(), 50);
    return out;
}

// A picture whose header claims `width` x `height`, the little-endian 32-bit fields of BMP
// at `offset`, or PNG's big-endian ones of IHDR.
std::string WithSize(std::string picture, std::size_t offset, std::uint32_t width,
                     std::uint32_t height, bool bigEndian) {
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 8 * (3 - i) : 8 * i;
        picture[offset + static_cast<std::size_t>(i)] = static_cast<char>(width >> shift);
        picture[offset + 4 + static_cast<std::size_t>(i)] = static_cast<char>(height >> shift);
    }
    return picture;
}

// The BMP stored top row first: rows reversed and the height negated.
std::string TopDown(const std::string& bmp) {
    const auto at = [&](std::size_t offset) {
        std::uint32_t value = 0;
        for (std::size_t i = 4; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(bmp[offset + i]);
        return value;
    };
    const std::size_t pixels = at(10);
    const auto height = static_cast<std::int32_t>(at(22));
    const std::size_t row = (bmp.size() - pixels) / static_cast<std::size_t>(height);
    std::string flipped = bmp.substr(0, pixels);
    for (std::int32_t y = height; y-- > 0;)
        flipped += bmp.substr(pixels + static_cast<std::size_t>(y) * row, row);
    return WithSize(flipped, 18, at(18), static_cast<std::uint32_t>(-height), false);
}

TEST_F(BadInputTest, CoversThatAreNoPicturesFailAndDamagedOrHugeOnesNeverHarm) {
    const std::string chapter = Source("chapter.txt", "text");
    const std::string jpeg = MakeJpeg();
    const std::string gif = MakeGif();
    const std::string bmp = MakeBmp();
    struct CoverRow {
        std::string name;
        std::optional<std::string> bytes; // none: nothing is made at the path
        std::string failure;              // empty: either a book or a failure naming damage
    };
    const std::vector<CoverRow> rows = {
        {"missing.jpg", std::nullopt, "No such file or directory"},
        {"not-a-picture.jpg", "plain text, no picture", "is not a JPEG, PNG, GIF or BMP picture"},
        {"two-bytes.jpg", jpeg.substr(0, 2), "is not a JPEG, PNG, GIF or BMP picture"},
        {"header-only.jpg", jpeg.substr(0, 20), "the picture is damaged"},
        {"half.jpg", jpeg.substr(0, jpeg.size() / 2), "the picture is damaged"},
        {"without-end.jpg", jpeg.substr(0, jpeg.size() - 2), "the picture is damaged"},
        // Every picture is decoded whole, and none beyond 40 million pixels.
        {"huge.jpg", GreyJpeg(7000, 6000), "too large (7000 x 6000 pixels"},
        {"huge-claim.bmp", WithSize(MakeBmp(), 18, 10000, 10000, false), "too large"},
        {"huge-claim.png", WithSize(MakePng(), 16, 20000, 20000, true), "too large"},
        {"claim-beyond-its-data.png", WithSize(MakePng(), 16, 4000, 4000, true),
         "the picture is damaged"},
        {"half.gif", gif.substr(0, 20), "the picture is damaged (it is cut short)"},
        {"without-last-block.gif", gif.substr(0, gif.size() - 2), "it is cut short"},
        {"without-trailer.gif", gif.substr(0, gif.size() - 1), ""},
        {"half.bmp", bmp.substr(0, bmp.size() / 2), "the picture is damaged (it is cut short)"},
        {"top-down.bmp", TopDown(bmp), ""},
    };
    for (const CoverRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string cover = scratch / ("in/" + row.name);
        if (row.bytes) WriteFile(cover, *row.bytes);
        engine::BookInput input = Book({chapter}, row.name + ".epub");
        input.coverPath = cover;
        const JobOutcome outcome = Convert(input);
        if (!row.failure.empty()) {
            EXPECT_TRUE(FailedNaming(outcome, {cover, row.failure}));
        } else {
            ExpectBook(outcome, input.outputPath);
        }
    }
    // The top-down BMP keeps its top row on top.
    const std::string png =
        RunCommand("unzip -p " + ShellQuote(scratch / "out/top-down.bmp.epub") + " OEBPS/cover.png")
            .output;
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                              static_cast<int>(png.size()), &width, &height, &channels, 3),
        stbi_image_free);
    ASSERT_TRUE(pixels);
    int original = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> expected(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bmp.data()),
                              static_cast<int>(bmp.size()), &width, &height, &original, 3),
        stbi_image_free);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(pixels.get()), 3u * 16 * 8),
              std::string_view(reinterpret_cast<const char*>(expected.get()), 3u * 16 * 8));
    ::mkdir((scratch / "in/folder.jpg").c_str(), 0755);
    ::mkfifo((scratch / "in/fifo.jpg").c_str(), 0644);
    for (const auto& [name, cause] : std::vector<std::pair<std::string, std::string>>{
             {"folder.jpg", "Is a directory"}, {"fifo.jpg", "Not a regular file"}}) {
        SCOPED_TRACE(name);
        engine::BookInput input = Book({chapter}, "book.epub");
        input.coverPath = scratch / ("in/" + name);
        EXPECT_TRUE(FailedNaming(Convert(input), {input.coverPath, cause}));
    }
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(BadInputTest, BookInformationThatLooksLikeXmlOrHoldsControlsStaysText) {
    engine::BookInput input = Book({Source("a.txt", "a")}, "info.epub");
    const std::string lookalikes = "</dc:title><dc:title>Second</dc:title><meta name=\"x\"/>"
                                   "<![CDATA[ x ]]> <!-- c --> <?pi x?> &amp; &#0; &#x1;";
    input.title = lookalikes + " \x01\x02\x1F|\x7F|\xC2\x85|\xEF\xBF\xBE|\xE9|\x1B[0m end";
    input.author = "Writer\twith a tab\nand a line";
    input.publisher = "]]> \x0B\x0C\x08 <publisher>";
    ExpectedBook book;
    book.title = lookalikes + " |\x7F|\xC2\x85|||[0m end"; // DEL and C1 controls are XML
    book.author = input.author;
    book.publisher = "]]>  <publisher>";
    ExpectBook(Convert(input), input.outputPath, book);

    // A title that is nothing but what XML forbids would leave the book without a name: it
    // is named after its first file.
    for (const std::string& title : {"\x01\x02\x03"s, "\xFF\xFE"s, " \x0B "s}) {
        engine::BookInput untitled = Book({scratch / "in/a.txt"}, "Output Name.epub");
        untitled.title = title;
        ExpectedBook named;
        named.title = "a";
        ExpectBook(Convert(untitled), untitled.outputPath, named);
    }
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(BadInputTest, OutputsThatCannotTakeABookFailAndOthersAreReplaced) {
    const std::string ok = Source("ok.txt", "fine");
    ::mkdir((scratch / "out/folder.epub").c_str(), 0755);
    ::mkfifo((scratch / "out/fifo.epub").c_str(), 0644);
    for (const auto& [name, cause] : std::vector<std::pair<std::string, std::string>>{
             {"no/such/folder/book.epub", "No such file or directory"},
             {"folder.epub", "Is a directory"},
             {"fifo.epub", "Not a regular file"}}) {
        SCOPED_TRACE(name);
        const engine::BookInput input = Book({ok}, name);
        EXPECT_TRUE(FailedNaming(Convert(input), {input.outputPath, cause}));
    }

    // A blank path names no file: the writer would write nothing and call it done.
    for (const char* blank : {"", " \t"}) {
        engine::BookInput input = Book({ok}, "");
        input.outputPath = blank;
        EXPECT_TRUE(FailedNaming(Convert(input), {"no output file is named"}));
    }

    // A file that is no archive, and an earlier book, are replaced whole.
    WriteFile(scratch / "out/notes.epub", "plain text where the book goes");
    engine::BookInput input = Book({ok}, "notes.epub");
    ExpectedBook replaced;
    // The one page of a book of one source is labelled by the book's title.
    replaced.chapters = std::vector<ExpectedChapter>{{"Book", {"fine"}}};
    ExpectBook(Convert(input), input.outputPath, replaced);
    const std::string other = Source("other.txt", "other");
    input = Book({other, ok, other}, "earlier.epub");
    input.title = "Earlier";
    ASSERT_EQ(Convert(input).code, 0);
    input.sources = {ok};
    input.title = "Later";
    ExpectedBook later;
    later.title = "Later";
    later.chapters = std::vector<ExpectedChapter>{{"Later", {"fine"}}};
    ExpectBook(Convert(input), input.outputPath, later);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

} // namespace
} // namespace folivane::test
