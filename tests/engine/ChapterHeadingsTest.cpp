// Chapters found at heading lines: names, kinds, nesting, pages, and the table of contents.
#include "engine/chapters/ChapterList.h"
#include "engine/chapters/TableOfContents.h"
#include "engine/epub/NcxDocument.h"
#include "engine/job/WorkingTree.h"
#include "support/TestSupport.h"
#include "support/XmlTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace folivane::engine {
namespace {

using test::ScratchFolder;
using ::testing::ElementsAre;

// What a page is, in one line: "level:kind:name", kind C, V or - and "+" for a listed page.
std::string Describe(const FileList& page) {
    const char kind = page.Heading == HeadingKind::Volume    ? 'V'
                      : page.Heading == HeadingKind::Chapter ? 'C'
                                                             : '-';
    return std::to_string(page.Level) + ":" + kind + (page.Listed ? "+" : "") + ":" + page.Name;
}

class ChapterHeadings : public ::testing::Test {
protected:
    std::string Source(const std::string& name, const std::string& text) {
        test::WriteFile(scratch_ / name, text);
        return scratch_ / name;
    }
    TChapterList Build(const std::vector<std::string>& sources, std::size_t budget = 64 << 20) {
        ChapterListOptions options;
        options.heldTextBudget = budget;
        return BuildChapterList(sources, &tree_, options);
    }
    static std::vector<std::string> Pages(const TChapterList& chapters) {
        std::vector<std::string> pages;
        for (const FileList& page : chapters)
            pages.push_back(Describe(page));
        return pages;
    }
    static std::string AllText(const TChapterList& chapters) {
        std::string text;
        for (const FileList& page : chapters)
            text += ChapterText(page, "");
        return text;
    }

    ScratchFolder scratch_;
    WorkingTree tree_ = PrepareWorkingTree(scratch_.Path());
};

TEST_F(ChapterHeadings, TextBeforeTheFirstHeadingIsAChapterNamedAfterTheSource) {
    const std::string text = "长安旧事\n作者：某人\n\n第一章　渡口\n天刚亮。\n第二章 夜\n月亮。\n";
    const TChapterList chapters = Build({Source("长安旧事.txt", text)});
    ASSERT_THAT(Pages(chapters),
                ElementsAre("0:-+:长安旧事", "0:C+:第一章 渡口", "0:C+:第二章 夜"));
    EXPECT_TRUE(test::SameBytes(AllText(chapters), text)); // nothing added, dropped or moved
    EXPECT_EQ(ChapterText(chapters[1], ""), "第一章　渡口\n天刚亮。\n");
}

TEST_F(ChapterHeadings, VolumesHoldTheirChaptersAcrossSources) {
    const std::string text = "天刚亮，我们就出发了。\n沿着河边一直走到中午。\n";
    const TChapterList chapters =
        Build({Source("a.txt", "\n\n第一章 序\n" + text + "第一卷 风起\n第二章 渡口\n" + text),
               Source("b.txt", "第三章 夜\n" + text + "第二卷 云涌\n\n第四章 雨\n" + text)});
    ASSERT_THAT(Pages(chapters),
                ElementsAre("0:C+:第一章 序", "0:V+:第一卷 风起", "1:C+:第二章 渡口",
                            "1:C+:第三章 夜", "0:V+:第二卷 云涌", "1:C+:第四章 雨"));
    const std::vector<TocEntry> toc = BuildTableOfContents(chapters);
    ASSERT_EQ(toc.size(), 3u);
    ASSERT_LT(toc[1].page, chapters.size());
    EXPECT_EQ(chapters[toc[1].page].Name, "第一卷 风起");
    ASSERT_EQ(toc[1].children.size(), 2u);
    EXPECT_EQ(toc[1].children[1].page, 3u);
    EXPECT_EQ(TocDepth(toc), 2);
}

TEST_F(ChapterHeadings, SourcesWithoutHeadingsAreChaptersAsBefore) {
    const std::string line(99, 'x');
    std::string large;
    for (int i = 0; i < 2000; ++i)
        large += line + "\n";
    const TChapterList chapters =
        Build({Source("small.txt", "plain text"), Source("big.txt", large)});
    EXPECT_THAT(Pages(chapters),
                ElementsAre("0:-+:small", "0:-+:big (1)", "0:-+:big (2)", "0:-+:big (3)"));
    EXPECT_TRUE(test::SameBytes(AllText(chapters), "plain text" + large));
}

TEST_F(ChapterHeadings, AChapterOverTheSizeLimitIsCutIntoPagesListedOnce) {
    std::string text = "Chapter 1\n";
    for (int i = 0; i < 1500; ++i)
        text += std::string(99, 'y') + "\n";
    text += "Chapter 2\nend\n";
    const TChapterList chapters = Build({Source("novel.txt", text)});
    EXPECT_THAT(Pages(chapters), ElementsAre("0:C+:Chapter 1", "0:-:Chapter 1", "0:C+:Chapter 2"));
    EXPECT_TRUE(test::SameBytes(AllText(chapters), text));
    EXPECT_EQ(BuildTableOfContents(chapters).size(), 2u);
}

TEST_F(ChapterHeadings, TextBeyondTheBudgetIsKeptInPiecesOfTheTextReadOnce) {
    const std::string headed = Source("headed.txt", "Prologue\nonce\nChapter 1\ntwice\n");
    const std::string plain = Source("plain.txt", "no headings here");
    const TChapterList chapters = Build({headed, plain}, 0);
    ASSERT_EQ(chapters.size(), 3u);
    for (const FileList& page : chapters)
        EXPECT_EQ(page.Text, nullptr) << page.Name;
    // Every page goes to a piece file, a plain small source too: no source is read twice.
    EXPECT_THAT(chapters[0].Path, ::testing::HasSubstr("/EPUB_TXT/0-1.txt"));
    EXPECT_THAT(chapters[2].Path, ::testing::HasSubstr("/EPUB_TXT/1-1.txt"));
    EXPECT_EQ(AllText(chapters), "Prologue\r\nonce\r\nChapter 1\r\ntwice\r\nno headings here\r\n");
    EXPECT_EQ(test::ReadFile(chapters[1].Path), "\xEF\xBB\xBF"
                                                "Chapter 1\r\ntwice\r\n");
}

TEST(TocNcx, NestsVolumesAndNumbersPointsInReadingOrder) {
    TChapterList chapters(4);
    const char* names[] = {"Prologue", "Book One", "Chapter 1", "Chapter 2"};
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        chapters[i].Name = names[i];
        chapters[i].Level = i >= 2 ? 1 : 0;
    }
    chapters[3].Listed = false; // a second page of chapter 1
    const test::XmlTree ncx(
        BuildTocNcx({"Book", "A", "P", "0f0e0d0c-0b0a-4908-8706-050403020100"}, chapters));
    ASSERT_EQ(ncx.Error(), "");
    EXPECT_EQ(ncx.Value("//ncx:meta[@name='dtb:depth']/@content"), "2");
    EXPECT_EQ(test::NcxOutline(ncx),
              (std::vector<test::Outline>{{"Prologue", "0.html", {}},
                                          {"Book One", "1.html", {{"Chapter 1", "2.html", {}}}}}));
    EXPECT_EQ(ncx.Values("//ncx:navPoint/@playOrder"), (std::vector<std::string>{"1", "2", "3"}));
}

} // namespace
} // namespace folivane::engine
