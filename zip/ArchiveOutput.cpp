// The one place that turns a refused archive write into an error.
#include "ArchiveOutput.h"

#include "ZipErrors.h"

#include <cerrno>

namespace folivane::zip {

void ThrowNotEnoughRoom(const TStream& archive) {
    const int error = archive.LastWriteError() ? archive.LastWriteError() : ENOSPC;
    throw ENotEnoughRoom(archive.Describe(), error);
}

void WriteArchiveBytes(TStream& archive, const void* data, std::int64_t count) {
    if (archive.Write(data, count) != count || archive.WriteFailed()) ThrowNotEnoughRoom(archive);
}

} // namespace folivane::zip
