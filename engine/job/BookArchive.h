// Putting the book's documents into the EPUB file at the output path.
#pragma once

#include "engine/epub/BookDocuments.h"

#include <cstddef>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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
    void AddMade(const std::string& name, std::string&& bytes, const FileList* page) override;

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

// The sample BookPackLevel measures (at its end, kPackLevelSlice bytes) when it has at least
// kPackLevelSample bytes: the whole language sample of a book large enough that compressing
// it costs more than measuring, which then runs while the sources are searched.
constexpr std::size_t kPackLevelSample = 256 << 10;
constexpr std::size_t kPackLevelSlice = 128 << 10;

// The deflate level of a book whose text begins with `sample`: the fastest of libdeflate's
// levels whose books are still no larger than zip -6 makes them. Text of multi-byte
// characters (CJK in UTF-8) needs more search to find its repeats than single-byte text does;
// single-byte text whose last kPackLevelSlice bytes libdeflate's level 1 or 4 deflates
// clearly smaller than zlib's level 6 does (the deflate of zip -6) gets the faster of them.
// Measuring costs a few milliseconds: a caller may have it done on another thread.
int BookPackLevel(std::string_view sample);

// BookPackLevel's answer when it needs no measuring (text of multi-byte characters, or a
// sample too short to measure), which a glance over the sample gives; nothing otherwise.
std::optional<int> PackLevelAtAGlance(std::string_view sample);

// Packs the writer's memory entries, which BookEntries gave it, into an EPUB at
// `outputPath`, in the order of BookEntryBefore: "mimetype" first and stored, every other
// entry deflated. The archive is written to an unnamed temporary file beside the output, read
// back and checked to hold exactly `entries` with mimetype first and stored, and only then
// given the output's name. Raises ConversionError when the archive cannot be written or the
// check fails; the output is then as it was.
void PackBookEntries(zip::TZipWriter& writer, const std::vector<std::string>& entries,
                     const std::string& outputPath);

} // namespace folivane::engine
