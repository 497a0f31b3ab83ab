// The reference book: documents written to a folder, packed by a directory search's order.
#include "BookFolder.h"

#include "support/TestSupport.h"

#include "engine/epub/BookLayout.h"
#include "zip/ZipWriter.h"

#include <algorithm>
#include <filesystem>

namespace folivane::test {
namespace {

// Every file under `folder`, depth first with the names of each folder in byte order.
void ListFiles(const std::filesystem::path& folder, std::vector<std::string>& files) {
    std::vector<std::filesystem::directory_entry> entries(
        std::filesystem::directory_iterator(folder), {});
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries) {
        if (entry.is_directory())
            ListFiles(entry.path(), files);
        else
            files.push_back(entry.path().string());
    }
}

} // namespace

void BookFolder::Add(const std::string& name, std::string_view bytes, const engine::FileList*) {
    const std::string path = folder_ + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFile(path, bytes);
    entries_.push_back(name);
}

void PackBookFolder(const std::string& folder, const std::string& outputPath) {
    zip::TZipWriter writer;
    writer.NoCompressList = {engine::kMimetypeFile};
    writer.SetZipName(outputPath);
    writer.SetRootDir(folder);
    writer.LiteralPaths = true;
    const std::string mimetype = folder + engine::kMimetypeFile;
    ListFiles(folder, writer.FilesList);
    std::erase(writer.FilesList, mimetype);
    writer.FilesList.insert(writer.FilesList.begin(), mimetype);
    writer.SetRelativePaths(true);
    writer.SetRecurse(true);
    writer.SetStorePaths(true);
    writer.BuildArchive();
}

} // namespace folivane::test
