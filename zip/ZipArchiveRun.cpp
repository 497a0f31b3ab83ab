// The steps of one archive run: output, one entry per file, central directory, publishing.
#include "ZipArchiveRun.h"

#include "ArchiveOutput.h"
#include "DosDateTime.h"
#include "FileSystem.h"
#include "ZipErrors.h"
#include "ZipWriter.h"

#include "platform/FileStatus.h"

#include <algorithm>
#include <thread>

namespace folivane::zip {
namespace {

// Entries this large are compressed on the calling thread, streaming, so that no more
// than a few small entries' compressed data ever waits in memory.
constexpr std::uint64_t kInlineEntrySize = 16u << 20;

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

TZipArchiveRun::TZipArchiveRun(TZipWriter& writer) : writer_(writer) {}

TZipArchiveRun::~TZipArchiveRun() {
    // Compression stops before the sources and the output it works for go.
    pool_.reset();
    pending_.clear();
    output_.reset();
    replacement_.reset(); // unpublished: nothing of it stays
}

int TZipArchiveRun::Execute() {
    updating_ = !writer_.AtomicReplace && FileExists(writer_.ZipName());
    OpenOutputArchive();
    if (updating_) {
        writer_.OpenArchive();
        MergeExistingEntries();
    }
    AddListedFiles();
    WriteCentralDirectory();
    output_->Close();
    if (writer_.OnArchiveWritten) {
        TFileStream written(replacement_->Duplicate(), ExpandFileName(writer_.ZipName()));
        written.SetPosition(0);
        writer_.OnArchiveWritten(written);
    }
    if (updating_) writer_.CloseArchive();
    replacement_->Publish(writer_.FlushFilesOnClose);
    return added_;
}

void TZipArchiveRun::OpenOutputArchive() {
    replacement_ = std::make_unique<platform::ReplacementFile>(writer_.ZipName());
    auto file =
        std::make_unique<TFileStream>(replacement_->Duplicate(), ExpandFileName(writer_.ZipName()));
    if (writer_.WrapOutputFile) file = writer_.WrapOutputFile(std::move(file));
    output_ = std::make_unique<TLFNFileStream>(std::move(file), writer_.FlushFilesOnClose,
                                               TZipWriter::kStreamBufferSize);
    const std::size_t capacity =
        writer_.FilesList.size() +
        (writer_.archiveDirectory_ ? writer_.archiveDirectory_->Count() : 0);
    entryList_ = std::make_unique<TSortedZip>(ByNone);
    entryList_->Reserve(capacity);
    nameIndex_.Reserve(capacity);
    newEnd_.Clear();
}

void TZipArchiveRun::AddListedFiles() {
    const unsigned threads = writer_.CompressionThreads ? writer_.CompressionThreads
                                                        : std::thread::hardware_concurrency();
    if (threads > 1) {
        pool_ = std::make_unique<TCompressionPool>(threads, writer_.PackLevel);
        if (pool_->Threads() == 0) pool_.reset();
    }
    if (!pool_) {
        for (const std::string& path : writer_.FilesList)
            AddFileEntry(path);
        return;
    }
    const std::size_t window = 2 * static_cast<std::size_t>(threads);
    for (const std::string& path : writer_.FilesList) {
        std::unique_ptr<PreparedEntry> entry = PrepareFileEntry(path);
        if (!entry) continue;
        nameIndex_.Add(entry->header);
        if (entry->sizeAtOpening >= kInlineEntrySize) {
            while (!pending_.empty())
                WriteOldestPending();
            CompressEntry(*entry);
            continue;
        }
        entry->compressed = pool_->Submit(
            [source = std::move(entry->source), stored = entry->stored](TDeflater& deflater) {
                CompressedEntry result;
                const BlockSink sink = [&](const std::uint8_t* data, std::size_t n) {
                    result.bytes.insert(result.bytes.end(), data, data + n);
                };
                result.data = stored ? StoreEntry(*source, sink) : deflater.Deflate(*source, sink);
                return result;
            });
        pending_.push_back(std::move(entry));
        if (pending_.size() >= window) WriteOldestPending();
    }
    while (!pending_.empty())
        WriteOldestPending();
}

void TZipArchiveRun::WriteOldestPending() {
    std::unique_ptr<PreparedEntry> entry = std::move(pending_.front());
    pending_.pop_front();
    CompressedEntry compressed = entry->compressed.get();
    if (entry->sizeAtOpening > compressed.data.bytesRead)
        writer_.ReportShrunk(entry->path, entry->sizeAtOpening, compressed.data.bytesRead);
    FinishEntry(*entry->header, entry->stored, compressed.data, writer_.PackLevel);
    entry->header->SaveLocalHeader(*output_);
    WriteEntryData(*output_, compressed.bytes, [this] { writer_.CheckPoint(); });
    AcceptEntry(entry->header, true);
}

std::unique_ptr<TZipArchiveRun::PreparedEntry>
TZipArchiveRun::PrepareFileEntry(const std::string& path) {
    auto entry = std::make_unique<PreparedEntry>();
    entry->path = path;
    entry->header = std::make_shared<TZipHeaderInfo>();
    TZipHeaderInfo& header = *entry->header;
    header.OemMode = writer_.OEMConvert;
    const std::optional<std::uint32_t> attributes = FileAttributes(path);
    if (!attributes || (*attributes & faDirectory)) {
        if (writer_.OnNoSuchFile) writer_.OnNoSuchFile(path);
        return nullptr;
    }
    header.ExternalAttributes = *attributes;
    try {
        entry->source = std::make_unique<TLFNFileStream>(path, fmOpenRead | fmShareDenyNone, false,
                                                         TZipWriter::kStreamBufferSize);
    } catch (const EStreamError& e) {
        if (writer_.OnSkippingFile) writer_.OnSkippingFile(path, SkipReason::Unreadable, e.what());
        return nullptr;
    }
    // One fstat gives both the date and the size of the opened file.
    const std::optional<platform::FileStatus> status =
        platform::StatOpenFile(entry->source->Handle());
    header.FileDateTime = status ? DosDateTimeFromTime(status->modified) : kNoDosDateTime;
    entry->sizeAtOpening = status ? static_cast<std::uint64_t>(status->size)
                                  : static_cast<std::uint64_t>(entry->source->Size());
    header.UncompressedSize = entry->sizeAtOpening;
    if (entry->sizeAtOpening >= kZip64Limit)
        throw EZipException("Cannot store \"" + path +
                            "\": files of 4 GiB or more need Zip64, which is not supported");
    StoredName stored = DeriveStoredName(path, writer_.NameRules());
    header.SetDirectory(std::move(stored.directory));
    header.SetFileName(std::move(stored.fileName));
    header.InternalAttributes = 0;
    header.DiskStart = 0;
    std::size_t index = 0;
    if (nameIndex_.Find(header, index)) {
        if (writer_.OnSkippingFile)
            writer_.OnSkippingFile(path, SkipReason::DuplicateName,
                                   "\"" + header.StoredName() + "\" is in the archive already");
        return nullptr;
    }
    if (entryList_->Count() + pending_.size() >= kMaxEntries)
        throw EZipException("Cannot add \"" + path +
                            "\": archives of 65,535 entries or more need Zip64, which is not "
                            "supported");
    entry->stored =
        writer_.PackLevel == 0 || IsNoCompressFile(writer_.NoCompressList, header.FileName());
    return entry;
}

bool TZipArchiveRun::AddFileEntry(const std::string& path) {
    std::unique_ptr<PreparedEntry> entry = PrepareFileEntry(path);
    if (!entry) return false;
    CompressEntry(*entry);
    nameIndex_.Add(entry->header);
    return true;
}

void TZipArchiveRun::CompressEntry(PreparedEntry& entry) {
    TZipHeaderInfo& header = *entry.header;
    TLFNFileStream& output = *output_;
    // Written first with placeholders, then again in place once CRC and sizes are known.
    header.SaveLocalHeader(output);
    const BlockSink sink = [&](const std::uint8_t* data, std::size_t n) {
        WriteArchiveBytes(output, data, static_cast<std::int64_t>(n));
        writer_.CheckPoint();
    };
    if (!deflater_) deflater_ = std::make_unique<TDeflater>(writer_.PackLevel);
    const EntryData data =
        entry.stored ? StoreEntry(*entry.source, sink) : deflater_->Deflate(*entry.source, sink);
    if (entry.sizeAtOpening > data.bytesRead)
        writer_.ReportShrunk(entry.path, entry.sizeAtOpening, data.bytesRead);
    FinishEntry(header, entry.stored, data, writer_.PackLevel);
    const std::int64_t end = output.Position();
    output.SetPosition(static_cast<std::int64_t>(header.LocalHeaderOffset));
    header.SaveLocalHeader(output);
    output.SetPosition(end);
    entry.source.reset();
    AcceptEntry(entry.header, true);
}

void TZipArchiveRun::AcceptEntry(const HeaderPtr& header, bool newFile) {
    entryList_->Add(header);
    if (newFile) ++added_;
    ++newEnd_.TotalEntries;
}

void TZipArchiveRun::WriteCentralDirectory() {
    TLFNFileStream& output = *output_;
    const auto centralOffset = static_cast<std::uint64_t>(output.Position());
    for (const HeaderPtr& header : *entryList_) {
        header->SaveCentralHeader(output);
        ++newEnd_.EntriesThisDisk;
    }
    const std::uint64_t centralSize = static_cast<std::uint64_t>(output.Position()) - centralOffset;
    if (centralOffset >= kZip64Limit || centralSize >= kZip64Limit)
        throw EZipException("Cannot write \"" + writer_.ZipName() +
                            "\": archives of 4 GiB or more need Zip64, which is not supported");
    newEnd_.CentralOffset = static_cast<std::uint32_t>(centralOffset);
    newEnd_.CentralStartDisk = 0;
    newEnd_.CentralSize = static_cast<std::uint32_t>(centralSize);
    newEnd_.ThisDisk = 0;
    newEnd_.SaveEndRecord(output);
}

} // namespace folivane::zip
