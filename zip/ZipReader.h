// What the zip component knows about "its" archive between runs, and reading it.
#pragma once

#include "EndCentral.h"
#include "LFNFileStream.h"
#include "SortedZip.h"

#include "platform/FileStatus.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace folivane::zip {

// Base of the writer. Holds the directory, end record and file date of the archive named
// ZipName as last read or written; another ZipName forgets them. Serves one thread.
class TZipReader {
public:
    TZipReader() = default;
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;
    virtual ~TZipReader() = default;

    const std::string& ZipName() const { return zipName_; }
    // The same name keeps the held view; any other name closes the archive and forgets it.
    void SetZipName(const std::string& name);

    // Opens ZipName for reading unless it is open, and reads its directory unless the
    // held one is still valid (same MS-DOS file date). Raises EFOpenError,
    // EIncompleteZip (no end record) or EBadZipFile (a damaged or hostile directory).
    void OpenArchive();
    // Closes the archive stream even with KeepZipOpen, and forgets directory and record.
    void CloseArchive();

    const TSortedZip* ArchiveDirectory() const { return archiveDirectory_.get(); }
    const TEndCentral& CurrentEndRecord() const { return currentEndRecord_; }
    std::uint32_t ArchiveFileDate() const { return archiveFileDate_; }

    TOEMConvert OEMConvert = oemAlways;
    TZipSortMode SortMode = ByNone;
    bool KeepZipOpen = false;
    bool DoProcessMessages = true;
    bool FlushFilesOnClose = false;

    // Called at every check point when DoProcessMessages is set (none by default).
    std::function<void()> OnDispatchMessages;
    // Asked at every check point; true stops the run with EZipAborted.
    std::function<bool()> OnCheckCancel;

protected:
    void ReadArchiveDirectory();
    void CheckPoint();
    TLFNFileStream* ArchiveStream() { return archiveStream_.get(); }
    void CloseArchiveStream() { archiveStream_.reset(); }

    static constexpr int kStreamBufferSize = 8192;

    std::string zipName_;
    std::unique_ptr<TSortedZip> archiveDirectory_;
    TEndCentral currentEndRecord_;
    std::uint32_t archiveFileDate_ = 0;
    // Size and exact modification time of the archive the held view describes: the MS-DOS
    // date alone has two-second steps, too coarse to tell a replaced archive.
    struct FileStamp {
        std::int64_t size = -1;
        std::int64_t modifiedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp StampOf(const std::optional<platform::FileStatus>& status);
    FileStamp archiveStamp_;

private:
    std::unique_ptr<TLFNFileStream> archiveStream_;
};

} // namespace folivane::zip
