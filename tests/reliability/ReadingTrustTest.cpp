// What the job reads: every source decoded as what it is, however short, unmarked or growing,
// and the book's language told by the script of its text.
#include "JobHarness.h"

#include "platform/SystemCalls.h"
#include "platform/TextConversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace folivane::test {
namespace {

using ::testing::Contains;
using ::testing::Not;
using ::testing::StartsWith;

using ReadingTrustTest = JobTest;

std::string Encoded(const std::string& utf8, const char* page) {
    return platform::ConvertText(utf8, "UTF-8", page, "?");
}

std::vector<std::string> Repeated(const std::string& line, int count) {
    return std::vector<std::string>(static_cast<std::size_t>(count), line);
}

const std::string kLine = "天刚亮，我们就从城里出发，沿着河边一直走到中午。";

TEST_F(ReadingTrustTest, ShortLegacySourcesAreReadAsTheBookThenTheLocaleSays) {
    const std::string chapter = "第一章 渡口\n" + JoinLines(Repeated(kLine, 30), "\n");
    struct Row {
        const char* name;
        const char* locale;
        std::vector<std::pair<std::string, std::string>> sources; // name, bytes
        std::vector<ExpectedChapter> chapters;
        const char* report; // the event for the short source
    };
    std::vector<std::string> chapterLines = Repeated(kLine, 30);
    chapterLines.insert(chapterLines.begin(), "第一章 渡口");
    const std::vector<ExpectedChapter> gbkBook = {{"第一章 渡口", chapterLines},
                                                  {"后记", {"后记", "谢谢。"}}};
    const Row rows[] = {
        // Even under a locale whose code page is Western: the book's sources tell.
        {"AfterLongChapters",
         "C",
         {{"01.txt", Encoded(chapter, "GBK")}, {"02.txt", Encoded("后记\n谢谢。", "GBK")}},
         gbkBook,
         "02.txt GB18030 book"},
        {"BeforeLongChapters",
         "en_US.UTF-8",
         {{"00.txt", Encoded("后记\n谢谢。", "GBK")}, {"01.txt", Encoded(chapter, "GBK")}},
         {gbkBook[1], gbkBook[0]},
         "00.txt GB18030 book"},
        // The book's code page before the locale's, which would also read these bytes.
        {"AfterLongChaptersUnderATaiwaneseLocale",
         "zh_TW.UTF-8",
         {{"01.txt", Encoded(chapter, "GBK")}, {"02.txt", Encoded("后记\n谢谢。", "GBK")}},
         gbkBook,
         "02.txt GB18030 book"},
        {"AloneUnderATaiwaneseLocale",
         "zh_TW.UTF-8",
         {{"after.txt", Encoded("後記\n謝謝。", "BIG5")}},
         {{"後記", {"後記", "謝謝。"}}},
         "after.txt BIG5-HKSCS locale"},
        {"AloneUnderCLocale",
         "C",
         {{"after.txt", Encoded("后记\n谢谢。", "GBK")}},
         {{"后记", {"后记", "谢谢。"}}},
         "after.txt GB18030 guess"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScopedEnv locale("LC_ALL", row.locale);
        std::vector<std::string> sources;
        for (const auto& [name, bytes] : row.sources)
            sources.push_back(Source(std::string(row.name) + "-" + name, bytes));
        const JobOutcome outcome = Convert(Book(sources, std::string(row.name) + ".epub"));
        EXPECT_THAT(outcome.events,
                    Contains("encoding " + scratch / "in/" + row.name + "-" + row.report));
        ExpectedBook book;
        book.chapters = row.chapters;
        ExpectBook(outcome, scratch / ("out/" + std::string(row.name) + ".epub"), book);
    }
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ReadingTrustTest, NovelOfRareHanInGbkIsReadAsGbkNotAsAWesternPage) {
    const ScopedEnv locale("LC_ALL", "C");
    // GBK's third region (lead 81-A0) holds only Han characters outside GB2312, which the
    // detector does not know.
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        bytes += static_cast<char>(0x81 + (i * 7) % 32);
        const int trail = 0x40 + (i * 13) % 190;
        bytes += static_cast<char>(trail >= 0x7F ? trail + 1 : trail);
        if (i % 40 == 39) bytes += "\r\n";
    }
    const std::string text = platform::ConvertText(bytes, "GBK", "UTF-8", "?");
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    const JobOutcome outcome = Convert(Book({Source("novel.txt", bytes)}, "novel.epub"));
    EXPECT_THAT(outcome.events, Not(Contains(StartsWith("encoding "))));
    ExpectedBook book;
    book.text = lines;
    book.language = "zh-TW"; // outside GB2312 the traditional forms are the many
    ExpectBook(outcome, scratch / "out/novel.epub", book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ReadingTrustTest, UnmarkedUtf16IsReadAsUtf16AndAChosenEncodingIsObeyed) {
    const std::string hello = "Hello there\nSecond line, in English\n";
    const std::string chinese = "第一章 开始\r\n一二三四五。\r\n";
    struct Row {
        std::string name;
        std::string bytes;
        std::string chosen; // for this source
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"le", Encoded(hello, "UTF-16LE"), "", {"Hello there", "Second line, in English"}},
        {"be", Encoded(chinese, "UTF-16BE"), "", {"第一章 开始", "一二三四五。"}},
        {"le-chinese", Encoded(chinese, "UTF-16LE"), "", {"第一章 开始", "一二三四五。"}},
        // Bytes that are also UTF-8 ("`O}Y", "п"), read as the user says.
        {"chosen-utf16", Encoded("你好", "UTF-16LE"), "UTF-16LE", {"你好"}},
        {"chosen-page", "\xD0\xBF", "CP1251", {"Рї"}},
        // A byte-order mark still decides.
        {"marked", "\xEF\xBB\xBF\xD0\xBF", "CP1251", {"п"}},
    };
    engine::BookInput input = Book({}, "utf16.epub");
    input.chapters = engine::ChapterMode::Files;
    ExpectedBook book;
    book.chapters.emplace();
    for (const Row& row : rows) {
        input.sources.push_back(Source(row.name + ".txt", row.bytes));
        input.sourceEncodings.push_back(row.chosen);
        book.chapters->push_back({row.name, row.lines});
    }
    ExpectBook(Convert(input), input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ReadingTrustTest, SourceThatGrowsWhileItIsReadIsTakenAsItWasWhenOpened) {
    const std::vector<std::string> lines = Repeated("A line that was there from the start.", 3000);
    const std::string source = Source("growing.txt", JoinLines(lines, "\n"));
    // Another program appends 8 MB the moment the job begins to read.
    platform::FaultInjection appending(
        {platform::Fault(platform::Call::Read, 0, 1, "growing.txt", [&] {
            std::ofstream(source, std::ios::app) << std::string(8 << 20, 'x');
        })});
    const engine::BookInput input = Book({source}, "growing.epub");
    const JobOutcome outcome = Convert(input);
    EXPECT_EQ(appending.Injected(0), 1);
    ExpectedBook book;
    book.text = lines;
    ExpectBook(outcome, input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ReadingTrustTest, LanguageOfAScriptWithoutChineseOrLatinIsToldByTheScript) {
    const ScopedEnv locale("LC_ALL", "C");
    const std::string hindi = "यह एक छोटी कहानी है। सुबह हम शहर से निकले और नदी के किनारे चलते रहे।";
    engine::BookInput input = Book({Source("hindi.txt", hindi)}, "hindi.epub");
    ExpectedBook book;
    book.language = "hi";
    ExpectBook(Convert(input), input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

// Past the in-memory budget a page is made from the text read at the start, never from the
// source again: replacing or deleting a source after it was read changes nothing of the book.
TEST_F(ReadingTrustTest, SourceChangedAfterItWasReadLeavesTheBookAsItWasRead) {
    struct Row {
        const char* name;
        std::function<void(const std::string&)> change;
    };
    const Row rows[] = {
        {"replaced", [](const std::string& path) { WriteFile(path, std::string(300000, 'x')); }},
        {"deleted", [](const std::string& path) { ::unlink(path.c_str()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string first = Source("first.txt", "第一章 渡口\n" + kLine + "\n");
        const std::string second = Source("second.txt", "The second source, small.\n");
        engine::BookInput input = Book({first, second}, std::string(row.name) + ".epub");
        input.heldTextBudget = 0;
        const JobOutcome outcome = Convert(input, [&] { row.change(second); });
        ExpectedBook book;
        book.chapters = {{"第一章 渡口", {"第一章 渡口", kLine}},
                         {"second", {"The second source, small."}}};
        ExpectBook(outcome, input.outputPath, book);
    }
    EXPECT_EQ(CheckQueuedBooks(), "");
}

} // namespace
} // namespace folivane::test
