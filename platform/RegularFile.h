// Opening, reading and writing whole regular files.
#pragma once

#include "FileDescriptor.h"
#include "FileStatus.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace folivane::platform {

// Opens `path` for reading, and puts what fstat said of it in `status` when given. Raises
// EFOpenError naming the path and the reason when it cannot be opened or is no regular file
// (a folder, a FIFO, a device): opening does not wait for a FIFO's writer, and a device such
// as /dev/zero would never end.
FileDescriptor OpenRegularFile(const std::string& path, FileStatus* status = nullptr);

// The size of the regular file at `path`; nothing when it cannot be opened or is no
// regular file. Never waits on a FIFO.
std::optional<std::int64_t> RegularFileSize(const std::string& path);

// Reads up to `count` bytes, fewer only at the end of the file. Raises EReadError naming
// `path`.
std::size_t ReadUpTo(const FileDescriptor& file, char* buffer, std::size_t count,
                     const std::string& path);

// Reads from the current position up to `size` bytes, the rest of the file as it was when it
// was opened, after what `out` holds: bytes another program appends meanwhile are left out,
// so that a file that keeps growing is not read without end; a file that shrinks ends where
// it now ends. With `progress`, reads in steps of kReadStep and tells it the bytes read so
// far after each. Raises EReadError naming `path`.
void ReadAsOpened(const FileDescriptor& file, std::string& out, std::int64_t size,
                  const std::string& path, const std::function<void(std::size_t)>& progress = {});
// Steps small enough for a bar to move smoothly over a 100 MB file, large enough to cost
// nothing.
constexpr std::size_t kReadStep = std::size_t{4} << 20;

// The whole content of the regular file at `path`; raises as OpenRegularFile and ReadAsOpened.
std::string ReadWholeFile(const std::string& path);

// Writes all of `bytes` at the file's current position, reporting a short write; the errno
// of the failure, 0 when every byte went.
[[nodiscard]] int WriteAll(const FileDescriptor& file, std::string_view bytes);

// Creates the file anew (replacing an existing one) holding exactly `bytes`, then closes it.
// Raises EFCreateError, or EWriteError (Write, the path, the errno) when any byte does not
// reach it, the close included.
void WriteNewFile(const std::string& path, std::string_view bytes);

} // namespace folivane::platform
