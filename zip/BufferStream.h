// One buffer in front of any stream, serving reads and writes with an exact logical position.
#pragma once

#include "Stream.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace folivane::zip {

// The buffer does not own its inner stream. Bytes written wait in the buffer until it is
// full, a seek moves, a read follows or the stream is freed. A write that the inner
// stream refuses is remembered: WriteFailed() tells, Flush() raises. The destructor
// flushes what waits but cannot report a failure; callers that care call Flush().
class TS_BufferStream : public TStream {
public:
    using Hook = std::function<void(TS_BufferStream&)>;

    TS_BufferStream(TStream& inner, int capacity);
    ~TS_BufferStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::string Describe() const override { return inner_.Describe(); }
    int LastWriteError() const override;

    virtual bool FillBuffer();
    virtual bool FlushBuffer();
    // Steps back over the last byte read and makes it the given byte.
    virtual void PutBack(std::uint8_t byte);

    // Writes the waiting bytes; raises EWriteError when these or earlier bytes were refused.
    void Flush();
    bool WriteFailed() const override { return writeFailed_ || inner_.WriteFailed(); }

    int Capacity() const { return capacity_; }
    bool FlushOnFree = false;
    bool EverWritten = false;
    Hook FillHook;
    Hook FlushHook;

protected:
    virtual void DoFillBuffer();
    virtual void DoFlushBuffer();
    TStream& Inner() { return inner_; }

private:
    enum class Direction : std::uint8_t { Idle = 0, Reading = 1, Writing = 2 };

    std::int64_t BufferedOffset() const;

    TStream& inner_;
    int capacity_;
    std::unique_ptr<std::uint8_t[]> block_;
    std::uint8_t* cursor_ = nullptr; // none after construction and after a seek that moves
    std::uint8_t* limit_;
    Direction direction_ = Direction::Idle;
    bool writeFailed_ = false;
    int writeError_ = 0;
};

} // namespace folivane::zip
