// Faults while a finished archive is put in place: the old archive stays, nothing is left.
#include "ZipTestSupport.h"
#include "platform/SystemCalls.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace folivane::zip::test {
namespace {

using platform::Call;
using platform::Fault;
using platform::FaultInjection;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct PublishRow {
    const char* name;
    Fault fault;
    bool atomicReplace; // a fresh archive, else the update of the old one
};

class PublishFaults : public ::testing::TestWithParam<PublishRow> {};

TEST_P(PublishFaults, KeepTheOldArchiveAndLeaveNothingBesideIt) {
    const PublishRow& row = GetParam();
    TempFolder temp;
    WriteFile(temp / "root/a.txt", "first");
    const std::string zip = temp / "book.zip";
    {
        TZipWriter writer;
        writer.SetZipName(zip);
        writer.FilesList = {temp / "root/a.txt"};
        writer.BuildArchive();
    }
    const std::string before = ReadFile(zip);
    WriteFile(temp / "root/b.txt", "second");
    TZipWriter writer;
    writer.SetZipName(zip);
    writer.AtomicReplace = row.atomicReplace;
    writer.FlushFilesOnClose = true;
    writer.FilesList = {temp / "root/b.txt"};
    try {
        FaultInjection faults({row.fault});
        writer.BuildArchive();
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_THAT(e.what(), HasSubstr(zip));
    }
    EXPECT_TRUE(SameBytes(ReadFile(zip), before));
    EXPECT_THAT(FolderEntries(temp.Path()), ElementsAre("book.zip", "root"));
    EXPECT_TRUE(writer.FilesList.empty());
}

const PublishRow kPublishRows[] = {
    {"FsyncFailsOnUpdate", {Call::Fsync, EIO}, false},
    {"LinkFailsOnUpdate", {Call::Link, ENOSPC}, false},
    {"RenameFailsOnUpdate", {Call::Rename, EBUSY}, false},
    {"RenameFailsOnReplace", {Call::Rename, EPERM}, true},
    {"WriteFailsOnReplace", {Call::Write, ENOSPC, 1, "book.zip"}, true},
    {"CloseReportsALostWrite", {Call::Close, EIO, 0, "book.zip"}, true},
};

INSTANTIATE_TEST_SUITE_P(Publish, PublishFaults, ::testing::ValuesIn(kPublishRows),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace folivane::zip::test
