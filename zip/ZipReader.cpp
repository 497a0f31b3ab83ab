// Reading an existing archive's directory, trusting none of its fields.
#include "ZipReader.h"

#include "DosDateTime.h"
#include "ZipErrors.h"

#include "platform/FileStatus.h"

namespace folivane::zip {
namespace {

std::uint32_t OpenFileDosDate(const TLFNFileStream& stream) {
    const std::optional<platform::FileStatus> status = platform::StatOpenFile(stream.Handle());
    if (!status) return kNoDosDateTime;
    return ClampDosDateTime(DosDateTimeFromTime(status->modified));
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
    } catch (const EListError&) {
        CloseArchive(); // two entries at one position
        throw EBadZipFile();
    } catch (...) {
        CloseArchive();
        throw;
    }
}

} // namespace folivane::zip
