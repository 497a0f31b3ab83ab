// libdeflate's compressor and CRC-32 for entries held in memory.
#include "WholeDeflater.h"

#include "ZipErrors.h"

#include <libdeflate.h>
#include <new>

namespace folivane::zip {

void TWholeDeflater::Free::operator()(libdeflate_compressor* compressor) const {
    libdeflate_free_compressor(compressor);
}

// zlib's -1, "the default", is its level 6.
TWholeDeflater::TWholeDeflater(int level) : level_(level == -1 ? 6 : level) {}

TWholeDeflater::~TWholeDeflater() = default;

EntryData TWholeDeflater::Deflate(std::string_view data, std::vector<std::uint8_t>& out) {
    if (data.empty()) {
        // One final fixed-Huffman block with nothing but its end: the shortest stream there
        // is (RFC 1951 3.2.6), where libdeflate would write an empty stored block.
        out.assign({0x03, 0x00});
        return {0, out.size(), 0};
    }
    // Made on first use unless prepared, so that a worker that never compresses allocates
    // nothing.
    if (!compressor_) {
        if (level_ < 1 || level_ > 9)
            throw EZCompressionError("libdeflate has no compression level " +
                                     std::to_string(level_) + " (levels 1 to 9 deflate)");
        Prepare();
        if (!compressor_) throw std::bad_alloc();
    }
    // Into scratch room kept from entry to entry, then only the bytes made are copied: a
    // fresh buffer of the worst-case size would be cleared and faulted in for every entry.
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor_.get(), data.size());
    if (scratchSize_ < bound) {
        scratch_.reset();
        scratch_ = std::make_unique_for_overwrite<std::uint8_t[]>(bound);
        scratchSize_ = bound;
    }
    const std::size_t written = libdeflate_deflate_compress(compressor_.get(), data.data(),
                                                            data.size(), scratch_.get(), bound);
    // The bound is the worst case, so a result of 0 (no room) cannot happen.
    if (written == 0)
        throw EZCompressionError("libdeflate found no room for " + std::to_string(data.size()) +
                                 " bytes compressed in the " + std::to_string(bound) +
                                 " bytes its own bound gave");
    out.assign(scratch_.get(), scratch_.get() + written);
    return {data.size(), written, Crc32(0, data)};
}

void TWholeDeflater::Prepare() noexcept {
    if (!compressor_ && level_ >= 1 && level_ <= 9)
        compressor_.reset(libdeflate_alloc_compressor(level_));
}

EntryData StoreWhole(std::string_view data, std::vector<std::uint8_t>& out) {
    out.assign(data.begin(), data.end());
    return {data.size(), data.size(), Crc32(0, data)};
}

std::uint32_t Crc32(std::uint32_t crc, std::string_view data) {
    return libdeflate_crc32(crc, data.data(), data.size());
}

} // namespace folivane::zip
