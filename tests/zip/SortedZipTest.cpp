// Entry lists: order by archive position or by name without case, and refusal of duplicates.
#include "zip/SortedZip.h"
#include "zip/ZipErrors.h"

#include <gtest/gtest.h>

#include <memory>

namespace folivane::zip {
namespace {

HeaderPtr Entry(const std::string& directory, const std::string& name, std::uint64_t offset) {
    auto header = std::make_shared<TZipHeaderInfo>();
    header->SetDirectory(directory);
    header->SetFileName(name);
    header->LocalHeaderOffset = offset;
    return header;
}

TEST(SortedZip, KeepsEntriesInArchiveOrderByPosition) {
    TSortedZip list(ByNone);
    list.Add(Entry("", "c", 300));
    list.Add(Entry("", "a", 100));
    list.Add(Entry("", "b", 200));

    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list[0]->FileName(), "a");
    EXPECT_EQ(list[1]->FileName(), "b");
    EXPECT_EQ(list[2]->FileName(), "c");
    EXPECT_THROW(list.Add(Entry("", "d", 200)), EListError);
}

TEST(SortedZip, FindsNamesWhateverTheirCase) {
    TSortedZip index(ByName);
    index.Add(Entry("OEBPS/", "1.HTML", 0));
    index.Add(Entry("META-INF/", "container.xml", 0));
    std::size_t at = 99;

    EXPECT_TRUE(index.Find(*Entry("oebps/", "1.html", 5), at));
    EXPECT_EQ(index[at]->FileName(), "1.HTML");
    EXPECT_FALSE(index.Find(*Entry("OEBPS/", "1.htm", 0), at));
    try {
        index.Add(Entry("Oebps/", "1.Html", 9));
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Duplicate Object index");
    }
}

TEST(SortedZip, ComparesTheJoinedNameNotItsParts) {
    // "ab/" + "c" and "a" + "b/c" spell one stored name.
    TSortedZip index(ByName);
    index.Add(Entry("ab/", "c", 0));
    std::size_t at = 0;

    TZipHeaderInfo other;
    other.SetFileName("ab/c");
    EXPECT_TRUE(index.Find(other, at));
}

} // namespace
} // namespace folivane::zip
