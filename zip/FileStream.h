// Unbuffered stream over a POSIX file descriptor that it opens and owns.
#pragma once

#include "Stream.h"

#include "platform/FileDescriptor.h"
#include "platform/SystemError.h"

#include <string>

namespace folivane::zip {

// Open modes: the access in the low two bits, the sharing in 0xF0 (POSIX has no share
// modes, so the sharing bits are accepted and ignored), and fmCreate on its own.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFFFF,
};

// Opening raises EFCreateError (fmCreate) or EFOpenError naming the absolute path and
// the system's reason. Write returns the bytes the file took and remembers errno when
// it took fewer; Close and Sync raise EWriteError. The destructor closes quietly.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& path, unsigned mode);
    // Adopts an open descriptor; `name` is what error messages call the file.
    TFileStream(platform::FileDescriptor fd, std::string name)
        : path_(std::move(name)), fd_(std::move(fd)) {}
    TFileStream(int fd, std::string name) : TFileStream(platform::FileDescriptor(fd), name) {}
    ~TFileStream() override = default;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::string Describe() const override { return path_; }
    int LastWriteError() const override { return lastWriteError_; }

    int Handle() const { return fd_.Get(); }
    void SetSize(std::int64_t size);
    // Forces the file's data to disk.
    void Sync();
    // Closes the descriptor and reports a failed close.
    void Close();

private:
    std::string path_;
    platform::FileDescriptor fd_;
    int lastWriteError_ = 0;
    // Where the descriptor stands, followed through reads, writes and seeks so that asking
    // for the position costs no system call; -1 until known (an adopted descriptor).
    std::int64_t position_ = -1;
};

using platform::ExpandFileName;

} // namespace folivane::zip
