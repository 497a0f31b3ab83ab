// The book made in memory: its entries in the order of a book folder's files, and the very
// archive that packing a working folder of the same documents gives.
#include "engine/job/BookArchive.h"
#include "engine/chapters/ChapterList.h"
#include "engine/epub/BookDocuments.h"
#include "engine/epub/Cover.h"
#include "support/BookFolder.h"
#include "support/TestSupport.h"
#include "zip/EntryPrecompressor.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sys/stat.h>

namespace folivane::engine {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

TEST(BookEntryBefore, IsTheOrderOfADirectorySearchAfterMimetype) {
    std::vector<std::string> names = {
        "OEBPS/toc.ncx",      "OEBPS/10.html",       "META-INF/container.xml",
        "OEBPS/css/main.css", "OEBPS/2.html",        "OEBPS/content.opf",
        "OEBPS/css.x",        "OEBPS/1.html",        "OEBPS/nav.xhtml",
        "mimetype",           "OEBPS/cover.png",     "OEBPS/titlepage.xhtml",
        "OEBPS/0.html",       "OEBPS/\xC3\xA9.html", "OEBPS/Z.html"};
    std::sort(names.begin(), names.end(), BookEntryBefore);
    EXPECT_THAT(names,
                ::testing::ElementsAre(
                    "mimetype", "META-INF/container.xml", "OEBPS/0.html", "OEBPS/1.html",
                    "OEBPS/10.html", "OEBPS/2.html", "OEBPS/Z.html", "OEBPS/content.opf",
                    "OEBPS/cover.png", "OEBPS/css/main.css", "OEBPS/css.x", "OEBPS/nav.xhtml",
                    "OEBPS/titlepage.xhtml", "OEBPS/toc.ncx", "OEBPS/\xC3\xA9.html"));
}

// Dates every file under `folder` `moment`, as the entries made in memory are dated.
void DateTree(const std::string& folder, std::time_t moment) {
    const timespec times[2] = {{moment, 0}, {moment, 0}};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        ASSERT_EQ(::utimensat(AT_FDCWD, entry.path().c_str(), times, 0), 0) << entry.path();
}

class BookInMemory : public ::testing::TestWithParam<EpubVersion> {
protected:
    // A book of fourteen pages (so that 10.html sorts before 2.html), volumes, a cover.
    BookInMemory() {
        ::mkdir((scratch_ / "in").c_str(), 0700);
        std::string text = "Prologue\n";
        for (int volume = 1; volume <= 2; ++volume) {
            text += "第" + std::to_string(volume) + "卷 Volume\n";
            for (int chapter = 1; chapter <= 6; ++chapter) {
                text += "第" + std::to_string(volume * 10 + chapter) + "章 Chapter\n";
                for (int line = 0; line < 40; ++line)
                    text += "雨后的石板路还湿着，line " + std::to_string(line) + " of it.\n";
            }
        }
        WriteFile(scratch_ / "in/one.txt", text);
        WriteFile(scratch_ / "in/two.txt", std::string(150000, 'x') + "\nend\n");
        // The smallest well-formed GIF: one white pixel.
        WriteFile(scratch_ / "in/cover.gif",
                  std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                              "\x21\xf9\x04\x00\x00\x00\x00\x00"
                              "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                              43));
        chapters_ =
            BuildChapterList({scratch_ / "in/one.txt", scratch_ / "in/two.txt"}, nullptr, {});
        cover_ = LoadCover(scratch_ / "in/cover.gif");
        metadata_ = {"Book", "Writer", "Publisher", "0f0e0d0c-0b0a-4908-8706-050403020100"};
        metadata_.epubVersion = GetParam();
        metadata_.modified = "2024-06-11T09:30:10Z";
    }

    ScratchFolder scratch_;
    TChapterList chapters_;
    std::optional<CoverImage> cover_;
    BookMetadata metadata_;
    const std::time_t moment_ = 1718098210;
};

TEST_P(BookInMemory, IsByteForByteTheBookPackedFromAWorkingFolder) {
    ASSERT_GE(chapters_.size(), 14u);
    const std::string folderBook = scratch_ / "folder.epub";
    test::BookFolder folder(scratch_ / "EPUB/");
    MakeBookDocuments(metadata_, chapters_, &*cover_, "", folder);
    DateTree(scratch_ / "EPUB", moment_);
    test::PackBookFolder(folder.Folder(), folderBook);

    const std::string memoryBook = scratch_ / "memory.epub";
    zip::TZipWriter writer;
    writer.PackLevel = 6;
    writer.Precompressed = std::make_shared<zip::TEntryPrecompressor>(6);
    std::vector<std::string> pages;
    BookEntries book(writer, moment_, [&](const FileList& page) { pages.push_back(page.Name); });
    MakeBookDocuments(metadata_, chapters_, &*cover_, "", book);
    EXPECT_EQ(pages.size(), chapters_.size());
    EXPECT_EQ(book.Entries(), folder.Entries());
    PackBookEntries(writer, book.Entries(), memoryBook);

    EXPECT_TRUE(ReadFile(memoryBook) == ReadFile(folderBook));
    // Nothing was written for the book in memory but the book itself.
    EXPECT_THAT(test::ListNames(scratch_.Path()),
                ::testing::ElementsAre("EPUB", "folder.epub", "in", "memory.epub"));
}

// Text of `size` bytes or a little more: lines of 5 to 25 words, each word made by `word`.
template <class Word> std::string WordLines(std::size_t size, std::mt19937& random, Word word) {
    std::string text;
    while (text.size() < size) {
        for (std::size_t count = 5 + random() % 21; count > 0; --count)
            text += word() + (count > 1 ? " " : ".\n");
    }
    return text;
}

TEST(BookPackLevel, IsTheFastestThatStillBeatsZipOnTheText) {
    std::mt19937 random(7); // the engine's output is the same on every platform
    const std::string letters = "abcdeghilmnoprstuy";
    const auto randomWord = [&] {
        std::string word;
        for (std::size_t length = 2 + random() % 8; length > 0; --length)
            word += letters[random() % letters.size()];
        return word;
    };
    // Words of a small stock, the frequent ones much more often, as in a novel.
    std::vector<std::string> stock(400);
    for (std::string& word : stock)
        word = randomWord();
    const auto stockWord = [&] {
        const std::size_t a = random() % stock.size();
        return stock[std::min(a, static_cast<std::size_t>(random() % stock.size()))];
    };
    std::string chinese;
    while (chinese.size() < (300u << 10))
        chinese += "天刚亮，我们就从城里出发，沿着河边一直走到中午。他说这条路" +
                   std::to_string(random()) + "年前就有了。\n";
    struct Case {
        const char* name;
        std::string text;
        int level;
    };
    const Case cases[] = {
        // Every deflater finds few repeats in words of random letters; zip -6 does worst.
        {"random words", WordLines(300u << 10, random, randomWord), 1},
        {"random words, too few to measure", WordLines(200u << 10, random, randomWord), 5},
        {"words that recur", WordLines(300u << 10, random, stockWord), 5},
        {"Chinese", chinese, 7},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BookPackLevel(std::string_view(row.text).substr(0, 256u << 10)), row.level);
    }
}

TEST(BookPackLevel, AGlanceTellsItOnlyWhereNothingNeedsMeasuring) {
    // Multi-byte text is more than half high bytes; only a long single-byte sample is left
    // to be measured (BookPackLevel's table above holds what measuring gives).
    constexpr std::size_t kHalf = kPackLevelSample / 2;
    const struct Row {
        const char* name;
        std::string sample;
        std::optional<int> level;
    } rows[] = {
        {"one past half", std::string(kHalf + 1, '\xE4') + std::string(kHalf - 1, 'a'), 7},
        {"exactly half: measured", std::string(kHalf, '\xE4') + std::string(kHalf, 'a'),
         std::nullopt},
        {"short of a sample", std::string(kPackLevelSample - 1, 'a'), 5},
        {"empty", "", 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(PackLevelAtAGlance(row.sample), row.level);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, BookInMemory,
                         ::testing::Values(EpubVersion::Epub2, EpubVersion::Epub3),
                         [](const auto& row) {
                             return row.param == EpubVersion::Epub2 ? "Epub2" : "Epub3";
                         });

} // namespace
} // namespace folivane::engine
