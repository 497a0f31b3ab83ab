// One run of the archive job: its state and its steps, from the output file to the archive
// in place at ZipName.
#pragma once

#include "CompressionPool.h"
#include "EndCentral.h"
#include "EntryCompressor.h"
#include "LFNFileStream.h"
#include "SortedZip.h"
#include "StoredName.h"

#include "platform/ReplacementFile.h"

#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <string>

namespace folivane::zip {

class TZipWriter;
class TEntryPrecompressor;
struct TMemoryEntry;

// An entry's data as it goes into the archive, and what it was made from.
struct CompressedEntry {
    EntryData data;
    std::vector<std::uint8_t> bytes;
};

// Made by TZipWriter::BuildArchive for one run, on the calling thread, after the file list
// is expanded; the writer must outlive it. The archive is written to a file beside ZipName
// that takes its place only when complete; an existing archive is updated (its entries
// carried over or replaced, in their old order) unless the writer asks for AtomicReplace.
// Freeing a run that did not finish stops its compression threads and leaves ZipName as it
// was, with nothing beside it.
class TZipArchiveRun {
public:
    explicit TZipArchiveRun(TZipWriter& writer);
    ~TZipArchiveRun();
    TZipArchiveRun(const TZipArchiveRun&) = delete;
    TZipArchiveRun& operator=(const TZipArchiveRun&) = delete;

    // Writes the archive and puts it at ZipName; returns the number of files and memory
    // entries added as new entries. Raises on any failure. Call once.
    int Execute();

    // The new archive's entries in archive order and its end record, after Execute().
    std::unique_ptr<TSortedZip> TakeEntryList() { return std::move(entryList_); }
    const TEndCentral& NewEndRecord() const { return newEnd_; }

private:
    // A file or memory entry accepted for the archive whose data is not written yet:
    // compressed already, or by the pool.
    struct PreparedEntry {
        HeaderPtr header;
        std::string path; // the file's, or the memory entry's name
        // The file itself, or buffered when it streams; for a memory entry that streams, its
        // bytes.
        std::unique_ptr<TStream> source;
        bool inMemory = false;
        std::string data; // a memory entry's bytes, when it is compressed whole
        bool stored = false;
        std::uint64_t sizeAtOpening = 0;
        std::optional<CompressedEntry> ready;
        std::future<CompressedEntry> compressed;
    };

    void OpenOutputArchive();
    // The update path (ZipArchiveRunUpdate.cpp).
    void MergeExistingEntries();
    void CopyKeptEntry(TZipHeaderInfo& header);

    void AddListedEntries();
    // Compresses the entry or hands it to the pool, then writes the oldest when enough wait.
    void QueueEntry(std::unique_ptr<PreparedEntry> entry);
    bool AddFileEntry(const std::string& path);
    bool AddMemoryEntry(TMemoryEntry& memory);
    std::unique_ptr<PreparedEntry> PrepareFileEntry(const std::string& path);
    std::unique_ptr<PreparedEntry> PrepareMemoryEntry(TMemoryEntry& memory);
    // The header of a new entry under its stored name; false when the name is taken.
    bool NameNewEntry(TZipHeaderInfo& header, StoredName stored, const std::string& what);
    std::size_t ListedCount() const;
    void CompressEntry(PreparedEntry& entry);
    void WriteCompressed(PreparedEntry& entry, const CompressedEntry& compressed);
    void WriteOldestPending();
    TWholeDeflater& WholeDeflater();
    // The writer's precompressor when it compresses at the run's level.
    TEntryPrecompressor* SameLevelPrecompressor() const;
    void AcceptEntry(const HeaderPtr& header, bool newFile);
    void WriteCentralDirectory();

    TZipWriter& writer_;
    bool updating_ = false;
    std::unique_ptr<platform::ReplacementFile> replacement_;
    std::unique_ptr<TLFNFileStream> output_;
    TSortedZip nameIndex_{ByName};
    std::unique_ptr<TSortedZip> entryList_;
    TEndCentral newEnd_;
    int added_ = 0;
    // For entries compressed on the calling thread: whole ones, and the few too large to hold.
    std::unique_ptr<TWholeDeflater> wholeDeflater_;
    std::unique_ptr<TDeflater> deflater_;
    std::unique_ptr<TCompressionPool> ownPool_;
    TCompressionPool* pool_ = nullptr; // ownPool_, or the precompressor's
    std::deque<std::unique_ptr<PreparedEntry>> pending_;
};

} // namespace folivane::zip
