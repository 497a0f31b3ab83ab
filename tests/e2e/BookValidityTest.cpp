// Books made from awkward inputs pass the EPUB validator and read back as their sources.
#include "support/BookFixtures.h"

#include "engine/job/ConversionJob.h"
#include "platform/TextConversion.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace folivane::test {
namespace {

using namespace std::string_view_literals;

// As the lines of a page show them: indentation and blank lines are the style sheet's, not the
// text's.
const std::vector<std::string> kMixedLines = {"第一章 开始", "Indented line with tabs\tinside",
                                              "Tom & Jerry <3 \"quotes\" 'apos'", "last line"};
const std::vector<std::string> kMixedSource = {"第一章 开始", "",
                                               "    Indented line with tabs\tinside",
                                               "Tom & Jerry <3 \"quotes\" 'apos'", "last line"};

// Every book is made in each EPUB version.
class BookValidityTest : public ::testing::TestWithParam<int> {
protected:
    std::string Source(const std::string& name, std::string_view bytes) {
        const std::string path = scratch / name;
        WriteFile(path, bytes);
        return path;
    }

    // Converts and expects success; returns the book's path.
    std::string Convert(engine::BookInput input, const std::string& output) {
        input.outputPath = scratch / output;
        input.epubVersion = static_cast<engine::EpubVersion>(GetParam());
        ::mkdir((scratch / "tmp").c_str(), 0700);
        engine::WorkingTree tree = engine::PrepareWorkingTree(scratch / "tmp/");
        RecordingSink sink;
        engine::DoTask(input, tree, sink);
        EXPECT_EQ(sink.events.back(), "result 0") << output << ": " << sink.reason;
        return input.outputPath;
    }

    ExpectedBook Expect(const std::string& path, std::vector<ExpectedChapter> chapters) {
        ExpectedBook book;
        book.path = path;
        book.chapters = std::move(chapters);
        book.epubVersion = GetParam();
        return book;
    }

