// Shared behaviour of all streams: size by seeking, exact reads.
#include "Stream.h"

#include "ZipErrors.h"

namespace folivane::zip {

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t end = Seek(0, soEnd);
    Seek(position, soBeginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count > 0 && Read(buffer, count) != count)
        throw EReadError("Cannot read \"" + Describe() + "\": unexpected end of data");
}

} // namespace folivane::zip
