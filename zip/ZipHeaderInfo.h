// One archive entry: the fields of its local and central headers, its stored name.
#pragma once

#include "Stream.h"
#include "ZipFormat.h"

#include <cstdint>
#include <optional>
#include <string>

namespace folivane::zip {

enum TOEMConvert { oemAlways = 0, oemNever = 1, oemFlexible = 2 };

// 64-bit values of a Zip64 extra block (tag 0x0001) read from an archive.
struct TZip64Info {
    std::uint64_t uncompressedSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t relativeOffset = 0;
    std::uint32_t diskStart = 0;
};

// Names use "/" between folders, the separator of this platform and of the zip format.
// Setting FileName or Directory keeps NameLength their total length; a Directory that is
// not empty always ends with "/".
class TZipHeaderInfo {
public:
    TZipHeaderInfo() { Clear(); }

    void Clear();
    // Copies the record fields, names, Zip64 values and comment; not OemMode nor the
    // source extra-field position.
    void Assign(const TZipHeaderInfo& other);

    // Records the stream position as LocalHeaderOffset and writes the 30-byte local
    // header and the name there. Raises EZipException for values that need Zip64.
    void SaveLocalHeader(TStream& archive);
    // Writes the 46-byte central header, the name, the extra blocks of the source
    // archive other than Zip64 (read from `source` only when SourceExtraLength is set)
    // and the comment.
    void SaveCentralHeader(TStream& archive, TStream* source = nullptr);
    // Reads one central header at the stream position; false, with the position
    // restored, when none is there. Leaves the stream right after the name. A name that is
    // not in the OEM code page (another host, or the UTF-8 flag) sets OemMode to oemNever.
    bool ReadCentralHeader(TStream& archive);

    const std::string& FileName() const { return fileName_; }
    const std::string& Directory() const { return directory_; }
    std::string StoredName() const { return directory_ + fileName_; }
    void SetFileName(std::string name);
    void SetDirectory(std::string directory);
    const std::optional<std::string>& FileComment() const { return fileComment_; }
    void SetFileComment(std::string comment);
    // The name as the headers spell it, converted according to OemMode.
    std::string EncodedName();

    std::uint16_t VersionMadeBy;
    std::uint16_t VersionNeeded;
    std::uint16_t Flags;
    std::uint16_t Method;
    std::uint32_t FileDateTime;
    std::uint32_t Crc32;
    std::uint64_t CompressedSize;
    std::uint64_t UncompressedSize;
    std::uint16_t NameLength;
    std::uint16_t CentralExtraLength;
    std::uint16_t LocalExtraLength;
    std::uint16_t CommentLength;
    std::uint16_t DiskStart;
    std::uint16_t InternalAttributes;
    std::uint32_t ExternalAttributes;
    std::uint64_t LocalHeaderOffset;
    std::uint64_t CentralHeaderPosition;
    std::optional<TZip64Info> Zip64Info;
    TOEMConvert OemMode;
    std::uint64_t SourceExtraPosition;
    std::uint16_t SourceExtraLength;
    std::uint16_t SourceZip64Length;

private:
    void CheckFitsWithoutZip64() const;
    // The encoded name, after checking that the header can be written without Zip64.
    std::string WritableName();

    std::string fileName_;
    std::string directory_;
    std::optional<std::string> fileComment_;
};

} // namespace folivane::zip