    ScratchFolder scratch;
};

TEST_P(BookValidityTest, LineEndsEncodingsAndMarkupInTextGiveValidBooks) {
    std::vector<ExpectedBook> books;
    // Each text is one chapter, named by its first line when that is a heading.
    const auto one = [&](const std::string& name, std::string_view bytes,
                         std::vector<std::string> lines, const std::string& encoding = "") {
        engine::BookInput input;
        input.sources = {Source(name + ".txt", bytes)};
        input.title = name;
        input.legacyEncoding = encoding;
        const std::string chapter = lines[0].starts_with("第一章") ? lines[0] : name;
        books.push_back(Expect(Convert(input, name + ".epub"), {{chapter, std::move(lines)}}));
    };
    one("crlf", JoinLines(kMixedSource, "\r\n"), kMixedLines);
    one("lf", JoinLines(kMixedSource, "\n"), kMixedLines);
    one("cr", JoinLines(kMixedSource, "\r"), kMixedLines);
    one("bom", "\xEF\xBB\xBF" + JoinLines(kMixedSource, "\r\n"), kMixedLines);
    one("utf16",
        "\xFF\xFE" +
            platform::ConvertText(JoinLines(kMixedSource, "\r\n") + "𠀀", "UTF-8", "UTF-16LE", ""),
        {kMixedLines[0], kMixedLines[1], kMixedLines[2], kMixedLines[3], "𠀀"});
    const std::vector<std::string> chinese = {"第一章 风起", "天色渐暗，城门将闭。",
                                              "“走吧。”他说。"};
    one("gbk", platform::ConvertText(JoinLines(chinese, "\r\n"), "UTF-8", "GBK", ""), chinese);
    const std::vector<std::string> traditional = {"第一章 風起", "天色漸暗，城門將閉。"};
    one("big5", platform::ConvertText(JoinLines(traditional, "\n"), "UTF-8", "BIG5", ""),
        traditional, "BIG5");
    one("controls",
        "a\x01"
        "b\x0B"
        "c\x00"
        "d\r\n\x1F"
        "e\xEF\xBF\xBE"
        "f"sv,
        {"abcd", "ef"});
    one("empty", "", {""});
    one("malformed", "\xEF\xBB\xBFok \xC3 fine\r\n\xF0\x9F\x98\x80 smile",
        {"ok \xEF\xBF\xBD fine", "\xF0\x9F\x98\x80 smile"});
    EXPECT_EQ(CheckBooks(books, scratch.Path()), "");
}

TEST_P(BookValidityTest, BookInformationAndNamesWithMarkupAreEscaped) {
    engine::BookInput input;
    input.sources = {Source("a&b <c>.txt", "x"), Source("\"quoted\" 'name'.txt", "y")};
    input.title = "</dc:title><dc:subject>injected</dc:subject><dc:title>A & B";
    input.author = "Writer \"Q\" <q@example.org>";
    input.publisher = "Pub\x01lisher & Sons";
    ExpectedBook book =
        Expect(Convert(input, "markup.epub"), {{"a&b <c>", {"x"}}, {"\"quoted\" 'name'", {"y"}}});
    book.title = input.title;
    book.author = input.author;
    book.publisher = "Publisher & Sons";

    engine::BookInput blank;
    blank.sources = {Source("plain.txt", "text")};
    // Without a title the book takes its first file's name, else its own file's.
    ExpectedBook untitled = Expect(Convert(blank, "Untitled Book.epub"), {{"plain", {"text"}}});
    untitled.title = "plain";
    untitled.author = "";
    untitled.publisher = "";
    blank.title = "   ";
    ExpectedBook spaced = Expect(Convert(blank, "Spaced.epub"), {{"plain", {"text"}}});
    spaced.title = "plain";
    // Names that would show nothing are shown as the pages' numbers.
    blank.sources = {Source(" .txt", "x"), Source("\x01.txt", "y")};
    ExpectedBook unnamed = Expect(Convert(blank, "unnamed.epub"), {{"1", {"x"}}, {"2", {"y"}}});
    unnamed.title = "unnamed";
    EXPECT_EQ(CheckBooks({book, untitled, spaced, unnamed}, scratch.Path()), "");
}

TEST_P(BookValidityTest, LargeSourcesSplitIntoChaptersThatKeepEveryLine) {
    std::vector<std::string> lines;
    for (int i = 0; lines.size() < 4500; ++i)
        lines.push_back("Line " + std::to_string(i) + " of the long source, 雨后的石板路还湿着，" +
                        std::string(static_cast<std::size_t>(i % 7), ' ') + "end");
    const std::string text = JoinLines(lines, "\n");
    ASSERT_GT(text.size(), 300'000u);
    engine::BookInput input;
    input.sources = {Source("big.txt", text), Source("small.txt", "after")};
    input.title = "Large";
    ExpectedBook book;
    book.path = Convert(input, "large.epub");
    book.epubVersion = GetParam();
    std::vector<std::string> all = lines;
    all.push_back("after");
    book.text = all;
    ExpectedBook utf16;
    input.sources = {
        Source("wide.txt", "\xFF\xFE" + platform::ConvertText(text, "UTF-8", "UTF-16LE", ""))};
    utf16.path = Convert(input, "wide.epub");
    utf16.epubVersion = GetParam();
    utf16.text = lines;
    EXPECT_EQ(CheckBooks({book, utf16}, scratch.Path()), "");
}

TEST_P(BookValidityTest, EveryCoverKindGivesAValidBookWithACoreMediaType) {
    std::vector<ExpectedBook> books;
    const auto withCover = [&](const std::string& name, const std::string& picture,
                               const std::string& mediaType) {
        engine::BookInput input;
        input.sources = {Source("chapter.txt", "text")};
        input.title = name;
        input.coverPath = Source(name, picture);
        // The one page of a book of one source is labelled by the book's title.
        ExpectedBook book = Expect(Convert(input, name + ".epub"), {{name, {"text"}}});
        book.coverMediaType = mediaType;
        books.push_back(book);
    };
    withCover("cover.jpg", MakeJpeg(), "image/jpeg");
    withCover("cover.JPEG", MakeJpeg(), "image/jpeg");
    withCover("cover.png", MakePng(), "image/png");
    withCover("cover.gif", MakeGif(), "image/gif");
    withCover("cover.bmp", MakeBmp(), "image/png");
    withCover("misnamed.jpg", MakePng(), "image/png");
    EXPECT_EQ(CheckBooks(books, scratch.Path()), "");
}

INSTANTIATE_TEST_SUITE_P(Epub, BookValidityTest, ::testing::Values(2, 3),
                         [](const auto& row) { return "Epub" + std::to_string(row.param); });

} // namespace
} // namespace folivane::test
