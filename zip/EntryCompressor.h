// The data of one file entry: stored or raw-deflated, with its CRC-32 and sizes.
#pragma once

#include "Stream.h"
#include "ZipHeaderInfo.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::zip {

// Receives the entry data block by block, in order.
using BlockSink = std::function<void(const std::uint8_t* data, std::size_t count)>;

struct EntryData {
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t crc32 = 0; // final CRC-32 of the bytes read
};

// Block sizes the entry data is produced in; the deflate stream depends on how its input
// is fed, so every path must feed it the same way to write the same bytes.
constexpr std::size_t kDeflateBlock = 65535;
constexpr std::size_t kStoreBlock = 32768;

// True when one of the masks matches the name (both sides compared in lower case; a mask
// holding "/" is compared with the whole name, any other with its last component).
bool IsNoCompressFile(const std::vector<std::string>& masks, std::string_view name);

// Copies the source to the sink unchanged.
EntryData StoreEntry(TStream& source, const BlockSink& sink);

// Raw deflate (no zlib header or trailer, 32 KiB window, memLevel 8) at `level`. Raises
// EZCompressionError when zlib fails, a level outside -1 to 9 included.
EntryData DeflateEntry(TStream& source, int level, const BlockSink& sink);

// Puts what a finished entry needs into its header: method, the flag bits of the pack
// level (0x0004 for 2 or less, 0x0002 for 8 or more), CRC and both sizes.
void FinishEntry(TZipHeaderInfo& header, bool stored, const EntryData& data, int packLevel);

} // namespace folivane::zip
