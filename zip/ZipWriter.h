// The zip component: packs files named by paths and masks into a new or existing archive.
#pragma once

#include "EndCentral.h"
#include "EntryCompressor.h"
#include "FileStream.h"
#include "FileSystem.h"
#include "StoredName.h"
#include "ZipReader.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace folivane::zip {

class TEntryPrecompressor;

enum TZipAction {
    zaUpdate,  // replace an old entry only with a newer file
    zaFreshen, // the same, for the entries of this component
    zaReplace, // replace an old entry always
};

// Why a file named for the archive was left out.
enum class SkipReason { Unreadable, DuplicateName };

// An entry whose data is given in memory instead of read from a file.
struct TMemoryEntry {
    // Its path in the archive, "/" between folders ("OEBPS/0.html"), stored as it is (through
    // the DOS code page with OEMConvert oemAlways, as file names are).
    std::string name;
    std::string bytes;        // its data; empty once handed to Precompressed
    std::time_t modified = 0; // its date
    std::uint64_t size = 0;   // the size of its data, kept when the bytes are handed over
    bool handedOver = false;  // compressed ahead by the writer's Precompressed, under `name`
};

// Settings are read by BuildArchive; related ones adjust each other in their setters.
// One run at a time, on one thread; compression may use further threads of its own.
class TZipWriter : public TZipReader {
public:
    TZipWriter();
    ~TZipWriter() override;

    // Packs FilesList and MemoryEntries into ZipName and returns the number of entries added. The
    // archive is written beside ZipName and takes its place only when complete; an existing archive
    // is updated (with AtomicReplace it is replaced by a fresh archive instead). On failure ZipName
    // is as it was, nothing is left beside it, and the exception reaches the caller. FilesList and
    // MemoryEntries are empty afterwards.
    int BuildArchive();

    // Adds an entry made in memory (see MemoryEntries). Stored when PackLevel is 0 or
    // NoCompressList names it, as they are at this call; else, when Precompressed works at
    // PackLevel, its bytes go there at once to be compressed on its threads while the caller
    // makes the next entry, and only the compressed data is kept. Otherwise the bytes are
    // kept until BuildArchive compresses them.
    void AddMemoryEntry(std::string name, std::string bytes, std::time_t modified);

    const std::string& RootDir() const { return rootDir_; }
    void SetRootDir(const std::string& root);
    bool Recurse() const { return recurse_; }
    void SetRecurse(bool value) { recurse_ = value; }
    bool StorePaths() const { return storePaths_; }
    void SetStorePaths(bool value);
    bool RelativePaths() const { return relativePaths_; }
    void SetRelativePaths(bool value);
    bool StoreVolumes() const { return storeVolumes_; }
    void SetStoreVolumes(bool value);

    bool IncludeHiddenFiles() const { return (searchAttributes_ & faHidden) != 0; }
    void SetIncludeHiddenFiles(bool value) { SetAttributeBit(faHidden, value); }
    bool IncludeSysFiles() const { return (searchAttributes_ & faSysFile) != 0; }
    void SetIncludeSysFiles(bool value) { SetAttributeBit(faSysFile, value); }
    bool IncludeReadOnlyFiles() const { return (searchAttributes_ & faReadOnly) != 0; }
    void SetIncludeReadOnlyFiles(bool value) { SetAttributeBit(faReadOnly, value); }
    bool IncludeArchiveFiles() const { return (searchAttributes_ & faArchive) != 0; }
    void SetIncludeArchiveFiles(bool value) { SetAttributeBit(faArchive, value); }
    std::uint32_t SearchAttributes() const { return searchAttributes_; }

