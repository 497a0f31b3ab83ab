// Putting the book's documents into the EPUB file at the output path.
#pragma once

#include "engine/epub/BookDocuments.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace folivane::zip {
class TZipWriter;
}

namespace folivane::engine {

// Hands each document to `writer` as an entry made in memory, dated `modified`, as it is
// made: with the writer's Precompressed set, a document is compressed on the other cores
// while the next one is made, and only its compressed bytes are kept. After each page it
// calls `pageWritten`. Sets the writer's NoCompressList (mimetype is stored); its PackLevel
// and Precompressed are set before. Nothing is written to disk until PackBookEntries.
class BookEntries : public DocumentSink {
public:
    BookEntries(zip::TZipWriter& writer, std::time_t modified,
                std::function<void(const FileList& page)> pageWritten);

    void Add(const std::string& name, std::string_view bytes, const FileList* page) override;

    // Every name added, in the order it came: the entries the book's archive must hold.
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    zip::TZipWriter& writer_;
    std::time_t modified_;
    std::function<void(const FileList& page)> pageWritten_;
    std::vector<std::string> entries_;
};

// True when the book entry `a` comes before `b` in the archive: "mimetype" first, then the
// order in which a directory search would hand out the files of a book folder, depth first with
// the names of each folder in byte order ("OEBPS/1.html", "OEBPS/10.html", "OEBPS/2.html",
// "OEBPS/content.opf", "OEBPS/css/main.css", "OEBPS/nav.xhtml").
bool BookEntryBefore(const std::string& a, const std::string& b);

// Packs the writer's memory entries, which BookEntries gave it, into an EPUB at
// `outputPath`, in the order of BookEntryBefore: "mimetype" first and stored, every other
// entry deflated. The archive is written to an unnamed temporary file beside the output, read
// back and checked to hold exactly `entries` with mimetype first and stored, and only then
// given the output's name. Raises ConversionError when the archive cannot be written or the
// check fails; the output is then as it was.
void PackBookEntries(zip::TZipWriter& writer, const std::vector<std::string>& entries,
                     const std::string& outputPath);

} // namespace folivane::engine
