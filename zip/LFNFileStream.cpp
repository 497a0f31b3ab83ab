// File stream with the 8192-byte buffer the archive writer reads and writes through.
#include "LFNFileStream.h"

namespace folivane::zip {

TLFNFileStream::TLFNFileStream(const std::string& path, unsigned mode, bool flushOnFree,
                               int capacity)
    : detail::OwnedFileHolder{std::make_unique<TFileStream>(path, mode)},
      TS_BufferStream(*ownedFile, capacity), path_(path) {
    FlushOnFree = flushOnFree && (mode & 3) != 0;
}

TLFNFileStream::TLFNFileStream(std::unique_ptr<TFileStream> file, bool flushOnFree, int capacity)
    : detail::OwnedFileHolder{std::move(file)}, TS_BufferStream(*ownedFile, capacity),
      path_(ownedFile->Describe()) {
    FlushOnFree = flushOnFree;
}

TLFNFileStream::~TLFNFileStream() = default;

void TLFNFileStream::Close() {
    if (closed_) return;
    closed_ = true;
    const bool sync = FlushOnFree && EverWritten;
    FlushOnFree = false; // the destructor must not touch the closed descriptor
    Flush();
    if (sync) ownedFile->Sync();
    ownedFile->Close();
}

} // namespace folivane::zip
