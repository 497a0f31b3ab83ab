// Abstract byte stream with 64-bit positions, the base of the archive writer's streams.
#pragma once

#include <cstdint>
#include <string>

namespace folivane::zip {

enum SeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// A stream is used by one thread at a time. Read and Write return the number of
// bytes moved; fewer than asked means end of data (Read) or a refusing target (Write).
class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    virtual std::int64_t Size();

    // Name used in error messages (a file path for file streams).
    virtual std::string Describe() const { return "stream"; }
    // errno of the last write that the target refused, 0 when none did.
    virtual int LastWriteError() const { return 0; }
    // True once any write was refused, also one whose count no caller saw.
    virtual bool WriteFailed() const { return LastWriteError() != 0; }

    // Read exactly count bytes or raise EReadError.
    void ReadBuffer(void* buffer, std::int64_t count);
};

} // namespace folivane::zip
