// The archive job: output choice, one entry per file, central directory, finish and clean-up.
#include "ZipWriter.h"

#include "ArchiveOutput.h"
#include "ArchiveReplacement.h"
#include "CompressionPool.h"
#include "DosDateTime.h"
#include "ZipErrors.h"
#include "ZipWriterRun.h"

#include <algorithm>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace folivane::zip {
namespace {

// Entries this large are compressed on the calling thread, streaming, so that no more
// than a few small entries' compressed data ever waits in memory.
constexpr std::uint64_t kInlineEntrySize = 16u << 20;
// 65,535 entries would need a Zip64 end record.
constexpr std::size_t kMaxEntries = 0xFFFE;

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Writes data to the archive in the blocks the entry was produced in, with a check point
// after each, as streaming compression does.
void WriteEntryData(TStream& archive, const std::vector<std::uint8_t>& bytes,
                    const std::function<void()>& checkPoint) {
    for (std::size_t done = 0; done < bytes.size(); done += kDeflateBlock) {
        const std::size_t n = std::min(kDeflateBlock, bytes.size() - done);
        WriteArchiveBytes(archive, bytes.data() + done, static_cast<std::int64_t>(n));
        checkPoint();
    }
}

} // namespace

TZipWriter::TZipWriter() = default;
TZipWriter::~TZipWriter() = default;

void TZipWriter::SetRootDir(const std::string& root) {
    rootDir_ = IncludeTrailingSlash(root);
    relativePathList_.assign(1, rootDir_);
}

void TZipWriter::SetStorePaths(bool value) {
    storePaths_ = value;
    if (!value) {
        storeVolumes_ = false;
        relativePaths_ = false;
    }
}

void TZipWriter::SetRelativePaths(bool value) {
    relativePaths_ = value;
    if (value) {
        storePaths_ = true;
        recurse_ = true;
    }
}

void TZipWriter::SetStoreVolumes(bool value) {
    storeVolumes_ = value;
    if (value) storePaths_ = true;
}

void TZipWriter::SetAttributeBit(std::uint32_t bit, bool value) {
    searchAttributes_ = value ? (searchAttributes_ | bit) : (searchAttributes_ & ~bit);
}

StoredNameRules TZipWriter::NameRules() const {
    return {storePaths_, relativePaths_, storeVolumes_, relativePathList_, OEMConvert};
}

