// Packing the book folder: every file in search order, mimetype first, checked when read back.
#include "BookArchive.h"

#include "BookArchiveCheck.h"

#include "engine/epub/BookLayout.h"
#include "engine/text/ConversionError.h"
#include "engine/text/WhiteSpace.h"

#include "platform/FolderTree.h"
#include "platform/SystemError.h"
#include "zip/ZipWriter.h"

#include <algorithm>
#include <optional>

namespace folivane::engine {
namespace {

// Every file under the book folder, depth first in name order, as a directory search would
// hand them out.
void ListFiles(const std::string& folder, std::vector<std::string>& files) {
    int error = 0;
    std::optional<std::vector<platform::FolderEntry>> entries =
        platform::FolderEntries(folder, &error);
    if (!entries)
        throw ConversionError("Cannot read the book folder \"" + folder + "\". " +
                              platform::SystemErrorText(error));
    std::sort(entries->begin(), entries->end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const platform::FolderEntry& entry : *entries) {
        if (entry.folder)
            ListFiles(folder + entry.name + "/", files);
        else
            files.push_back(folder + entry.name);
    }
}

std::vector<std::string> BookFolderFiles(const std::string& bookFolder) {
    std::vector<std::string> files;
    ListFiles(bookFolder, files);
    return files;
}

} // namespace

void PackWorkingTree(const std::string& bookFolder, const std::vector<std::string>& entries,
                     const std::string& outputPath) {
    zip::TZipWriter writer;
    PackWorkingTree(bookFolder, entries, outputPath, writer);
}

void PackWorkingTree(const std::string& bookFolder, const std::vector<std::string>& entries,
                     const std::string& outputPath, zip::TZipWriter& writer) {
    // The writer takes a blank name for "no archive" and returns without writing one.
    if (IsBlank(outputPath))
        throw ConversionError("Cannot write the book \"" + outputPath +
                              "\": no output file is named");
    const std::string mimetype = bookFolder + kMimetypeFile;
    writer.SetRootDir(bookFolder);
    // The files by their own paths: a temporary folder may be named with "*", "?", "<", ">"
    // or "|", which would make masks of them.
    writer.LiteralPaths = true;
    // mimetype first, and once: readers find it at the archive's start.
    writer.FilesList = BookFolderFiles(bookFolder);
    std::erase(writer.FilesList, mimetype);
    writer.FilesList.insert(writer.FilesList.begin(), mimetype);
    writer.NoCompressList = {kMimetypeFile};
    writer.SetRelativePaths(true);
    writer.SetRecurse(true);
    writer.SetStorePaths(true);
    writer.SetZipName(outputPath);
    writer.AtomicReplace = true;
    // A file left out would leave the manifest naming a missing file.
    writer.OnSkippingFile = [](const std::string& path, zip::SkipReason,
                               const std::string& detail) {
        throw ConversionError("Cannot pack \"" + path + "\" into the book: " + detail);
    };
    writer.OnNoSuchFile = [](const std::string& path) {
        throw ConversionError("Cannot pack \"" + path + "\" into the book: it has disappeared");
    };
    writer.OnHandleMessage = [](int, const std::string& text, const std::string& caption,
                                std::uint32_t) -> int {
        throw ConversionError("Cannot pack \"" + caption + "\" into the book: " + text);
    };
    // Nothing takes the output's place that readers could not open.
    writer.OnArchiveWritten = [&](zip::TStream& archive) {
        CheckBookArchive(archive, entries, platform::ExpandFileName(outputPath));
    };
    try {
        writer.BuildArchive();
    } catch (const ConversionError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw ConversionError("Not enough memory to write the book \"" + outputPath + "\"");
    } catch (const std::exception& e) {
        throw ConversionError("Cannot write the book \"" + outputPath + "\". " + e.what());
    }
}

} // namespace folivane::engine
