// Reading an existing archive's directory, trusting none of its fields.
#include "ZipReader.h"

#include "Bytes.h"
#include "DosDateTime.h"
#include "ZipErrors.h"

#include "platform/FileStatus.h"

#include <algorithm>
#include <string>

namespace folivane::zip {
namespace {

std::uint32_t OpenFileDosDate(const TLFNFileStream& stream) {
    const std::optional<platform::FileStatus> status = platform::StatOpenFile(stream.Handle());
    if (!status) return kNoDosDateTime;
    return ClampDosDateTime(DosDateTimeFromTime(status->modified));
}

// Reads `count` bytes at `position`, or fewer at the end of the file.
std::string ReadAt(TStream& archive, std::uint64_t position, std::size_t count) {
    std::string bytes(count, '\0');
    archive.SetPosition(static_cast<std::int64_t>(position));
    bytes.resize(static_cast<std::size_t>(
        std::max<std::int64_t>(0, archive.Read(bytes.data(), static_cast<std::int64_t>(count)))));
    return bytes;
}

// Raises EBadZipFile when what stands between the directory's end and the end record says
// the directory holds more than the end record counts: a central header there (entries
// beyond the count and the size), or a Zip64 end record whose count, size or offset is not
// the end record's. Such an archive updated as the end record says would lose the entries it
// does not count.
void CheckDirectoryEnd(TStream& archive, const TEndCentral& end, std::uint64_t centralEnd,
                       std::uint64_t endPosition) {
    const std::uint64_t gap = endPosition - centralEnd;
    if (gap >= 4) {
        const std::string signature = ReadAt(archive, centralEnd, 4);
        if (signature.size() == 4 && RecordReader(signature).U32() == kCentralHeaderSignature)
            throw EBadZipFile();
    }
    if (endPosition < kZip64LocatorSize) return;
    const std::string locatorBytes =
        ReadAt(archive, endPosition - kZip64LocatorSize, kZip64LocatorSize);
    RecordReader locator(locatorBytes);
    if (locator.U32() != kZip64LocatorSignature) return;
    locator.Skip(4); // the disk of the Zip64 end record
    const std::uint64_t recordAt = locator.U64();
    if (!locator.Ok() || recordAt > endPosition - kZip64LocatorSize ||
        endPosition - kZip64LocatorSize - recordAt < kZip64EndSize)
        throw EBadZipFile();
    const std::string recordBytes = ReadAt(archive, recordAt, kZip64EndSize);
    RecordReader record(recordBytes);
    if (record.U32() != kZip64EndSignature) throw EBadZipFile();
    record.Skip(8 + 2 + 2 + 4 + 4); // its size, versions and disks
    const std::uint64_t entriesThisDisk = record.U64();
    const std::uint64_t entries = record.U64();
    const std::uint64_t size = record.U64();
    const std::uint64_t offset = record.U64();
    // A field of the end record that is all ones leaves its value to the Zip64 record.
    const auto agrees = [](std::uint64_t value, std::uint64_t classic, std::uint64_t allOnes) {
        return classic == allOnes || value == classic;
    };
    if (!record.Ok() || entriesThisDisk != entries ||
        !agrees(entries, end.TotalEntries, kZip64Limit16) ||
        !agrees(size, end.CentralSize, kZip64Limit) ||
        !agrees(offset, end.CentralOffset, kZip64Limit))
        throw EBadZipFile();
}

} // namespace

TZipReader::FileStamp TZipReader::StampOf(const std::optional<platform::FileStatus>& status) {
    if (!status) return {};
    return {status->size, status->modifiedNs};
}

void TZipReader::SetZipName(const std::string& name) {
    if (name == zipName_) return;
    CloseArchive();
    zipName_ = name;
}

void TZipReader::CloseArchive() {
    archiveStream_.reset();
    archiveDirectory_.reset();
    currentEndRecord_.Clear();
}

void TZipReader::CheckPoint() {
    if (!DoProcessMessages) return;
    if (OnDispatchMessages) OnDispatchMessages();
    if (OnCheckCancel && OnCheckCancel()) throw EZipAborted();
}

void TZipReader::OpenArchive() {
    if (!archiveStream_)
        archiveStream_ = std::make_unique<TLFNFileStream>(zipName_, fmOpenRead | fmShareDenyWrite,
                                                          FlushFilesOnClose, kStreamBufferSize);
    if (archiveDirectory_ && OpenFileDosDate(*archiveStream_) == archiveFileDate_ &&
        StampOf(platform::StatOpenFile(archiveStream_->Handle())) == archiveStamp_)
        return;
    ReadArchiveDirectory();
}

void TZipReader::ReadArchiveDirectory() {
    TLFNFileStream& archive = *archiveStream_;
    archiveFileDate_ = OpenFileDosDate(archive);
    archiveStamp_ = StampOf(platform::StatOpenFile(archive.Handle()));
    archiveDirectory_.reset();
    try {
        if (!currentEndRecord_.FindEndRecord(archive) ||
            currentEndRecord_.ThisDisk < currentEndRecord_.CentralStartDisk)
            throw EIncompleteZip();
        const TEndCentral& end = currentEndRecord_;
        const std::int64_t fileSize = archive.Size();
        const std::uint64_t endPosition = fileSize == 0 ? 0 : end.CommentPosition - kEndCentralSize;
        const std::uint64_t centralEnd = std::uint64_t{end.CentralOffset} + end.CentralSize;
        // Every count, size and offset is checked against the file before it is used.
        if (end.ThisDisk != 0 || end.CentralStartDisk != 0 ||
            end.EntriesThisDisk != end.TotalEntries || centralEnd > endPosition ||
            std::uint64_t{end.TotalEntries} * kCentralHeaderSize > end.CentralSize)
            throw EBadZipFile();
        if (end.TotalEntries > 0) archive.SetPosition(end.CentralOffset);
        archiveDirectory_ = std::make_unique<TSortedZip>(ByNone);
        archiveDirectory_->Reserve(end.TotalEntries);
        HeaderPtr previous;
        for (unsigned i = 0; i < end.TotalEntries; ++i) {
            CheckPoint();
            auto header = std::make_shared<TZipHeaderInfo>();
            header->OemMode = OEMConvert;
            bool read = header->ReadCentralHeader(archive);
            if (!read && previous && previous->CentralExtraLength > 0) {
                // Some writers count an extra field they never wrote: step back over it.
                archive.SetPosition(archive.Position() - previous->CentralExtraLength);
                previous->CentralExtraLength = 0;
                read = header->ReadCentralHeader(archive);
            }
            const std::uint64_t next = static_cast<std::uint64_t>(archive.Position()) +
                                       header->CentralExtraLength + header->CommentLength;
            // Offsets and sizes may come 64 bits wide from a Zip64 block: compared so that
            // no sum can wrap around.
            if (!read || next > centralEnd || header->DiskStart != 0 ||
                header->LocalHeaderOffset > end.CentralOffset ||
                end.CentralOffset - header->LocalHeaderOffset < kLocalHeaderSize ||
                header->CompressedSize > end.CentralOffset - header->LocalHeaderOffset)
                throw EBadZipFile();
            archiveDirectory_->Add(header);
            archive.SetPosition(static_cast<std::int64_t>(next));
            previous = std::move(header);
        }
        // The directory is exactly the headers counted: more bytes in it than they take are
        // entries the end record leaves out.
        if (end.TotalEntries > 0 ? static_cast<std::uint64_t>(archive.Position()) != centralEnd
                                 : end.CentralSize != 0)
            throw EBadZipFile();
        if (fileSize != 0) CheckDirectoryEnd(archive, end, centralEnd, endPosition);
    } catch (const EListError&) {
        CloseArchive(); // two entries at one position
        throw EBadZipFile();
    } catch (...) {
        CloseArchive();
        throw;
    }
}

} // namespace folivane::zip
