// The data of one file entry: stored or raw-deflated, with its CRC-32 and sizes.
#pragma once

#include "Stream.h"
#include "ZipHeaderInfo.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct z_stream_s;

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

// Raw deflate (no zlib header or trailer, 32 KiB window, memLevel 8) at one level, keeping
// zlib's state and its buffers from one entry to the next: making them afresh costs more
// than compressing a small entry. The output is the same as with a fresh state. Raises
// EZCompressionError when zlib fails, a level outside -1 to 9 included. One thread at a time.
class TDeflater {
public:
    explicit TDeflater(int level);
    ~TDeflater();
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    EntryData Deflate(TStream& source, const BlockSink& sink);

private:
    z_stream_s* Stream() { return stream_.get(); }

    int level_;
    std::unique_ptr<z_stream_s> stream_;
    std::unique_ptr<std::uint8_t[]> input_;
    std::unique_ptr<std::uint8_t[]> output_;
};

// One entry with a deflater of its own.
EntryData DeflateEntry(TStream& source, int level, const BlockSink& sink);

// Puts what a finished entry needs into its header: method, the flag bits of the pack
// level (0x0004 for 2 or less, 0x0002 for 8 or more), CRC and both sizes.
void FinishEntry(TZipHeaderInfo& header, bool stored, const EntryData& data, int packLevel);

} // namespace folivane::zip
