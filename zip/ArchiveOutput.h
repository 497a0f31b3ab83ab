// Writing to the archive stream: every byte reaches it, or the run fails.
#pragma once

#include "Stream.h"

#include <cstdint>
#include <string_view>

namespace folivane::zip {

// Writes all bytes or raises ENotEnoughRoom ("Not enough room to write archive") naming
// the archive and the system's cause; also when an earlier buffered write was refused.
void WriteArchiveBytes(TStream& archive, const void* data, std::int64_t count);
inline void WriteArchiveBytes(TStream& archive, std::string_view bytes) {
    WriteArchiveBytes(archive, bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// Raises ENotEnoughRoom for a write the archive refused earlier.
[[noreturn]] void ThrowNotEnoughRoom(const TStream& archive);

} // namespace folivane::zip
