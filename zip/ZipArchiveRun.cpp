// The steps of one archive run: output, one entry per file, central directory, publishing.
#include "ZipArchiveRun.h"

#include "ArchiveOutput.h"
#include "BytesSource.h"
#include "DosDateTime.h"
#include "EntryPrecompressor.h"
#include "FileSystem.h"
#include "WholeDeflater.h"
#include "ZipErrors.h"
#include "ZipWriter.h"

#include "platform/FileStatus.h"

#include <algorithm>
#include <thread>

namespace folivane::zip {
namespace {

// Entries smaller than this are read and compressed whole with libdeflate, on the pool.
// Larger ones stream through zlib a block at a time on the calling thread, once the entries
// before them are written, so that memory never holds more than a few entries' data.
constexpr std::uint64_t kWholeEntryLimit = 16u << 20;
// Entries this small cost less to compress than to hand to another thread and back.
constexpr std::uint64_t kTinyEntrySize = 4u << 10;

// A source read to its end: its size when opened is a hint, a file that changed is taken as
// it now is. `checkPoint`, when set, is called after each block, as streaming does.
std::string ReadWhole(TStream& source, std::uint64_t sizeHint,
                      const std::function<void()>& checkPoint) {
    std::string data(static_cast<std::size_t>(sizeHint) + 1, '\0');
    std::size_t have = 0;
    while (true) {
        // In blocks when someone waits for check points, else in one read.
        const std::size_t room = data.size() - have;
        const std::size_t want = checkPoint ? std::min(kDeflateBlock, room) : room;
        const auto got = static_cast<std::size_t>(
            source.Read(data.data() + have, static_cast<std::int64_t>(want)));
        have += got;
        if (got < want) break;
        if (checkPoint) checkPoint();
        if (have == data.size()) data.resize(2 * data.size());
    }
    data.resize(have);
    return data;
}

CompressedEntry CompressBytes(std::string_view data, bool stored, TWholeDeflater& deflater) {
    CompressedEntry result;
    result.data = stored ? StoreWhole(data, result.bytes) : deflater.Deflate(data, result.bytes);
    return result;
}

CompressedEntry CompressWhole(TStream& source, std::uint64_t size, bool stored,
                              TWholeDeflater& deflater,
                              const std::function<void()>& checkPoint = {}) {
    return CompressBytes(ReadWhole(source, size, checkPoint), stored, deflater);
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

TZipArchiveRun::TZipArchiveRun(TZipWriter& writer) : writer_(writer) {}

TZipArchiveRun::~TZipArchiveRun() {
    // Compression stops before the sources and the output it works for go (tasks on a
    // borrowed pool own their sources).
    ownPool_.reset();
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
    AddListedEntries();
    WriteCentralDirectory();
    output_->Close();
    if (writer_.OnArchiveWritten) {
        TFileStream written(replacement_->Duplicate(), ExpandFileName(writer_.ZipName()));
        written.SetPosition(0);
        writer_.OnArchiveWritten(written);
    }
    if (updating_) writer_.CloseArchive();
    // The last moment a cancel keeps the earlier file: from here on the archive is the output.
    writer_.CheckPoint();
    replacement_->Publish(writer_.FlushFilesOnClose);
    return added_;
}

void TZipArchiveRun::OpenOutputArchive() {
    replacement_ = std::make_unique<platform::ReplacementFile>(writer_.ZipName());
    auto file =
        std::make_unique<TFileStream>(replacement_->Duplicate(), ExpandFileName(writer_.ZipName()));
    if (writer_.WrapOutputFile) file = writer_.WrapOutputFile(std::move(file));
    // The archive goes out in large writes: a book of a thousand pages of a few KiB each
    // took some two hundred writes through the reading buffer's 8 KiB.
    constexpr int kArchiveBufferSize = 256 << 10;
    output_ = std::make_unique<TLFNFileStream>(std::move(file), writer_.FlushFilesOnClose,
                                               kArchiveBufferSize);
    const std::size_t capacity =
        writer_.FilesList.size() + writer_.MemoryEntries.size() +
        (writer_.archiveDirectory_ ? writer_.archiveDirectory_->Count() : 0);
    entryList_ = std::make_unique<TSortedZip>(ByNone);
    entryList_->Reserve(capacity);
    nameIndex_.Reserve(capacity);
    newEnd_.Clear();
}

std::size_t TZipArchiveRun::ListedCount() const {
    return writer_.FilesList.size() + writer_.MemoryEntries.size();
}

void TZipArchiveRun::AddListedEntries() {
    if (writer_.OnEntryWritten) writer_.OnEntryWritten(0, ListedCount());
    const unsigned threads = writer_.CompressionThreads ? writer_.CompressionThreads
                                                        : std::thread::hardware_concurrency();
    if (TEntryPrecompressor* ahead = SameLevelPrecompressor(); ahead && threads > 1) {
        pool_ = ahead->Pool();
    } else if (threads > 1) {
        ownPool_ = std::make_unique<TCompressionPool>(threads, writer_.PackLevel);
        if (ownPool_->Threads() == 0) ownPool_.reset();
        pool_ = ownPool_.get();
    }
    if (!pool_) {
        for (const std::string& path : writer_.FilesList)
            AddFileEntry(path);
        for (TMemoryEntry& memory : writer_.MemoryEntries)
            AddMemoryEntry(memory);
        return;
    }
    for (const std::string& path : writer_.FilesList)
        QueueEntry(PrepareFileEntry(path));
    for (TMemoryEntry& memory : writer_.MemoryEntries)
        QueueEntry(PrepareMemoryEntry(memory));
    while (!pending_.empty())
        WriteOldestPending();
}

void TZipArchiveRun::QueueEntry(std::unique_ptr<PreparedEntry> entry) {
    if (!entry) return;
    nameIndex_.Add(entry->header);
    if (entry->ready) {
        // Compressed already, while the file or the entry was made.
    } else if (entry->sizeAtOpening >= kWholeEntryLimit) {
        while (!pending_.empty())
            WriteOldestPending();
        CompressEntry(*entry);
        return;
    } else if (entry->sizeAtOpening < kTinyEntrySize) {
        entry->ready = entry->inMemory ? CompressBytes(entry->data, entry->stored, WholeDeflater())
                                       : CompressWhole(*entry->source, entry->sizeAtOpening,
                                                       entry->stored, WholeDeflater());
        entry->source.reset();
        entry->data = std::string();
    } else if (entry->inMemory) {
        entry->compressed = pool_->Submit(
            [data = std::move(entry->data), stored = entry->stored](TWholeDeflater& deflater) {
                return CompressBytes(data, stored, deflater);
            });
    } else {
        entry->compressed =
            pool_->Submit([source = std::move(entry->source), size = entry->sizeAtOpening,
                           stored = entry->stored](TWholeDeflater& deflater) {
                return CompressWhole(*source, size, stored, deflater);
            });
    }
    pending_.push_back(std::move(entry));
    const std::size_t window = 2 * static_cast<std::size_t>(pool_->Threads());
    if (pending_.size() >= window) WriteOldestPending();
}

TEntryPrecompressor* TZipArchiveRun::SameLevelPrecompressor() const {
    TEntryPrecompressor* ahead = writer_.Precompressed.get();
    return ahead && ahead->Level() == writer_.PackLevel ? ahead : nullptr;
}

TWholeDeflater& TZipArchiveRun::WholeDeflater() {
    if (TEntryPrecompressor* ahead = SameLevelPrecompressor()) return ahead->Deflater();
    if (!wholeDeflater_) wholeDeflater_ = std::make_unique<TWholeDeflater>(writer_.PackLevel);
    return *wholeDeflater_;
}

void TZipArchiveRun::WriteOldestPending() {
    std::unique_ptr<PreparedEntry> entry = std::move(pending_.front());
    pending_.pop_front();
    const CompressedEntry compressed =
        entry->ready ? std::move(*entry->ready) : entry->compressed.get();
    WriteCompressed(*entry, compressed);
}

void TZipArchiveRun::WriteCompressed(PreparedEntry& entry, const CompressedEntry& compressed) {
    if (entry.sizeAtOpening > compressed.data.bytesRead)
        writer_.ReportShrunk(entry.path, entry.sizeAtOpening, compressed.data.bytesRead);
    // CRC and sizes are known before the header is written: it is written once.
    FinishEntry(*entry.header, entry.stored, compressed.data, writer_.PackLevel);
    entry.header->SaveLocalHeader(*output_);
    WriteEntryData(*output_, compressed.bytes, [this] { writer_.CheckPoint(); });
    AcceptEntry(entry.header, true);
}

std::unique_ptr<TZipArchiveRun::PreparedEntry>
TZipArchiveRun::PrepareFileEntry(const std::string& path) {
    auto entry = std::make_unique<PreparedEntry>();
    entry->path = path;
    entry->header = std::make_shared<TZipHeaderInfo>();
    TZipHeaderInfo& header = *entry->header;
    header.OemMode = writer_.OEMConvert;
    const std::optional<platform::FileStatus> found = platform::StatPath(path);
    if (!found || found->IsFolder()) {
        if (writer_.OnNoSuchFile) writer_.OnNoSuchFile(path);
        return nullptr;
    }
    header.ExternalAttributes = FileAttributesOf(*found, path);
    if (!NameNewEntry(header, DeriveStoredName(path, writer_.NameRules()), path)) return nullptr;
    entry->stored =
        writer_.PackLevel == 0 || IsNoCompressFile(writer_.NoCompressList, header.FileName());

    // Bytes compressed while the file was made need no reading back.
    TEntryPrecompressor* ahead = SameLevelPrecompressor();
    if (!entry->stored && ahead) {
        entry->ready = ahead->Take(path, static_cast<std::uint64_t>(found->size));
        if (entry->ready) {
            header.FileDateTime = DosDateTimeFromTime(found->modified);
            entry->sizeAtOpening = static_cast<std::uint64_t>(found->size);
            header.UncompressedSize = entry->sizeAtOpening;
            return entry;
        }
    }

    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
    } catch (const EStreamError& e) {
        if (writer_.OnSkippingFile) writer_.OnSkippingFile(path, SkipReason::Unreadable, e.what());
        return nullptr;
    }
    // One fstat gives both the date and the size of the opened file.
    const std::optional<platform::FileStatus> status = platform::StatOpenFile(file->Handle());
    header.FileDateTime = status ? DosDateTimeFromTime(status->modified) : kNoDosDateTime;
    entry->sizeAtOpening = status ? static_cast<std::uint64_t>(status->size)
                                  : static_cast<std::uint64_t>(file->Size());
    header.UncompressedSize = entry->sizeAtOpening;
    if (entry->sizeAtOpening >= kZip64Limit)
        throw EZip64Needed("Cannot store \"" + path +
                           "\": files of 4 GiB or more need Zip64, which is not supported");
    // A whole entry is read in one go; only one that streams wants a buffer in front.
    if (entry->sizeAtOpening < kWholeEntryLimit)
        entry->source = std::move(file);
    else
        entry->source =
            std::make_unique<TLFNFileStream>(std::move(file), false, TZipWriter::kStreamBufferSize);
    return entry;
}

bool TZipArchiveRun::NameNewEntry(TZipHeaderInfo& header, StoredName stored,
                                  const std::string& what) {
    header.SetDirectory(std::move(stored.directory));
    header.SetFileName(std::move(stored.fileName));
    header.InternalAttributes = 0;
    header.DiskStart = 0;
    std::size_t index = 0;
    if (nameIndex_.Find(header, index)) {
        if (writer_.OnSkippingFile)
            writer_.OnSkippingFile(what, SkipReason::DuplicateName,
                                   "\"" + header.StoredName() + "\" is in the archive already");
        return false;
    }
    if (entryList_->Count() + pending_.size() >= kMaxEntries)
        throw EZip64Needed("Cannot add \"" + what +
                           "\": archives of 65,535 entries or more need Zip64, which is not "
                           "supported");
    return true;
}

std::unique_ptr<TZipArchiveRun::PreparedEntry>
TZipArchiveRun::PrepareMemoryEntry(TMemoryEntry& memory) {
    writer_.CheckPoint();
    if (memory.name.empty() || memory.name.back() == '/')
        throw EZipException("Cannot add the entry \"" + memory.name +
                            "\": an entry given in memory needs a file name");
    auto entry = std::make_unique<PreparedEntry>();
    entry->path = memory.name;
    entry->inMemory = true;
    entry->header = std::make_shared<TZipHeaderInfo>();
    TZipHeaderInfo& header = *entry->header;
    header.OemMode = writer_.OEMConvert;
    // As a regular, writable file of that name would have.
    const std::string fileName = ExtractFileName(memory.name);
    header.ExternalAttributes = faArchive | (fileName.front() == '.' ? faHidden : 0u);
    if (!NameNewEntry(header, SplitStoredName(memory.name, writer_.OEMConvert), memory.name))
        return nullptr;
    const std::uint64_t size = memory.handedOver ? memory.size : memory.bytes.size();
    if (size >= kZip64Limit)
        throw EZip64Needed("Cannot store \"" + memory.name +
                           "\": entries of 4 GiB or more need Zip64, which is not supported");
    header.FileDateTime = DosDateTimeFromTime(memory.modified);
    header.UncompressedSize = size;
    entry->sizeAtOpening = size;
    entry->stored =
        writer_.PackLevel == 0 || IsNoCompressFile(writer_.NoCompressList, header.FileName());
    if (memory.handedOver) {
        // Its bytes went to the precompressor when it was added; only it has them now.
        if (writer_.Precompressed) entry->ready = writer_.Precompressed->Take(memory.name, size);
        if (!entry->ready)
            throw EZipException("Cannot add \"" + memory.name +
                                "\": its data was handed to a precompressor that lost it");
        entry->stored = false;
        return entry;
    }
    if (size >= kWholeEntryLimit)
        entry->source = std::make_unique<TBytesSource>(std::move(memory.bytes));
    else
        entry->data = std::move(memory.bytes);
    memory.bytes = std::string();
    return entry;
}

bool TZipArchiveRun::AddMemoryEntry(TMemoryEntry& memory) {
    std::unique_ptr<PreparedEntry> entry = PrepareMemoryEntry(memory);
    if (!entry) return false;
    CompressEntry(*entry);
    nameIndex_.Add(entry->header);
    return true;
}

bool TZipArchiveRun::AddFileEntry(const std::string& path) {
    std::unique_ptr<PreparedEntry> entry = PrepareFileEntry(path);
    if (!entry) return false;
    CompressEntry(*entry);
    nameIndex_.Add(entry->header);
    return true;
}

void TZipArchiveRun::CompressEntry(PreparedEntry& entry) {
    if (entry.ready) {
        WriteCompressed(entry, *entry.ready);
        return;
    }
    if (entry.inMemory && !entry.source) {
        WriteCompressed(entry, CompressBytes(entry.data, entry.stored, WholeDeflater()));
        entry.data = std::string();
        return;
    }
    if (entry.sizeAtOpening < kWholeEntryLimit) {
        WriteCompressed(entry, CompressWhole(*entry.source, entry.sizeAtOpening, entry.stored,
                                             WholeDeflater(), [this] { writer_.CheckPoint(); }));
        entry.source.reset();
        return;
    }
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
    if (newFile) {
        ++added_;
        if (writer_.OnEntryWritten)
            writer_.OnEntryWritten(static_cast<std::size_t>(added_), ListedCount());
    }
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
        throw EZip64Needed("Cannot write \"" + writer_.ZipName() +
                           "\": archives of 4 GiB or more need Zip64, which is not supported");
    newEnd_.CentralOffset = static_cast<std::uint32_t>(centralOffset);
    newEnd_.CentralStartDisk = 0;
    newEnd_.CentralSize = static_cast<std::uint32_t>(centralSize);
    newEnd_.ThisDisk = 0;
    newEnd_.SaveEndRecord(output);
}

} // namespace folivane::zip