    std::vector<std::string> FilesList;
    // Entries given in memory, written after the files of FilesList, in this order (a caller
    // may reorder them before BuildArchive); stored or deflated as the files are, dated
    // `modified`, with the attributes of a regular file of their name. When an existing
    // archive is updated, one replaces the old entry of its name as a file would. Entries
    // may be added here directly (their bytes then kept until the run) or by AddMemoryEntry.
    std::vector<TMemoryEntry> MemoryEntries;
    std::vector<std::string> NoCompressList;
    std::vector<std::string> ExcludeList;
    // 0 stores every entry; 1 (fastest) to 9 (smallest) deflate, -1 is 6. Files under
    // 16 MiB are compressed whole by libdeflate at the level of the same number, larger ones
    // stream through zlib at that level.
    int PackLevel = 6;
    TZipAction ZipAction = zaUpdate;
    bool AddDirEntriesOnRecurse = false;
    // Accepted and not used: the temporary archive is always made beside ZipName, so that
    // it replaces the old one in a single rename on one file system.
    std::string TempPath;
    // Replace an existing archive with a fresh one instead of updating it.
    bool AtomicReplace = false;
    // Every line of FilesList names one file by its path, never a mask: for paths that may
    // hold "*", "?", "<", ">" or "|", such as those under a temporary folder. Such files are
    // taken as named: the attribute filters and ExcludeList do not apply to them.
    bool LiteralPaths = false;
    // Threads that compress entries: 0 one per core, 1 compresses on the calling thread.
    // The archive is the same byte for byte whatever the number.
    unsigned CompressionThreads = 0;

    // A file named for the archive that was left out: it vanished (OnNoSuchFile), could
    // not be opened, or its stored name is taken (OnSkippingFile).
    std::function<void(const std::string& path, SkipReason reason, const std::string& detail)>
        OnSkippingFile;
    std::function<void(const std::string& path)> OnNoSuchFile;
    // Entries compressed already, while their files were being made: the run takes a file's
    // bytes from here when they match its size and level, instead of reading it back. Memory
    // entries handed over by AddMemoryEntry are taken from here by their names.
    std::shared_ptr<TEntryPrecompressor> Precompressed;
    // Progress of a run: called with 0 before the first file of FilesList (as expanded) is
    // packed, then after each new entry (a file's or a memory entry's) is written, with the
    // number written so far and the number listed in both lists.
    std::function<void(std::size_t written, std::size_t listed)> OnEntryWritten;
    // The finished archive, open for reading at its start, before it takes ZipName's place;
    // raising stops the run, and ZipName stays as it was.
    std::function<void(TStream& archive)> OnArchiveWritten;
    // A notice for the user; without a handler the texts go to standard error.
    std::function<int(int messageId, const std::string& text, const std::string& caption,
                      std::uint32_t flags)>
        OnHandleMessage;

    // Test seam for write failures: when set, the open file that the archive is written to
    // is handed to it, and the archive goes to the stream it returns instead (which owns the
    // file or a duplicate of its descriptor). Left unset by every front end.
    std::function<std::unique_ptr<TFileStream>(std::unique_ptr<TFileStream> file)> WrapOutputFile;

    // Message 208: a source became shorter while it was read.
    static constexpr int kMsgFileShrank = 208;

private:
    // A run reads the settings and keeps the writer's view of the archive up to date.
    friend class TZipArchiveRun;

    void SetAttributeBit(std::uint32_t bit, bool value);
    StoredNameRules NameRules() const;

    void ExpandFileList();
    bool IsExcluded(const std::string& path) const;

    void ReportShrunk(const std::string& path, std::uint64_t sizeAtOpening,
                      std::uint64_t bytesRead);
    int ReportMessage(int messageId, const std::string& text, const std::string& caption,
                      std::uint32_t flags);

    std::string rootDir_;
    bool recurse_ = false;
    bool storePaths_ = false;
    bool relativePaths_ = false;
    bool storeVolumes_ = false;
    std::vector<std::string> relativePathList_;
    // The names of memory entries handed to Precompressed since the last run.
    std::unordered_set<std::string> handedOverNames_;
    std::uint32_t searchAttributes_ = faAnyFile & ~(faHidden | faSysFile);
};

} // namespace folivane::zip
