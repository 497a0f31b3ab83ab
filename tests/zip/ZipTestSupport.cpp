// Helpers of the zip tests: files and folders, streams, and the independent archive readers.
#include "ZipTestSupport.h"

#include "JsonReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace folivane::zip::test {
namespace {

namespace fs = std::filesystem;

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string RunCapture(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) throw std::runtime_error("Cannot run " + command);
    std::string output;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        output.append(buffer, n);
    return output;
}

} // namespace

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zip-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("Cannot create a temporary folder");
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests may take write permission away from a folder; give it back so all can go.
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        if (it->is_directory(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, std::string_view bytes) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("Cannot write " + path);
}

void MakeFolder(const std::string& path) {
    fs::create_directories(path);
}

bool PathExists(const std::string& path) {
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() != fs::file_type::not_found;
}

void SetModified(const std::string& path, std::time_t moment) {
    const timeval times[2] = {{moment, 0}, {moment, 0}};
    if (::utimes(path.c_str(), times) != 0)
        throw std::runtime_error("Cannot set the time of " + path);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string SampleText(std::size_t count) {
    static const std::string line = "It was a bright cold day in April, and the clocks were "
                                    "striking thirteen. Chapter and verse, line after line.\n";
    std::string text;
    text.reserve(count + line.size());
    for (unsigned n = 0; text.size() < count; ++n)
        text += std::to_string(n) + ' ' + line;
    text.resize(count);
    return text;
}

std::uint16_t GetU16(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                      static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

std::uint32_t GetU32(std::string_view bytes, std::size_t offset) {
    return GetU16(bytes, offset) | static_cast<std::uint32_t>(GetU16(bytes, offset + 2)) << 16;
}

void PutU16(std::string& bytes, std::size_t offset, std::uint16_t value) {
    bytes.at(offset) = static_cast<char>(value & 0xFF);
    bytes.at(offset + 1) = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    PutU16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
        saved_ = old;
        hadValue_ = true;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (hadValue_)
        ::setenv("TZ", saved_.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

std::time_t LocalMoment(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::int64_t MemoryStream::Read(void* buffer, std::int64_t count) {
    ++reads;
    const std::int64_t size = static_cast<std::int64_t>(bytes_.size());
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, size - position_));
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t MemoryStream::Write(const void* buffer, std::int64_t count) {
    ++writes;
    std::int64_t n = count;
    if (writeLimit_ >= 0 && written_ + n > writeLimit_) {
        n = std::max<std::int64_t>(0, writeLimit_ - written_);
        lastWriteError_ = ENOSPC;
    }
    const auto end = static_cast<std::size_t>(position_ + n);
    if (end > bytes_.size()) bytes_.resize(end);
    if (n > 0) std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(n));
    position_ += n;
    written_ += n;
    return n;
}

std::int64_t MemoryStream::Seek(std::int64_t offset, int origin) {
    const std::int64_t size = static_cast<std::int64_t>(bytes_.size());
    const std::int64_t target = origin == soBeginning ? offset
                                : origin == soCurrent ? position_ + offset
                                                      : size + offset;
    if (target < 0) throw std::runtime_error("MemoryStream: seek before the start");
    position_ = target;
    return position_;
}

std::vector<std::string> CheckedArchive::Names() const {
    std::vector<std::string> names;
    for (const CheckedEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

const CheckedEntry* CheckedArchive::Find(std::string_view name) const {
    for (const CheckedEntry& entry : entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

CheckedArchive CheckArchive(const std::string& archive) {
    const TempFolder extracted;
    const std::string output = RunCapture("python3 " + ShellQuote(FOLIVANE_CHECK_ZIP) + " " +
                                          ShellQuote(archive) + " " + ShellQuote(extracted.Path()));
    const Json report = ParseJson(output);
    CheckedArchive result;
    result.zipfileError = report["zipfile_error"].text;
    result.testzipBad = report["testzip_bad"].text;
    result.unzipOk = report["unzip_ok"].boolean;
    result.unzipDataMatches = report["unzip_data_matches"].boolean;
    result.unzipOutput = report["unzip_output"].text;
    result.comment = FromHex(report["comment_hex"].text);
    for (std::size_t i = 0; i < report["entries"].items.size(); ++i) {
        const Json& e = report["entries"].items[i];
        CheckedEntry entry;
        entry.name = e["name"].text;
        entry.rawName = FromHex(e["name_hex"].text);
        entry.method = static_cast<unsigned>(e["method"].Int());
        entry.crc = static_cast<std::uint32_t>(e["crc"].Int());
        entry.compressedSize = static_cast<std::uint64_t>(e["compressed_size"].Int());
        entry.fileSize = static_cast<std::uint64_t>(e["file_size"].Int());
        entry.flags = static_cast<unsigned>(e["flags"].Int());
        entry.versionMadeBy = static_cast<unsigned>(e["version_made_by"].Int());
        entry.versionNeeded = static_cast<unsigned>(e["version_needed"].Int());
        entry.internalAttributes = static_cast<unsigned>(e["internal_attributes"].Int());
        entry.externalAttributes = static_cast<std::uint32_t>(e["external_attributes"].Int());
        entry.centralExtra = FromHex(e["central_extra_hex"].text);
        entry.comment = FromHex(e["comment_hex"].text);
        entry.headerOffset = static_cast<std::uint64_t>(e["header_offset"].Int());
        const Json& l = e["local"];
        entry.local.signatureOk = l["signature_ok"].boolean;
        entry.local.versionNeeded = static_cast<unsigned>(l["version_needed"].Int());
        entry.local.flags = static_cast<unsigned>(l["flags"].Int());
        entry.local.method = static_cast<unsigned>(l["method"].Int());
        entry.local.dosDateTime = static_cast<std::uint32_t>(l["dos_date_time"].Int());
        entry.local.crc = static_cast<std::uint32_t>(l["crc"].Int());
        entry.local.compressedSize = static_cast<std::uint64_t>(l["compressed_size"].Int());
        entry.local.fileSize = static_cast<std::uint64_t>(l["file_size"].Int());
        entry.local.name = FromHex(l["name_hex"].text);
        entry.local.extra = FromHex(l["extra_hex"].text);
        entry.local.dataOffset = static_cast<std::uint64_t>(l["data_offset"].Int());
        // zipfile read exactly fileSize bytes (it checks them against the CRC).
        if (result.zipfileError.empty() && entry.fileSize > 0)
            entry.data = ReadFile(extracted / std::to_string(i));
        result.entries.push_back(std::move(entry));
    }
    return result;
}

::testing::AssertionResult ReadersAccept(const CheckedArchive& archive) {
    if (!archive.zipfileError.empty())
        return ::testing::AssertionFailure() << "zipfile refused it: " << archive.zipfileError;
    if (!archive.testzipBad.empty())
        return ::testing::AssertionFailure() << "testzip found a bad entry: " << archive.testzipBad;
    if (!archive.unzipOk)
        return ::testing::AssertionFailure() << "unzip -t failed:\n" << archive.unzipOutput;
    if (!archive.unzipDataMatches)
        return ::testing::AssertionFailure() << "unzip -p and zipfile disagree on the data";
    for (const CheckedEntry& entry : archive.entries) {
        const LocalHeaderView& local = entry.local;
        if (!local.signatureOk || local.name != entry.rawName || local.crc != entry.crc ||
            local.method != entry.method || local.flags != entry.flags ||
            local.compressedSize != entry.compressedSize || local.fileSize != entry.fileSize)
            return ::testing::AssertionFailure()
                   << "the local header of " << entry.name << " differs from the central one";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult
ArchiveHolds(const CheckedArchive& archive,
             const std::vector<std::pair<std::string, std::string>>& namesAndSources) {
    if (auto accepted = ReadersAccept(archive); !accepted) return accepted;
    std::vector<std::string> expected;
    for (const auto& [name, source] : namesAndSources)
        expected.push_back(name);
    if (archive.Names() != expected) {
        auto failure = ::testing::AssertionFailure() << "entries are";
        for (const std::string& name : archive.Names())
            failure << " " << name;
        return failure;
    }
    for (std::size_t i = 0; i < namesAndSources.size(); ++i)
        if (archive.entries[i].data != ReadFile(namesAndSources[i].second))
            return ::testing::AssertionFailure()
                   << namesAndSources[i].first << " does not hold the bytes of "
                   << namesAndSources[i].second;
    return ::testing::AssertionSuccess();
}

bool RunPython(const std::string& program, const std::vector<std::string>& arguments) {
    const TempFolder folder;
    WriteFile(folder / "program.py", program);
    std::string command = "python3 " + ShellQuote(folder / "program.py");
    for (const std::string& argument : arguments)
        command += " " + ShellQuote(argument);
    return std::system(command.c_str()) == 0;
}

std::string RawEntryData(std::string_view archiveBytes, const CheckedEntry& entry) {
    return std::string(archiveBytes.substr(static_cast<std::size_t>(entry.local.dataOffset),
                                           static_cast<std::size_t>(entry.compressedSize)));
}

int RunInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        int status = 99;
        try {
            status = body();
        } catch (...) {
            status = 98;
        }
        std::_Exit(status);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace folivane::zip::test
