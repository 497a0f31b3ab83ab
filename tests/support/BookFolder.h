// A book's documents as files of a folder, and that folder packed as the job packs a book: the
// way books were once made, kept as the reference that a book made in memory is compared with.
#pragma once

#include "engine/epub/BookDocuments.h"

#include <string>
#include <vector>

namespace folivane::test {

// Writes each document under the folder (ending with "/"), making its folders.
class BookFolder : public engine::DocumentSink {
public:
    explicit BookFolder(std::string folder) : folder_(std::move(folder)) {}

    void Add(const std::string& name, std::string_view bytes, const engine::FileList*) override;

    const std::string& Folder() const { return folder_; }
    // Every name added, in the order it came.
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::string folder_;
    std::vector<std::string> entries_;
};

// Packs the files of a BookFolder into an EPUB at `outputPath`: "mimetype" first and stored,
// then every file in the order a directory search hands them out (depth first, the names of
// each folder in byte order), deflated, stored under their paths relative to the folder.
void PackBookFolder(const std::string& folder, const std::string& outputPath);

} // namespace folivane::test
