// The directory search on real folder trees: order, recursion, masks, hidden entries, links.
#include "ZipTestSupport.h"

#include "zip/DirSearch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

namespace folivane::zip::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The writer's attribute set: hidden and system entries are not seen.
constexpr std::uint32_t kDefaultAttributes = 0x39;

std::vector<std::string> Everything(TDirSearch& search) {
    std::vector<std::string> paths;
    for (std::string path = search.FindNextEntry(); !path.empty(); path = search.FindNextEntry())
        paths.push_back(path);
    return paths;
}

std::vector<std::string> Search(const std::string& root, bool recurse, const std::string& mask,
                                std::uint32_t attributes = kDefaultAttributes) {
    TDirSearch search(root, attributes, recurse, mask);
    return Everything(search);
}

TEST(DirSearch, HandsOutDepthFirstInNameOrderWithEachFolderBeforeItsContents) {
    TempFolder temp;
    WriteFile(temp / "b", "b");
    WriteFile(temp / "s/c", "c");
    WriteFile(temp / "a", "a");
    const std::string& r = temp.Path();

    EXPECT_THAT(Search(r, true, "*"), ElementsAre(r + "a", r + "b", r + "s/", r + "s/c"));
    EXPECT_THAT(Search(r, false, "*"), ElementsAre(r + "a", r + "b"));
}

TEST(DirSearch, SortsNamesByteByByte) {
    TempFolder temp;
    for (const char* name : {"b", "B", "a", "\xC3\xA9", "_", "A1"})
        WriteFile(temp / name, "x");
    const std::string& r = temp.Path();

    EXPECT_THAT(Search(r, false, "*"),
                ElementsAre(r + "A1", r + "B", r + "_", r + "a", r + "b", r + "\xC3\xA9"));
}

TEST(DirSearch, NeverSeesHiddenEntriesWithTheDefaultAttributes) {
    TempFolder temp;
    WriteFile(temp / ".hidden", "h");
    WriteFile(temp / ".git/config", "c");
    WriteFile(temp / "seen/.also-hidden", "h");
    WriteFile(temp / "seen/file", "f");
    const std::string& r = temp.Path();

    EXPECT_THAT(Search(r, true, "*"), ElementsAre(r + "seen/", r + "seen/file"));
    EXPECT_THAT(Search(r, true, "*", kDefaultAttributes | 0x02),
                ElementsAre(r + ".git/", r + ".git/config", r + ".hidden", r + "seen/",
                            r + "seen/.also-hidden", r + "seen/file"));
}

TEST(DirSearch, NeverReturnsOrEntersTheDotFolders) {
    TempFolder temp;
    WriteFile(temp / "sub/file", "f");

    for (const std::string& path : Search(temp.Path(), true, "*", 0x3F)) {
        EXPECT_EQ(path.find("/./"), std::string::npos) << path;
        EXPECT_EQ(path.find("/../"), std::string::npos) << path;
        EXPECT_NE(path.substr(path.size() - 2), "/.") << path;
    }
    EXPECT_EQ(Search(temp.Path(), true, "*", 0x3F).size(), 2u);
}

TEST(DirSearch, FindsNothingUnderAMissingRoot) {
    TempFolder temp;

    EXPECT_THAT(Search(temp / "missing", true, "*"), IsEmpty());
    EXPECT_THAT(Search(temp / "missing/*/x", true, "*"), IsEmpty());
    EXPECT_THAT(Search("no*such/", true, "*"), IsEmpty());
}

TEST(DirSearch, TestsANameWithoutExtensionWithADotAdded) {
    TempFolder temp;
    WriteFile(temp / "mimetype", "m");
    WriteFile(temp / "notes.txt", "n");
    const std::string& r = temp.Path();

    EXPECT_THAT(Search(r, false, "*.*"), ElementsAre(r + "mimetype", r + "notes.txt"));
    EXPECT_THAT(Search(r, false, "*.txt"), ElementsAre(r + "notes.txt"));
    EXPECT_THAT(Search(r, false, "mimetype"), IsEmpty());
    EXPECT_THAT(Search(r, false, "NOTES.TXT"), ElementsAre(r + "notes.txt"));
}

TEST(DirSearch, HandsOutFolderRecordsOnlyForFiles) {
    TempFolder temp;
    WriteFile(temp / "five", "12345");
    TDirSearch search(temp.Path(), kDefaultAttributes, false, "*");
    DirEntry record;

    EXPECT_EQ(search.FindNextEntry(&record), temp / "five");
    EXPECT_EQ(record.name, "five");
    EXPECT_EQ(record.size, 5);
    EXPECT_EQ(record.attributes, 0x20u);
    EXPECT_EQ(search.FindNextEntry(&record), "");
}

TEST(DirSearch, DescendsOnlyThroughFoldersThatFitWildcardComponents) {
    TempFolder temp;
    WriteFile(temp / "book1/text/a.html", "a");
    WriteFile(temp / "book2/text/b.html", "b");
    WriteFile(temp / "book2/text/skip.css", "s");
    WriteFile(temp / "other/text/c.html", "c");
    WriteFile(temp / "book3/notes/d.html", "d");
    WriteFile(temp / "book1/e.html", "e");

    EXPECT_THAT(Search(temp / "book*/text/", false, "*.html"),
                ElementsAre(temp / "book1/text/a.html", temp / "book2/text/b.html"));
}

TEST(DirSearch, FollowsLinksToFilesButNotToFolders) {
    TempFolder temp;
    WriteFile(temp / "tree/real.txt", "r");
    ASSERT_EQ(::symlink((temp / "tree/real.txt").c_str(), (temp / "tree/link.txt").c_str()), 0);
    ASSERT_EQ(::symlink(temp.Path().c_str(), (temp / "tree/loop").c_str()), 0);
    ASSERT_EQ(::symlink((temp / "gone").c_str(), (temp / "tree/dangling").c_str()), 0);
    const std::string r = temp / "tree/";

    EXPECT_THAT(Search(r, true, "*"), ElementsAre(r + "link.txt", r + "real.txt"));
}

TEST(DirSearch, GoesAsDeepAsTheTreeGoes) {
    TempFolder temp;
    std::string deep = temp.Path();
    for (int level = 0; level < 30; ++level)
        deep += "d" + std::to_string(level) + "/";
    WriteFile(deep + "bottom.txt", "b");

    const std::vector<std::string> found = Search(temp.Path(), true, "*.txt");

    ASSERT_EQ(found.size(), 31u);
    EXPECT_EQ(found.back(), deep + "bottom.txt");
}

TEST(DirSearch, SearchesTheWorkingFolderForAnEmptyRoot) {
    TempFolder temp;
    WriteFile(temp / "here.txt", "h");
    char saved[4096];
    ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(::chdir(temp.Path().c_str()), 0);

    const std::vector<std::string> found = Search("", false, "*");

    ASSERT_EQ(::chdir(saved), 0);
    EXPECT_THAT(found, ElementsAre("./here.txt"));
}

} // namespace
} // namespace folivane::zip::test
