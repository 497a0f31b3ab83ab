// Bytes held in memory, read as a stream.
#include "BytesSource.h"

#include <algorithm>

namespace folivane::zip {

std::int64_t TBytesSource::Read(void* buffer, std::int64_t count) {
    const std::size_t n = std::min(static_cast<std::size_t>(count), bytes_.size() - at_);
    std::copy_n(bytes_.data() + at_, n, static_cast<char*>(buffer));
    at_ += n;
    return static_cast<std::int64_t>(n);
}

std::int64_t TBytesSource::Seek(std::int64_t offset, int origin) {
    const std::int64_t base = origin == soBeginning ? 0
                              : origin == soCurrent ? static_cast<std::int64_t>(at_)
                                                    : static_cast<std::int64_t>(bytes_.size());
    at_ = static_cast<std::size_t>(
        std::clamp<std::int64_t>(base + offset, 0, static_cast<std::int64_t>(bytes_.size())));
    return static_cast<std::int64_t>(at_);
}

} // namespace folivane::zip