int TZipWriter::BuildArchive() {
    if (Trimmed(zipName_).empty()) return 0;
    const TZipSortMode savedSortMode = SortMode;
    const bool savedKeepZipOpen = KeepZipOpen;
    SortMode = ByNone;
    KeepZipOpen = true;
    const auto restore = [&] {
        SortMode = savedSortMode;
        KeepZipOpen = savedKeepZipOpen;
        FilesList.clear();
        if (!KeepZipOpen) CloseArchiveStream();
    };
    Run run;
    try {
        if (!FilesList.empty()) ExpandFileList();
        CheckReplaceableTarget(zipName_);
        if (AtomicReplace) {
            run.beside = std::make_unique<TTempFileBeside>(zipName_);
        } else if (FileExists(zipName_)) {
            run.outputPath = CreateTempArchive(TempPath);
            run.outputCreated = run.replaceAtEnd = run.updating = true;
        } else {
            run.outputPath = zipName_;
        }
        OpenOutputArchive(run);
        if (run.updating) {
            OpenArchive();
            MergeExistingEntries(run);
        }
        AddListedFiles(run);
        WriteCentralDirectory(run);
        run.output->Close();
        if (run.updating) CloseArchive();
        if (run.beside) run.beside->Publish(FlushFilesOnClose);
        if (run.replaceAtEnd) {
            run.outputCreated = false; // replacing removes the temporary file on failure too
            ReplaceArchiveFile(run.outputPath, zipName_, FlushFilesOnClose);
        }
    } catch (...) {
        run.pool.reset(); // stop compressing before the sources go
        run.pending.clear();
        run.output.reset();
        if (run.outputCreated) RemoveFileQuietly(run.outputPath);
        restore();
        throw;
    }
    currentEndRecord_.Assign(run.newEnd);
    archiveDirectory_ = std::move(run.entryList);
    archiveFileDate_ = FileDosDateTime(zipName_);
    if (const int fd = ::open(zipName_.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        archiveStamp_ = StampOf(fd);
        ::close(fd);
    }
    restore();
    return run.added;
}

void TZipWriter::OpenOutputArchive(Run& run) {
    std::unique_ptr<TFileStream> file;
    if (run.beside) {
        file = run.beside->OpenStream();
    } else {
        file = std::make_unique<TFileStream>(run.outputPath, fmCreate);
        run.outputCreated = true;
    }
    if (WrapOutputFile) file = WrapOutputFile(std::move(file));
    run.output =
        std::make_unique<TLFNFileStream>(std::move(file), FlushFilesOnClose, kStreamBufferSize);
    const std::size_t capacity =
        FilesList.size() + (archiveDirectory_ ? archiveDirectory_->Count() : 0);
    run.entryList = std::make_unique<TSortedZip>(ByNone);
    run.entryList->Reserve(capacity);
    run.nameIndex.Reserve(capacity);
    run.newEnd.Clear();
}

void TZipWriter::AddListedFiles(Run& run) {
    unsigned threads =
        CompressionThreads ? CompressionThreads : std::thread::hardware_concurrency();
    if (threads <= 1) {
        for (const std::string& path : FilesList)
            AddFileEntry(run, path);
        return;
    }
    run.pool = std::make_unique<TCompressionPool>(threads, PackLevel);
    const std::size_t window = 2 * static_cast<std::size_t>(threads);
    const auto emitOldest = [&] {
        std::unique_ptr<PreparedEntry> entry = std::move(run.pending.front());
        run.pending.pop_front();
        CompressedEntry compressed = entry->compressed.get();
        if (entry->sizeAtOpening > compressed.data.bytesRead)
            ReportShrunk(entry->path, entry->sizeAtOpening, compressed.data.bytesRead);
        FinishEntry(*entry->header, entry->stored, compressed.data, PackLevel);
        entry->header->SaveLocalHeader(*run.output);
        WriteEntryData(*run.output, compressed.bytes, [this] { CheckPoint(); });
        AcceptEntry(run, entry->header, true);
    };
    for (const std::string& path : FilesList) {
        std::unique_ptr<PreparedEntry> entry = PrepareFileEntry(run, path);
        if (!entry) continue;
        run.nameIndex.Add(entry->header);
        if (entry->sizeAtOpening >= kInlineEntrySize) {
            while (!run.pending.empty())
                emitOldest();
            CompressEntry(run, *entry);
            continue;
        }
        entry->compressed = run.pool->Submit(
            [source = std::move(entry->source), stored = entry->stored](TDeflater& deflater) {
                CompressedEntry result;
                const BlockSink sink = [&](const std::uint8_t* data, std::size_t n) {
                    result.bytes.insert(result.bytes.end(), data, data + n);
                };
                result.data = stored ? StoreEntry(*source, sink) : deflater.Deflate(*source, sink);
                return result;
            });
        run.pending.push_back(std::move(entry));
        if (run.pending.size() >= window) emitOldest();
    }
    while (!run.pending.empty())
        emitOldest();
}

std::unique_ptr<TZipWriter::PreparedEntry> TZipWriter::PrepareFileEntry(Run& run,
                                                                        const std::string& path) {
    auto entry = std::make_unique<PreparedEntry>();
    entry->path = path;
    entry->header = std::make_shared<TZipHeaderInfo>();
    TZipHeaderInfo& header = *entry->header;
    header.OemMode = OEMConvert;
    const std::optional<std::uint32_t> attributes = FileAttributes(path);
    if (!attributes || (*attributes & faDirectory)) {
        if (OnNoSuchFile) OnNoSuchFile(path);
        return nullptr;
    }
    header.ExternalAttributes = *attributes;
    try {
        entry->source = std::make_unique<TLFNFileStream>(path, fmOpenRead | fmShareDenyNone, false,
                                                         kStreamBufferSize);
    } catch (const EStreamError& e) {
        if (OnSkippingFile) OnSkippingFile(path, SkipReason::Unreadable, e.what());
        return nullptr;
    }
    // One fstat gives both the date and the size of the opened file.
    struct stat st {};
    const bool known = fstat(entry->source->Handle(), &st) == 0;
    header.FileDateTime = known ? DosDateTimeFromTime(st.st_mtime) : kNoDosDateTime;
    entry->sizeAtOpening = known ? static_cast<std::uint64_t>(st.st_size)
                                 : static_cast<std::uint64_t>(entry->source->Size());
    header.UncompressedSize = entry->sizeAtOpening;
    if (entry->sizeAtOpening >= kZip64Limit)
        throw EZipException("Cannot store \"" + path +
                            "\": files of 4 GiB or more need Zip64, which is not supported");
    StoredName stored = DeriveStoredName(path, NameRules());
    header.SetDirectory(std::move(stored.directory));
    header.SetFileName(std::move(stored.fileName));
    header.InternalAttributes = 0;
    header.DiskStart = 0;
    std::size_t index = 0;
    if (run.nameIndex.Find(header, index)) {
        if (OnSkippingFile)
            OnSkippingFile(path, SkipReason::DuplicateName,
                           "\"" + header.StoredName() + "\" is in the archive already");
        return nullptr;
    }
    if (run.entryList->Count() + run.pending.size() >= kMaxEntries)
        throw EZipException("Cannot add \"" + path +
                            "\": archives of 65,535 entries or more need Zip64, which is not "
                            "supported");
    entry->stored = PackLevel == 0 || IsNoCompressFile(NoCompressList, header.FileName());
    return entry;
}

bool TZipWriter::AddFileEntry(Run& run, const std::string& path) {
    std::unique_ptr<PreparedEntry> entry = PrepareFileEntry(run, path);
    if (!entry) return false;
    CompressEntry(run, *entry);
    run.nameIndex.Add(entry->header);
    return true;
}

void TZipWriter::CompressEntry(Run& run, PreparedEntry& entry) {
    TZipHeaderInfo& header = *entry.header;
    TLFNFileStream& output = *run.output;
    // Written first with placeholders, then again in place once CRC and sizes are known.
    header.SaveLocalHeader(output);
    const BlockSink sink = [&](const std::uint8_t* data, std::size_t n) {
        WriteArchiveBytes(output, data, static_cast<std::int64_t>(n));
        CheckPoint();
    };
    if (!run.deflater) run.deflater = std::make_unique<TDeflater>(PackLevel);
    const EntryData data =
        entry.stored ? StoreEntry(*entry.source, sink) : run.deflater->Deflate(*entry.source, sink);
    if (entry.sizeAtOpening > data.bytesRead)
        ReportShrunk(entry.path, entry.sizeAtOpening, data.bytesRead);
    FinishEntry(header, entry.stored, data, PackLevel);
    const std::int64_t end = output.Position();
    output.SetPosition(static_cast<std::int64_t>(header.LocalHeaderOffset));
    header.SaveLocalHeader(output);
    output.SetPosition(end);
    entry.source.reset();
    AcceptEntry(run, entry.header, true);
}

void TZipWriter::AcceptEntry(Run& run, const HeaderPtr& header, bool newFile) {
    run.entryList->Add(header);
    if (newFile) ++run.added;
    ++run.newEnd.TotalEntries;
}

void TZipWriter::WriteCentralDirectory(Run& run) {
    TLFNFileStream& output = *run.output;
    const auto centralOffset = static_cast<std::uint64_t>(output.Position());
    for (const HeaderPtr& header : *run.entryList) {
        header->SaveCentralHeader(output);
        ++run.newEnd.EntriesThisDisk;
    }
    const std::uint64_t centralSize = static_cast<std::uint64_t>(output.Position()) - centralOffset;
    if (centralOffset >= kZip64Limit || centralSize >= kZip64Limit)
        throw EZipException("Cannot write \"" + zipName_ +
                            "\": archives of 4 GiB or more need Zip64, which is not supported");
    run.newEnd.CentralOffset = static_cast<std::uint32_t>(centralOffset);
    run.newEnd.CentralStartDisk = 0;
    run.newEnd.CentralSize = static_cast<std::uint32_t>(centralSize);
    run.newEnd.ThisDisk = 0;
    run.newEnd.SaveEndRecord(output);
}

void TZipWriter::ReportShrunk(const std::string& path, std::uint64_t sizeAtOpening,
                              std::uint64_t bytesRead) {
    ReportMessage(kMsgFileShrank,
                  "The file became shorter while it was read (" + std::to_string(sizeAtOpening) +
                      " bytes when opened, " + std::to_string(bytesRead) +
                      " read); the archive holds the bytes that were read.",
                  path, 0);
}

int TZipWriter::ReportMessage(int messageId, const std::string& text, const std::string& caption,
                              std::uint32_t flags) {
    if (OnHandleMessage) return OnHandleMessage(messageId, text, caption, flags);
    std::cerr << caption << ": " << text << '\n';
    return 1; // OK
}

} // namespace folivane::zip
