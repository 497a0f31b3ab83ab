// Shared helpers of the zip tests: temporary folders and files, streams that misbehave on
// purpose, and the independent readers (Python's zipfile, Info-ZIP unzip) that judge archives.
#pragma once

#include "support/TestSupport.h"
#include "zip/Stream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace folivane::zip::test {

using ::folivane::test::SameBytes;

// A new folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with "/".
    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
// Creates the missing parent folders too.
void WriteFile(const std::string& path, std::string_view bytes);
void MakeFolder(const std::string& path);
bool PathExists(const std::string& path);
void SetModified(const std::string& path, std::time_t moment);
// The names in a folder, sorted; for "nothing was left behind" checks.
std::vector<std::string> FolderEntries(const std::string& folder);
// Bytes that deflate cannot shrink.
std::string RandomBytes(std::size_t count, unsigned seed);
// Text that deflates well, of exactly `count` bytes.
std::string SampleText(std::size_t count);

std::uint16_t GetU16(std::string_view bytes, std::size_t offset);
std::uint32_t GetU32(std::string_view bytes, std::size_t offset);
void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value);
void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value);

// Sets TZ for the test and restores it afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::string saved_;
    bool hadValue_ = false;
};

// A moment given in the current TZ's local time.
std::time_t LocalMoment(int year, int month, int day, int hour, int minute, int second);

// A stream over bytes in memory. With a write limit it takes only that many bytes in all
// and then refuses, as a full disk does; `reads` counts the calls of Read.
class MemoryStream : public TStream {
public:
    explicit MemoryStream(std::string bytes = {}) : bytes_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    int LastWriteError() const override { return lastWriteError_; }

    const std::string& Bytes() const { return bytes_; }
    void SetWriteLimit(std::int64_t limit) { writeLimit_ = limit; }
    int reads = 0;
    int writes = 0;

private:
    std::string bytes_;
    std::int64_t position_ = 0;
    std::int64_t writeLimit_ = -1;
    std::int64_t written_ = 0;
    int lastWriteError_ = 0;
};

// One entry as the two readers saw it.
struct LocalHeaderView {
    bool signatureOk = false;
    unsigned versionNeeded = 0;
    unsigned flags = 0;
    unsigned method = 0;
    std::uint32_t dosDateTime = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t fileSize = 0;
    std::string name;
    std::string extra;
    std::uint64_t dataOffset = 0;
};

struct CheckedEntry {
    std::string name;    // as zipfile decodes it
    std::string rawName; // the bytes of the central header
    unsigned method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t fileSize = 0;
    unsigned flags = 0;
    unsigned versionMadeBy = 0;
    unsigned versionNeeded = 0;
    unsigned internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    std::string centralExtra;
    std::string comment;
    std::uint64_t headerOffset = 0;
    LocalHeaderView local;
    std::string data; // extracted by zipfile
};

struct CheckedArchive {
    std::string zipfileError; // empty when zipfile opened the archive
    std::string testzipBad;   // the first entry testzip found bad, empty when none
    bool unzipOk = false;
    bool unzipDataMatches = false;
    std::string unzipOutput;
    std::string comment;
    std::vector<CheckedEntry> entries;

    std::vector<std::string> Names() const;
    const CheckedEntry* Find(std::string_view name) const;
};

// Runs both readers on the archive; the entries' data is extracted too.
CheckedArchive CheckArchive(const std::string& archive);

// Both readers accept the archive: zipfile opens it and testzip finds no bad CRC, unzip -t
// passes, and unzip -p gives the same bytes as zipfile.
::testing::AssertionResult ReadersAccept(const CheckedArchive& archive);

// Both readers accept the archive, it holds exactly the named entries in this order, and
// each holds the bytes of its source file.
::testing::AssertionResult
ArchiveHolds(const CheckedArchive& archive,
             const std::vector<std::pair<std::string, std::string>>& namesAndSources);

// Names each test of a table after the `name` field of its row.
struct RowName {
    template <class Row> std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

// Runs a Python 3 program with the arguments; true when it succeeded. For old archives
// made by another writer (zipfile).
bool RunPython(const std::string& program, const std::vector<std::string>& arguments);

// The data of an entry as it stands in the bytes of the archive file.
std::string RawEntryData(std::string_view archiveBytes, const CheckedEntry& entry);

// Runs `body` in a child process and gives its exit status (or 128 + signal).
int RunInChild(const std::function<int()>& body);

} // namespace folivane::zip::test
