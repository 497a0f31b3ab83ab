// Segments deflated by zlib as raw deflate, joined under one zlib header and checksum.
#include "ZlibSegments.h"

#include <algorithm>
#include <libdeflate.h>
#include <new>
#include <stdexcept>
#include <zlib.h>

namespace folivane::engine {
namespace {

// Output is taken in pieces of this size; a cover's stream is a few tens of KB.
constexpr std::size_t kOutputPiece = 16 * 1024;
// deflate counts its input in uInt.
constexpr std::size_t kLargestInput = std::size_t{1} << 30;

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFFu);
}

std::uint32_t Combine(std::uint32_t first, std::uint32_t second, std::size_t secondSize) {
    return static_cast<std::uint32_t>(
        adler32_combine(first, second, static_cast<z_off_t>(secondSize)));
}

} // namespace

struct ZlibSegments::Stream {
    z_stream z{};
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    ~Stream() { deflateEnd(&z); }
};

ZlibSegments::ZlibSegments(std::string& out, int level, int strategy)
    : stream_(std::make_unique<Stream>()), out_(out) {
    // Raw deflate (no header of its own) with the largest window, which the header below
    // declares.
    const int started = deflateInit2(&stream_->z, level, Z_DEFLATED, -15, 8, strategy);
    if (started == Z_MEM_ERROR) throw std::bad_alloc();
    if (started != Z_OK)
        throw std::runtime_error("zlib cannot deflate at level " + std::to_string(level) +
                                 " with strategy " + std::to_string(strategy));
    // The header: deflate with a 32 KiB window, the level's class (as zlib itself marks it),
    // and the check bits that make the pair a multiple of 31.
    const unsigned method = 0x78;
    const unsigned levelClass = strategy == Z_HUFFMAN_ONLY || strategy == Z_RLE || level < 2 ? 0
                                : level < 6                                                  ? 1
                                : level == 6                                                 ? 2
                                                                                             : 3;
    unsigned flags = levelClass << 6;
    flags += (31 - (method * 256 + flags) % 31) % 31;
    out_ += static_cast<char>(method);
    out_ += static_cast<char>(flags);
}

ZlibSegments::~ZlibSegments() = default;

void ZlibSegments::Deflate(std::string& to, const std::uint8_t* data, std::size_t size, int flush) {
    z_stream& z = stream_->z;
    if (deflateReset(&z) != Z_OK) throw std::runtime_error("zlib could not start a segment");
    do {
        const std::size_t now = std::min(size, kLargestInput);
        // zlib's interface is not const-correct; it only reads its input.
        z.next_in = const_cast<Bytef*>(data);
        z.avail_in = static_cast<uInt>(now);
        data += now;
        size -= now;
        const int mode = size == 0 ? flush : Z_NO_FLUSH;
        do {
            const std::size_t at = to.size();
            to.resize(at + kOutputPiece);
            z.next_out = reinterpret_cast<Bytef*>(to.data() + at);
            z.avail_out = static_cast<uInt>(kOutputPiece);
            const int result = deflate(&z, mode);
            to.resize(to.size() - z.avail_out);
            if (result == Z_STREAM_ERROR) throw std::runtime_error("zlib could not deflate");
        } while (z.avail_out == 0);
    } while (size != 0);
}

void ZlibSegments::Add(const std::uint8_t* data, std::size_t size) {
    Deflate(out_, data, size, Z_SYNC_FLUSH);
    adler_ = Combine(adler_, libdeflate_adler32(1, data, size), size);
}

ZlibSegments::Segment ZlibSegments::Make(const std::uint8_t* data, std::size_t size) {
    Segment segment;
    Deflate(segment.bytes, data, size, Z_SYNC_FLUSH);
    segment.adler = libdeflate_adler32(1, data, size);
    segment.dataSize = size;
    return segment;
}

void ZlibSegments::Add(const Segment& segment, std::size_t times) {
    out_.reserve(out_.size() + segment.bytes.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out_ += segment.bytes;
        adler_ = Combine(adler_, segment.adler, segment.dataSize);
    }
}

void ZlibSegments::Finish() {
    Deflate(out_, nullptr, 0, Z_FINISH);
    AppendBigEndian(out_, adler_);
}

} // namespace folivane::engine
