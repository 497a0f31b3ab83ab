// How a file's path becomes the name stored in the archive, and the DOS code page it passes.
#include "ZipTestSupport.h"

#include "zip/OemCodePage.h"
#include "zip/StoredName.h"

#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

struct NameRow {
    const char* name;
    const char* path;
    bool storePaths;
    bool relativePaths;
    bool storeVolumes;
    const char* directory;
    const char* fileName;
};

void PrintTo(const NameRow& row, std::ostream* out) {
    *out << row.name;
}

class StoredNameRules : public ::testing::TestWithParam<NameRow> {};

TEST_P(StoredNameRules, DerivesFolderAndName) {
    const NameRow& row = GetParam();
    const folivane::zip::StoredNameRules rules{
        row.storePaths, row.relativePaths, row.storeVolumes, {"/t/EPUB/"}, oemNever};

    const StoredName stored = DeriveStoredName(row.path, rules);

    EXPECT_EQ(stored.directory, row.directory);
    EXPECT_EQ(stored.fileName, row.fileName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StoredNameRules,
    ::testing::Values(
        NameRow{"relative_below_root", "/t/EPUB/OEBPS/css/main.css", true, true, false,
                "OEBPS/css/", "main.css"},
        NameRow{"file_at_root_has_no_folder", "/t/EPUB/mimetype", true, true, false, "",
                "mimetype"},
        NameRow{"outside_root_keeps_its_folder", "/other/a.txt", true, true, false, "other/",
                "a.txt"},
        NameRow{"root_compared_exactly", "/t/epub/a.txt", true, true, false, "t/epub/", "a.txt"},
        NameRow{"without_paths_only_the_name", "/t/EPUB/OEBPS/0.html", false, false, false, "",
                "0.html"},
        NameRow{"absolute_loses_leading_slash", "/t/EPUB/OEBPS/0.html", true, false, false,
                "t/EPUB/OEBPS/", "0.html"},
        NameRow{"volumes_keep_leading_slash", "/t/x/0.html", true, false, true, "/t/x/", "0.html"},
        NameRow{"doubled_separators_end_once", "/t/x//0.html", true, false, false, "t/x/",
                "0.html"},
        NameRow{"plain_name_has_no_folder", "0.html", true, true, false, "", "0.html"}),
    RowName());

TEST(OemCodePage, LeavesAsciiNamesAlone) {
    const OemCodePage cp437("CP437");
    const OemCodePage cp936("CP936");

    EXPECT_EQ(cp437.FromWorking("OEBPS/css/main.css"), "OEBPS/css/main.css");
    EXPECT_EQ(cp936.RoundTrip("META-INF/container.xml"), "META-INF/container.xml");
}

TEST(OemCodePage, StoresLettersTheCodePageHasInIt) {
    const OemCodePage cp437("CP437");

    EXPECT_EQ(cp437.FromWorking("caf\xC3\xA9.txt"), "caf\x82.txt");
    EXPECT_EQ(cp437.ToWorking("caf\x82.txt"), "caf\xC3\xA9.txt");
}

TEST(OemCodePage, ReplacesWhatTheCodePageLacks) {
    const OemCodePage cp437("CP437");

    const std::string stored = cp437.RoundTrip("\xE4\xB9\xA6.txt"); // a CJK character

    EXPECT_EQ(stored.substr(stored.size() - 4), ".txt");
    EXPECT_EQ(stored.find("\xE4\xB9\xA6"), std::string::npos);
}

TEST(OemCodePage, ChoosesTheDosCodePageOfTheLocalesLanguage) {
    EXPECT_EQ(OemCodePage::ForLocale("zh_CN.UTF-8"), "CP936");
    EXPECT_EQ(OemCodePage::ForLocale("zh_TW.UTF-8"), "CP950");
    EXPECT_EQ(OemCodePage::ForLocale("ja_JP.UTF-8"), "CP932");
    EXPECT_EQ(OemCodePage::ForLocale("ko_KR.UTF-8"), "CP949");
    EXPECT_EQ(OemCodePage::ForLocale("ru_RU.UTF-8"), "CP866");
    EXPECT_EQ(OemCodePage::ForLocale("de_DE.UTF-8"), "CP437");
    EXPECT_EQ(OemCodePage::ForLocale("C"), "CP437");
}

} // namespace
} // namespace folivane::zip::test
