// Bytes held in memory, read as a stream.
#pragma once

#include "Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace folivane::zip {

// Reads its own copy of the bytes from the start; seeks within them, writes nothing. For a
// memory entry that streams as a large file does, and for measuring a compressor.
class TBytesSource : public TStream {
public:
    explicit TBytesSource(std::string bytes) : bytes_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, int origin) override;

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

} // namespace folivane::zip
