// mkstemp-made temporary archives and the rename that puts one in place.
#include "ArchiveReplacement.h"

#include "FileStream.h"
#include "FileSystem.h"
#include "TempFileBeside.h"
#include "ZipErrors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace folivane::zip {
namespace {

// Returns the path of a file made by mkstemp from `pattern`, or raises with errno's text.
std::string MakeTemp(std::string pattern, const std::string& nameForErrors) {
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw EFCreateError(ExpandFileName(nameForErrors), SystemErrorText(errno));
    ::close(fd);
    return pattern;
}

} // namespace

unsigned CurrentUmask() {
    // umask() would change the process-wide value; Linux shows it without touching it.
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "Umask:") {
            std::string value;
            status >> value;
            return static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 8));
        }
    }
    return 022;
}

namespace {

void ApplyTargetMode(const std::string& file, const std::string& target) {
    struct stat st {};
    const mode_t mode =
        ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    ::chmod(file.c_str(), mode); // best effort: the archive is complete either way
}

void SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw EWriteError("Cannot write file \"" + path + "\" to disk. " + SystemErrorText(error));
    }
    ::close(fd);
}

void CopyFile(const std::string& from, TFileStream& target) {
    TFileStream source(from, fmOpenRead);
    std::vector<char> buffer(1 << 16);
    while (true) {
        const std::int64_t n = source.Read(buffer.data(), static_cast<std::int64_t>(buffer.size()));
        if (n == 0) break;
        if (target.Write(buffer.data(), n) != n)
            throw EWriteError(SystemErrorText(target.LastWriteError()));
    }
    target.Close();
}

} // namespace

std::string SystemTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return IncludeTrailingSlash(tmp && *tmp ? tmp : "/tmp");
}

std::string CreateTempArchive(const std::string& folder) {
    const std::string base = !folder.empty() && DirectoryExists(folder)
                                 ? IncludeTrailingSlash(folder)
                                 : SystemTempFolder();
    return MakeTemp(base + "fzip-XXXXXX", base + "fzip-XXXXXX");
}

void ReplaceArchiveFile(const std::string& temp, const std::string& target, bool sync) {
    ApplyTargetMode(temp, target);
    if (sync) SyncFile(temp);
    if (::rename(temp.c_str(), target.c_str()) == 0) return;
    if (errno != EXDEV) {
        const int error = errno;
        RemoveFileQuietly(temp);
        throw EFCreateError(ExpandFileName(target), SystemErrorText(error));
    }
    // Another file system: copy beside the target first, so the rename stays atomic.
    try {
        TTempFileBeside beside(target);
        CopyFile(temp, *beside.OpenStream());
        beside.Publish(sync);
    } catch (const std::exception& e) {
        RemoveFileQuietly(temp);
        throw EZipException("Error: Could not copy from " + temp + " -> " + target + ". " +
                            e.what());
    }
    RemoveFileQuietly(temp);
}

void RemoveFileQuietly(const std::string& path) {
    ::unlink(path.c_str());
}

} // namespace folivane::zip
