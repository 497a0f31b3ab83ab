// Whole entries compressed in one call: libdeflate's raw deflate on a buffer.
#pragma once

#include "EntryCompressor.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct libdeflate_compressor;

namespace folivane::zip {

// Entries whose data fits in memory are compressed whole, which libdeflate does two to three
// times faster than zlib's streaming deflate and a little smaller. The writer's levels 1 to 9
// are libdeflate's levels of the same number, which trade speed for size much as zlib's do
// (level 0 is never asked of it: such entries are stored; zlib's -1 is 6). The output
// depends only on the data and the level. Deflate raises EZCompressionError for a level
// outside 1 to 9, and std::bad_alloc when libdeflate cannot get its memory. One thread at a
// time.
class TWholeDeflater {
public:
    explicit TWholeDeflater(int level);
    ~TWholeDeflater();
    TWholeDeflater(const TWholeDeflater&) = delete;
    TWholeDeflater& operator=(const TWholeDeflater&) = delete;

    // Raw deflate of `data` into `out` (replacing what it held), with the CRC-32 of `data`.
    EntryData Deflate(std::string_view data, std::vector<std::uint8_t>& out);
    // Sets libdeflate up now rather than at the first Deflate: its state, some hundreds of
    // KiB, then comes from the calling thread's heap. A failure is left to Deflate to raise.
    void Prepare() noexcept;

private:
    struct Free {
        void operator()(libdeflate_compressor* compressor) const;
    };
    int level_;
    std::unique_ptr<libdeflate_compressor, Free> compressor_;
    std::unique_ptr<std::uint8_t[]> scratch_;
    std::size_t scratchSize_ = 0;
};

// `data` as it is, with its CRC-32.
EntryData StoreWhole(std::string_view data, std::vector<std::uint8_t>& out);

// The CRC-32 of zip entries (APPNOTE 4.4.7), by libdeflate's faster routine.
std::uint32_t Crc32(std::uint32_t crc, std::string_view data);

} // namespace folivane::zip
