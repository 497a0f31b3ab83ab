// A zlib stream built from pieces deflated apart, so that a piece is compressed once and
// copied wherever the same bytes recur.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace folivane::engine {

// Appends one zlib stream to `out`: the header at construction, then segments, then the
// end and the checksum at Finish. Each segment is deflated from a fresh start and ends on a
// byte boundary with an empty stored block (a sync flush), so segments laid end to end are
// one valid deflate stream whichever order they come in. One thread at a time.
class ZlibSegments {
public:
    // A piece deflated aside, to be added (perhaps many times) to a stream of the same
    // writer.
    struct Segment {
        std::string bytes;
        std::uint32_t adler = 1;  // Adler-32 of the data it holds
        std::size_t dataSize = 0; // bytes of data it holds
    };

    // `level` (1-9) and `strategy` (Z_DEFAULT_STRATEGY, Z_RLE ...) are deflateInit2's.
    // Raises std::bad_alloc, or std::runtime_error when zlib refuses them.
    ZlibSegments(std::string& out, int level, int strategy);
    ~ZlibSegments();
    ZlibSegments(const ZlibSegments&) = delete;
    ZlibSegments& operator=(const ZlibSegments&) = delete;

    // Deflates `size` bytes at `data` onto the stream.
    void Add(const std::uint8_t* data, std::size_t size);
    // Deflates `size` bytes at `data` into a segment of its own.
    Segment Make(const std::uint8_t* data, std::size_t size);
    // Appends `segment` `times` times.
    void Add(const Segment& segment, std::size_t times = 1);
    // Ends the stream: a last, empty block and the Adler-32 of all the data. Call once,
    // after every Add.
    void Finish();

private:
    void Deflate(std::string& to, const std::uint8_t* data, std::size_t size, int flush);

    struct Stream;
    std::unique_ptr<Stream> stream_;
    std::string& out_;
    std::uint32_t adler_ = 1;
};

} // namespace folivane::engine
