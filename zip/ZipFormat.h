// The numbers of the zip format this writer uses, with the section of PKWARE's APPNOTE.TXT
// (version 6.3.x) that defines each.
#pragma once

#include <cstdint>

namespace folivane::zip {

// 4.3.7 Local file header: its signature and fixed size, the name follows.
constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr int kLocalHeaderSize = 30;
// 4.3.12 Central directory file header.
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr int kCentralHeaderSize = 46;
// 4.3.16 End of central directory record; the comment after it is at most 65,535 bytes.
constexpr std::uint32_t kEndCentralSignature = 0x06054B50;
constexpr int kEndCentralSize = 22;
constexpr int kMaxEndCentralSearch = 0xFFFF + kEndCentralSize;
// 4.3.14, 4.3.15 Zip64 end of central directory record and its locator, which stand in this
// order just before the end record of an archive that has them.
constexpr std::uint32_t kZip64EndSignature = 0x06064B50;
constexpr int kZip64EndSize = 56;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr int kZip64LocatorSize = 20;

// 4.4.2 Version made by: the host in the upper byte, the APPNOTE version in the lower.
constexpr std::uint16_t kHostMsDos = 0;    // 4.4.2.2: MS-DOS and OS/2 (FAT)
constexpr std::uint16_t kHostNtfs = 11;    // 4.4.2.2: Windows NTFS
constexpr std::uint16_t kSpecVersion = 45; // this writer follows APPNOTE 4.5
// 4.4.3 Version needed to extract: 2.0 covers stored and deflated data.
constexpr std::uint16_t kVersionNeeded = 20;

// 4.4.4 General purpose bit flag.
constexpr std::uint16_t kFlagDeflateMaximum = 0x0002; // bits 1-2 = 01: levels 8 and 9
constexpr std::uint16_t kFlagDeflateFast = 0x0004;    // bits 1-2 = 10: levels 1 and 2
constexpr std::uint16_t kFlagDataDescriptor = 0x0008; // bit 3: sizes follow the data
constexpr std::uint16_t kFlagUtf8Name = 0x0800;       // bit 11: name and comment in UTF-8

// 4.4.5 Compression method.
constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// 4.4.15 External file attributes: the MS-DOS archive attribute of a plain file.
constexpr std::uint32_t kAttributeArchive = 0x20;

// 4.4.1.4, 4.4.8: a field of all ones means its value is in the Zip64 record, and values
// from there on need Zip64, which this writer does not produce.
constexpr std::uint64_t kZip64Limit = 0xFFFFFFFF;
constexpr std::uint16_t kZip64Limit16 = 0xFFFF;
// 4.4.21, 4.4.22: the entry counts are 16 bits, and 0xFFFF means "see Zip64".
constexpr std::size_t kMaxEntries = 0xFFFE;
// 4.4.10, 4.4.11, 4.4.12: names, extra fields and comments have 16-bit lengths.
constexpr std::size_t kMaxFieldLength = 0xFFFF;

// 4.5.2 Header ID of the Zip64 extended information extra field.
constexpr std::uint16_t kZip64ExtraTag = 0x0001;

} // namespace folivane::zip
