// The book's documents as files in the book folder of a job's working tree.
#pragma once

#include "engine/epub/BookDocuments.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace folivane::zip {
class TEntryPrecompressor;
}

namespace folivane::engine {

// Writes each document under the book folder (ending with "/"), making its folders, and hands
// it to `ahead` (when given) to be compressed while the next ones are made. After each page
// it calls `pageWritten`. The names it took are the entries the book's archive must hold.
class BookFolder : public DocumentSink {
public:
    BookFolder(std::string folder, zip::TEntryPrecompressor* ahead,
               std::function<void(const FileList& page)> pageWritten);

    // Raises ConversionError naming the document, or for a page its chapter and the temporary
    // folder, when it cannot be written.
    void Add(const std::string& name, std::string_view bytes, const FileList* page) override;

    const std::string& Folder() const { return folder_; }
    // Every name added, in the order it came.
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::string folder_;
    zip::TEntryPrecompressor* ahead_;
    std::function<void(const FileList& page)> pageWritten_;
    std::vector<std::string> entries_;
    std::set<std::string> madeFolders_;
};

} // namespace folivane::engine
