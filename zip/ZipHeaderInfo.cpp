// Local and central file headers: their byte images, and reading a central header back.
#include "ZipHeaderInfo.h"

#include "ArchiveOutput.h"
#include "Bytes.h"
#include "DosDateTime.h"
#include "OemCodePage.h"
#include "ZipErrors.h"

#include <algorithm>
#include <cstring>

namespace folivane::zip {
namespace {

constexpr std::uint16_t kVersionMadeBy = (kHostMsDos << 8) | kSpecVersion;

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::uint32_t Narrow32(std::uint64_t value) {
    return static_cast<std::uint32_t>(value);
}

} // namespace

void TZipHeaderInfo::Clear() {
    VersionMadeBy = kVersionMadeBy;
    VersionNeeded = kVersionNeeded;
    Flags = 0;
    Method = kMethodDeflated;
    FileDateTime = 0;
    Crc32 = 0xFFFFFFFF;
    CompressedSize = 0;
    UncompressedSize = 0;
    NameLength = 0;
    CentralExtraLength = 0;
    LocalExtraLength = 0;
    CommentLength = 0;
    DiskStart = 0;
    InternalAttributes = 1;
    ExternalAttributes = kAttributeArchive;
    LocalHeaderOffset = 0;
    CentralHeaderPosition = 0;
    Zip64Info.reset();
    OemMode = oemNever;
    SourceExtraPosition = 0;
    SourceExtraLength = 0;
    SourceZip64Length = 0;
    fileName_.clear();
    directory_.clear();
    fileComment_.reset();
}

void TZipHeaderInfo::Assign(const TZipHeaderInfo& other) {
    VersionMadeBy = other.VersionMadeBy;
    VersionNeeded = other.VersionNeeded;
    Flags = other.Flags;
    Method = other.Method;
    FileDateTime = other.FileDateTime;
    Crc32 = other.Crc32;
    CompressedSize = other.CompressedSize;
    UncompressedSize = other.UncompressedSize;
    NameLength = other.NameLength;
    CentralExtraLength = other.CentralExtraLength;
    LocalExtraLength = other.LocalExtraLength;
    CommentLength = other.CommentLength;
    DiskStart = other.DiskStart;
    InternalAttributes = other.InternalAttributes;
    ExternalAttributes = other.ExternalAttributes;
    LocalHeaderOffset = other.LocalHeaderOffset;
    CentralHeaderPosition = other.CentralHeaderPosition;
    fileName_ = other.fileName_;
    directory_ = other.directory_;
    Zip64Info = other.Zip64Info;
    fileComment_ = other.fileComment_;
}

void TZipHeaderInfo::SetFileName(std::string name) {
    fileName_ = std::move(name);
    NameLength = static_cast<std::uint16_t>(
        std::min<std::size_t>(directory_.size() + fileName_.size(), kMaxFieldLength));
}

void TZipHeaderInfo::SetDirectory(std::string directory) {
    if (!directory.empty() && directory.back() != '/') directory += '/';
    directory_ = std::move(directory);
    SetFileName(std::move(fileName_));
}

void TZipHeaderInfo::SetFileComment(std::string comment) {
    CommentLength =
        static_cast<std::uint16_t>(std::min<std::size_t>(comment.size(), kMaxFieldLength));
    if (comment.empty())
        fileComment_.reset();
    else
        fileComment_ = std::move(comment);
}

std::string TZipHeaderInfo::EncodedName() {
    const std::string name = StoredName();
    const OemCodePage& oem = OemCodePage::System();
    switch (OemMode) {
    case oemAlways:
        return oem.FromWorking(name);
    case oemFlexible: {
        std::string converted = oem.FromWorking(name);
        if (LowerAscii(oem.ToWorking(converted)) != LowerAscii(name)) {
            // The code page cannot hold the name: keep it as it is and say the host is NTFS.
            VersionMadeBy = static_cast<std::uint16_t>((VersionMadeBy & 0xFF) | (kHostNtfs << 8));
            return name;
        }
        return converted;
    }
    default:
        return name;
    }
}

std::string TZipHeaderInfo::WritableName() {
    CheckFitsWithoutZip64();
    std::string name = EncodedName();
    if (name.size() > kMaxFieldLength)
        throw EZipException("Cannot store \"" + StoredName() + "\": the name is too long");
    return name;
}

void TZipHeaderInfo::CheckFitsWithoutZip64() const {
    if (CompressedSize >= kZip64Limit || UncompressedSize >= kZip64Limit ||
        LocalHeaderOffset >= kZip64Limit)
        throw EZipException("Cannot store \"" + StoredName() +
                            "\": entries and archives of 4 GiB or more need Zip64, which is "
                            "not supported");
}

void TZipHeaderInfo::SaveLocalHeader(TStream& archive) {
    LocalHeaderOffset = static_cast<std::uint64_t>(archive.Position());
    const std::string name = WritableName();
    VersionNeeded = kVersionNeeded;
    RecordWriter record(kLocalHeaderSize + name.size());
    record.U32(kLocalHeaderSignature)
        .U16(VersionNeeded)
        .U16(Flags)
        .U16(Method)
        .U32(FileDateTime)
        .U32(Crc32)
        .U32(Narrow32(CompressedSize))
        .U32(Narrow32(UncompressedSize))
        .U16(static_cast<std::uint32_t>(name.size()))
        .U16(LocalExtraLength)
        .Bytes(name);
    WriteArchiveBytes(archive, record.Image());
}

void TZipHeaderInfo::SaveCentralHeader(TStream& archive, TStream* source) {
    const std::string name = WritableName();
    std::string extra;
    if (SourceExtraLength != 0 && source) {
        // Carry the source's extra blocks over, all but the Zip64 block.
        std::string raw(SourceExtraLength, '\0');
        source->SetPosition(static_cast<std::int64_t>(SourceExtraPosition));
        source->ReadBuffer(raw.data(), SourceExtraLength);
        RecordReader blocks(raw);
        while (blocks.Remaining() >= 4) {
            const std::size_t start = blocks.Position();
            const std::uint16_t tag = blocks.U16();
            const std::uint16_t size = blocks.U16();
            blocks.Skip(size);
            if (!blocks.Ok()) break;
            if (tag != kZip64ExtraTag) extra += raw.substr(start, 4u + size);
        }
    }
    CentralExtraLength = static_cast<std::uint16_t>(extra.size());
    VersionNeeded = kVersionNeeded;
    const std::string comment = CommentLength && fileComment_ ? *fileComment_ : std::string();
    RecordWriter record(kCentralHeaderSize + name.size() + extra.size() + comment.size());
    record.U32(kCentralHeaderSignature)
        .U16(VersionMadeBy)
        .U16(VersionNeeded)
        .U16(Flags)
        .U16(Method)
        .U32(FileDateTime)
        .U32(Crc32)
        .U32(Narrow32(CompressedSize))
        .U32(Narrow32(UncompressedSize))
        .U16(static_cast<std::uint32_t>(name.size()))
        .U16(CentralExtraLength)
        .U16(static_cast<std::uint32_t>(comment.size()))
        .U16(DiskStart)
        .U16(InternalAttributes)
        .U32(ExternalAttributes)
        .U32(Narrow32(LocalHeaderOffset))
        .Bytes(name)
        .Bytes(extra)
        .Bytes(comment);
    WriteArchiveBytes(archive, record.Image());
}

bool TZipHeaderInfo::ReadCentralHeader(TStream& archive) {
    const std::int64_t start = archive.Position();
    char fixed[kCentralHeaderSize];
    if (archive.Read(fixed, kCentralHeaderSize) != kCentralHeaderSize) {
        archive.SetPosition(start);
        return false;
    }
    RecordReader record(std::string_view(fixed, kCentralHeaderSize));
    if (record.U32() != kCentralHeaderSignature) {
        archive.SetPosition(start);
        return false;
    }
    VersionMadeBy = record.U16();
    VersionNeeded = record.U16();
    Flags = record.U16();
    Method = record.U16();
    FileDateTime = ClampDosDateTime(record.U32());
    Crc32 = record.U32();
    CompressedSize = record.U32();
    UncompressedSize = record.U32();
    const std::uint16_t rawNameLength = record.U16();
    CentralExtraLength = record.U16();
    CommentLength = record.U16();
    DiskStart = record.U16();
    InternalAttributes = record.U16();
    ExternalAttributes = record.U32();
    LocalHeaderOffset = record.U32();
    LocalExtraLength = 0;

    std::string name(rawNameLength, '\0');
    if (archive.Read(name.data(), rawNameLength) != rawNameLength) {
        archive.SetPosition(start);
        return false;
    }
    // Only a name written on MS-DOS without the UTF-8 flag (bit 11) is in the OEM code page.
    // Any other keeps its bytes, and is written back with them.
    const bool oemName = (VersionMadeBy >> 8) == kHostMsDos && (Flags & kFlagUtf8Name) == 0;
    if (!oemName) OemMode = oemNever;
    if (OemMode != oemNever) name = OemCodePage::System().ToWorking(name);
    const auto slash = name.rfind('/');
    directory_ = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    SetFileName(slash == std::string::npos ? name : name.substr(slash + 1));
    CentralHeaderPosition = static_cast<std::uint64_t>(start);

    if (CentralExtraLength != 0) {
        const std::int64_t extraStart = archive.Position();
        SourceExtraPosition = static_cast<std::uint64_t>(extraStart);
        SourceExtraLength = CentralExtraLength;
        std::string extra(CentralExtraLength, '\0');
        const std::int64_t got = archive.Read(extra.data(), CentralExtraLength);
        extra.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
        RecordReader blocks(extra);
        while (blocks.Remaining() >= 4) {
            const std::uint16_t tag = blocks.U16();
            const std::uint16_t size = blocks.U16();
            const std::string_view data = blocks.Bytes(size);
            if (!blocks.Ok()) break;
            if (tag != kZip64ExtraTag) continue;
            // Only the fields that overflowed are present, in this order.
            RecordReader values(data);
            TZip64Info info;
            if (UncompressedSize == kZip64Limit && values.Remaining() >= 8)
                UncompressedSize = info.uncompressedSize = values.U64();
            if (CompressedSize == kZip64Limit && values.Remaining() >= 8)
                CompressedSize = info.compressedSize = values.U64();
            if (LocalHeaderOffset == kZip64Limit && values.Remaining() >= 8)
                LocalHeaderOffset = info.relativeOffset = values.U64();
            if (DiskStart == kZip64Limit16 && values.Remaining() >= 4)
                DiskStart = static_cast<std::uint16_t>(info.diskStart = values.U32());
            Zip64Info = info;
            SourceZip64Length = static_cast<std::uint16_t>(size + 4);
            break;
        }
        archive.SetPosition(extraStart);
    }
    return true;
}

} // namespace folivane::zip
