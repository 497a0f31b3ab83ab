// What the job makes of a text's chapters: none dropped, none missed for the spaces around
// them, no page without bound, and no user's pattern that silently matches nothing.
#include "JobHarness.h"

#include <gtest/gtest.h>

namespace folivane::test {
namespace {

using ChapterTrustTest = JobTest;

TEST_F(ChapterTrustTest, ChaptersAreDroppedOnlyAsAContentsListTheTextRepeats) {
    const std::string shortChapters = "Chapter 1\nIt was dark.\nChapter 2\nIt was cold.\n"
                                      "Chapter 3\nIt rained.\nChapter 4\nThe rain went on.\n"
                                      "All night long.\n";
    const std::string listThenShortFirst = "目录\n第一章 渡口\n第二章 江湖\n第一章 渡口\n天亮了。\n"
                                           "第二章 江湖\n甲\n乙\n";
    ExpectedBook book;
    book.chapters = std::vector<ExpectedChapter>{
        {"Chapter 1", {"Chapter 1", "It was dark."}},
        {"Chapter 2", {"Chapter 2", "It was cold."}},
        {"Chapter 3", {"Chapter 3", "It rained."}},
        {"Chapter 4", {"Chapter 4", "The rain went on.", "All night long."}},
        // The list stays text before the first chapter, named after its source.
        {"list", {"目录", "第一章 渡口", "第二章 江湖"}},
        {"第一章 渡口", {"第一章 渡口", "天亮了。"}},
        {"第二章 江湖", {"第二章 江湖", "甲", "乙"}},
    };
    const engine::BookInput input =
        Book({Source("short.txt", shortChapters), Source("list.txt", listThenShortFirst)},
             "chapters.epub");
    ExpectBook(Convert(input), input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ChapterTrustTest, HeadingsAmongOtherSpacesAreFoundAndNamedWithoutThem) {
    // Indented with no-break and em spaces, and a byte-order mark where two files were joined.
    const std::string text = "\u00A0\u00A0第一章\u00A0渡口\n甲\n乙\n"
                             "\u2003\u2003第二章 夜雨\u202F\n甲\n乙\n"
                             "\uFEFF第三章 归来\n甲\n乙\n";
    ExpectedBook book;
    book.chapters = std::vector<ExpectedChapter>{{"第一章 渡口", {"第一章\u00A0渡口", "甲", "乙"}},
                                                 {"第二章 夜雨", {"第二章 夜雨", "甲", "乙"}},
                                                 {"第三章 归来", {"第三章 归来", "甲", "乙"}}};
    const engine::BookInput input = Book({Source("spaces.txt", text)}, "spaces.epub");
    ExpectBook(Convert(input), input.outputPath, book);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

TEST_F(ChapterTrustTest, UserPatternThatNeedsTooMuchWorkFailsNamingItAndTheSource) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += std::string(39, 'a') + "!\n";
    engine::BookInput input = Book({Source("aaa.txt", text)}, "pattern.epub");
    input.chapterPattern = "(a+)+$";
    EXPECT_TRUE(
        FailedNaming(Convert(input), {"Cannot find the chapters of \"" + input.sources[0],
                                      "the chapter pattern \"(a+)+$\"", "needs too much work"}));
}

TEST_F(ChapterTrustTest, OneEnormousLineIsCutIntoPagesAfterItsSentences) {
    std::string line;
    for (int i = 0; line.size() < (3u << 20); ++i)
        line += "第" + std::to_string(i) + "句话很长，一直说到最后也没有换行。";
    const engine::BookInput input = Book({Source("line.txt", line)}, "line.epub");
    const JobOutcome outcome = Convert(input);
    ExpectedBook book;
    book.pandoc = false;
    ExpectBook(outcome, input.outputPath, book);

    std::string joined;
    int pages = 0;
    for (;; ++pages) {
        const CommandResult page = RunCommand("unzip -p " + ShellQuote(input.outputPath) +
                                              " OEBPS/" + std::to_string(pages) + ".html");
        if (page.exitCode != 0) break;
        const std::size_t begin = page.output.find("<p>");
        const std::size_t end = page.output.find("</p>");
        ASSERT_NE(begin, std::string::npos) << pages;
        const std::string text = page.output.substr(begin + 3, end - begin - 3);
        EXPECT_LE(text.size(), 100u << 10) << pages;
        EXPECT_EQ(page.output.find("<p>", end), std::string::npos) << pages; // one paragraph
        if (joined.size() + text.size() < line.size()) {
            EXPECT_TRUE(text.ends_with("。")) << pages;
        }
        joined += text;
    }
    EXPECT_GE(pages, 30);
    EXPECT_TRUE(joined == line);
    EXPECT_EQ(CheckQueuedBooks(), "");
}

} // namespace
} // namespace folivane::test
