// The written book read back: it must hold what the package names, mimetype first and stored.
#include "engine/job/BookArchiveCheck.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"
#include "zip/FileStream.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using test::ScratchFolder;
using test::WriteFile;
using ::testing::HasSubstr;

struct ArchiveRow {
    const char* name;
    std::vector<std::string> files; // in archive order; "mimetype" is stored when `stored`
    bool stored;
    std::vector<std::string> expected;
    const char* problem; // empty: the archive is sound
};

class CheckBookArchiveRows : public ::testing::TestWithParam<ArchiveRow> {};

TEST_P(CheckBookArchiveRows, AcceptOnlyTheBookTheManifestNames) {
    const ArchiveRow& row = GetParam();
    ScratchFolder scratch;
    for (const std::string& file : row.files)
        WriteFile(scratch / file, file == "mimetype" ? "application/epub+zip" : "x");
    zip::TZipWriter writer;
    writer.SetZipName(scratch / "book.epub");
    writer.SetRootDir(scratch.Path());
    writer.SetRelativePaths(true);
    if (row.stored) writer.NoCompressList = {"mimetype"};
    for (const std::string& file : row.files)
        writer.FilesList.push_back(scratch / file);
    writer.BuildArchive();

    zip::TFileStream archive(scratch / "book.epub", zip::fmOpenRead);
    if (*row.problem == '\0') {
        EXPECT_NO_THROW(CheckBookArchive(archive, row.expected, "book.epub"));
        return;
    }
    try {
        CheckBookArchive(archive, row.expected, "book.epub");
        FAIL() << "accepted";
    } catch (const ConversionError& e) {
        EXPECT_THAT(e.what(), HasSubstr("\"book.epub\""));
        EXPECT_THAT(e.what(), HasSubstr(row.problem));
    }
}

const std::vector<std::string> kBook = {"mimetype", "container.xml", "content.opf", "0.html"};

const ArchiveRow kArchiveRows[] = {
    {"Sound", kBook, true, kBook, ""},
    {"MimetypeDeflated", kBook, false, kBook, "mimetype is not its first, stored entry"},
    {"MimetypeSecond",
     {"container.xml", "mimetype", "content.opf", "0.html"},
     true,
     kBook,
     "mimetype is not its first, stored entry"},
    {"PageMissing",
     {"mimetype", "container.xml", "content.opf"},
     true,
     kBook,
     "3 entries where 4 were expected"},
    {"StrayFile",
     {"mimetype", "container.xml", "content.opf", "0.html", "1.html"},
     true,
     kBook,
     "5 entries where 4 were expected"},
    {"OtherPage",
     {"mimetype", "container.xml", "content.opf", "1.html"},
     true,
     kBook,
     "4 entries where 4 were expected"},
};

INSTANTIATE_TEST_SUITE_P(Book, CheckBookArchiveRows, ::testing::ValuesIn(kArchiveRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CheckBookArchive, RefusesWhatIsNoArchive) {
    ScratchFolder scratch;
    WriteFile(scratch / "book.epub", "not an archive at all");
    zip::TFileStream archive(scratch / "book.epub", zip::fmOpenRead);
    EXPECT_THROW(CheckBookArchive(archive, kBook, "book.epub"), ConversionError);
}

} // namespace
} // namespace folivane::engine
