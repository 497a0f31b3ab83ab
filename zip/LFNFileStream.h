// Buffered stream over a file that it opens by name and owns.
#pragma once

#include "BufferStream.h"
#include "FileStream.h"

#include <memory>
#include <string>

namespace folivane::zip {

namespace detail {
// Holds the file so that it is built before, and freed after, the buffer in front of it.
struct OwnedFileHolder {
    std::unique_ptr<TFileStream> ownedFile;
};
} // namespace detail

// Opening raises as TFileStream does. FlushOnFree is kept only for modes that write.
// Close() writes what waits, forces it to disk when asked, closes the file and raises
// EWriteError when any of that, or any earlier write, failed. Freeing a stream that
// was not closed writes what waits without a report.
class TLFNFileStream : private detail::OwnedFileHolder, public TS_BufferStream {
public:
    static constexpr int DefaultCapacity = 8192;

    TLFNFileStream(const std::string& path, unsigned mode, bool flushOnFree = false,
                   int capacity = DefaultCapacity);
    // Buffers a file opened elsewhere, for writing.
    TLFNFileStream(std::unique_ptr<TFileStream> file, bool flushOnFree,
                   int capacity = DefaultCapacity);
    ~TLFNFileStream() override;

    int Handle() const { return ownedFile->Handle(); }
    const std::string& Path() const { return path_; }
    // Passes the size straight to the file; waiting bytes are neither written nor dropped.
    void SetSize(std::int64_t size) { ownedFile->SetSize(size); }
    void Close();
    bool IsClosed() const { return closed_; }

private:
    std::string path_;
    bool closed_ = false;
};

} // namespace folivane::zip
