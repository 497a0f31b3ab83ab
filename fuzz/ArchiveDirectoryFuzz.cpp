// Fuzz target: an existing archive of any content is read and updated without crash or leak.
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/time.h>

namespace {

namespace fs = std::filesystem;
using folivane::zip::EStreamError;
using folivane::zip::EZipException;
using folivane::zip::TZipWriter;

// A folder that lives as long as the process: the archive under test, one small file that
// the update may add or use to replace an entry, and the temporary archives.
struct Workspace {
    fs::path folder;
    std::string archive;
    std::string source;

    Workspace() {
        std::string pattern = (fs::temp_directory_path() / "fuzz-archive-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        archive = (folder / "input.zip").string();
        source = (folder / "a.txt").string();
        std::ofstream(source, std::ios::binary) << "Folivane fuzz source\n";
        // 2011-03-07: old entries of the corpus are both older and newer than this.
        const timeval times[2] = {{1299492930, 0}, {1299492930, 0}};
        utimes(source.c_str(), times);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    void WriteArchive(const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out) std::abort();
    }
};

const Workspace& TheWorkspace() {
    static const Workspace workspace;
    return workspace;
}

void UpdateArchive(const Workspace& w, bool replace) {
    TZipWriter writer;
    writer.CompressionThreads = 1;
    writer.SetZipName(w.archive);
    writer.SetRootDir(w.folder.string());
    writer.FilesList = {"a.txt"};
    writer.TempPath = w.folder.string();
    writer.ZipAction = replace ? folivane::zip::zaReplace : folivane::zip::zaUpdate;
    try {
        writer.BuildArchive();
    } catch (const EZipException&) {
        return;
    } catch (const EStreamError&) {
        return;
    }
    // What the writer wrote, it must be able to read back.
    TZipWriter reader;
    reader.SetZipName(w.archive);
    reader.OpenArchive();
}

void OpenOnly(const Workspace& w) {
    TZipWriter reader;
    reader.SetZipName(w.archive);
    try {
        reader.OpenArchive();
    } catch (const EZipException&) {
    } catch (const EStreamError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Workspace& w = TheWorkspace();
    w.WriteArchive(data, size);
    OpenOnly(w);
    // The last byte picks the update rule, so that both ways through an old entry are taken.
    UpdateArchive(w, size > 0 && (data[size - 1] & 1) != 0);
    // Success or failure, no temporary archive may stay behind.
    for (const auto& entry : fs::directory_iterator(w.folder))
        if (entry.path() != w.archive && entry.path() != w.source) std::abort();
    return 0;
}
