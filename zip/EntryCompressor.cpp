// Store and deflate loops over a source stream, CRC-32 taken on the way.
#include "EntryCompressor.h"

#include "WildcardMatch.h"
#include "ZipErrors.h"

#include <memory>
#include <new>
#include <zlib.h>

namespace folivane::zip {
namespace {

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::size_t ReadSourceBlock(TStream& source, std::uint8_t* buffer, std::size_t count,
                            EntryData& data) {
    const auto n = static_cast<std::size_t>(source.Read(buffer, static_cast<std::int64_t>(count)));
    if (n > 0) data.crc32 = static_cast<std::uint32_t>(crc32_z(data.crc32, buffer, n));
    data.bytesRead += n;
    return n;
}

int CheckZlib(int result) {
    // Out of memory is that, whoever ran out: the caller can say so about its file.
    if (result == Z_MEM_ERROR) throw std::bad_alloc();
    if (result < 0) throw EZCompressionError("error");
    return result;
}

} // namespace

bool IsNoCompressFile(const std::vector<std::string>& masks, std::string_view name) {
    const std::string whole = LowerAscii(name);
    const auto slash = whole.rfind('/');
    const std::string part = slash == std::string::npos ? whole : whole.substr(slash + 1);
    for (const std::string& mask : masks) {
        const std::string lowered = LowerAscii(mask);
        const bool pathMask = lowered.find('/') != std::string::npos;
        if (WildcardMatch(lowered, pathMask ? whole : part)) return true;
    }
    return false;
}

EntryData StoreEntry(TStream& source, const BlockSink& sink) {
    EntryData data;
    const auto buffer = std::make_unique<std::uint8_t[]>(kStoreBlock);
    for (std::size_t n = ReadSourceBlock(source, buffer.get(), kStoreBlock, data); n > 0;
         n = ReadSourceBlock(source, buffer.get(), kStoreBlock, data)) {
        sink(buffer.get(), n);
        data.bytesWritten += n;
    }
    return data;
}

TDeflater::TDeflater(int level) : level_(level) {}

TDeflater::~TDeflater() {
    if (stream_) deflateEnd(Stream());
}

EntryData TDeflater::Deflate(TStream& source, const BlockSink& sink) {
    if (!stream_) {
        // Made on first use, so that a level zlib refuses fails the entry, not the owner; and
        // kept only when all of it was made, so that a failed allocation leaves no half-made
        // deflater for the next entry.
        auto input = std::make_unique_for_overwrite<std::uint8_t[]>(kDeflateBlock);
        auto output = std::make_unique_for_overwrite<std::uint8_t[]>(kDeflateBlock);
        auto stream = std::make_unique<z_stream_s>();
        CheckZlib(
            deflateInit2(stream.get(), level_, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
        input_ = std::move(input);
        output_ = std::move(output);
        stream_ = std::move(stream);
    } else {
        CheckZlib(deflateReset(Stream()));
    }
    z_stream& z = *Stream();
    EntryData data;
    std::size_t n = ReadSourceBlock(source, input_.get(), kDeflateBlock, data);
    z.next_in = input_.get();
    z.avail_in = static_cast<uInt>(n);
    z.next_out = output_.get();
    z.avail_out = static_cast<uInt>(kDeflateBlock);
    int flush = Z_NO_FLUSH;
    while (true) {
        if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
            n = ReadSourceBlock(source, input_.get(), kDeflateBlock, data);
            z.next_in = input_.get();
            z.avail_in = static_cast<uInt>(n);
            if (n == 0) flush = Z_FINISH;
        }
        const int result = CheckZlib(deflate(&z, flush));
        if (z.avail_out == 0 || flush == Z_FINISH) {
            const std::size_t k = kDeflateBlock - z.avail_out;
            if (k > 0) {
                sink(output_.get(), k);
                data.bytesWritten += k;
            }
            z.next_out = output_.get();
            z.avail_out = static_cast<uInt>(kDeflateBlock);
        }
        if (result == Z_STREAM_END) break;
    }
    return data;
}

EntryData DeflateEntry(TStream& source, int level, const BlockSink& sink) {
    TDeflater deflater(level);
    return deflater.Deflate(source, sink);
}

void FinishEntry(TZipHeaderInfo& header, bool stored, const EntryData& data, int packLevel) {
    header.CompressedSize = stored ? data.bytesRead : data.bytesWritten;
    header.UncompressedSize = data.bytesRead;
    header.Crc32 = data.crc32;
    header.Method = stored ? kMethodStored : kMethodDeflated;
    if (packLevel <= 2)
        header.Flags |= kFlagDeflateFast;
    else if (packLevel >= 8)
        header.Flags |= kFlagDeflateMaximum;
}

} // namespace folivane::zip
