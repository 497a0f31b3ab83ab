// Buffered stream: one block, three directions, logical position = inner + buffered offset.
#include "BufferStream.h"

#include "FileStream.h"
#include "ZipErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace folivane::zip {

TS_BufferStream::TS_BufferStream(TStream& inner, int capacity)
    : inner_(inner), capacity_(std::max(capacity, 1)),
      block_(std::make_unique<std::uint8_t[]>(static_cast<size_t>(capacity_))),
      limit_(block_.get() + capacity_) {}

TS_BufferStream::~TS_BufferStream() {
    try {
        if (direction_ == Direction::Writing) FlushBuffer();
        if (FlushOnFree && EverWritten)
            if (auto* file = dynamic_cast<TFileStream*>(&inner_)) file->Sync();
    } catch (...) {
        // Nothing can be reported from here; Flush() is the reporting path.
    }
}

int TS_BufferStream::LastWriteError() const {
    return writeError_ ? writeError_ : inner_.LastWriteError();
}

std::int64_t TS_BufferStream::BufferedOffset() const {
    switch (direction_) {
    case Direction::Reading:
        return cursor_ - limit_;
    case Direction::Writing:
        return cursor_ - block_.get();
    default:
        return 0;
    }
}

bool TS_BufferStream::FillBuffer() {
    const std::int64_t n = inner_.Read(block_.get(), capacity_);
    cursor_ = block_.get();
    limit_ = block_.get() + n;
    direction_ = n > 0 ? Direction::Reading : Direction::Idle;
    DoFillBuffer();
    return n > 0;
}

bool TS_BufferStream::FlushBuffer() {
    const std::int64_t k = cursor_ ? cursor_ - block_.get() : 0;
    const std::int64_t w = k > 0 ? inner_.Write(block_.get(), k) : 0;
    cursor_ = block_.get();
    direction_ = Direction::Idle;
    if (w != k && !writeFailed_) {
        writeFailed_ = true;
        writeError_ = inner_.LastWriteError() ? inner_.LastWriteError() : ENOSPC;
    }
    DoFlushBuffer();
    return w == k;
}

void TS_BufferStream::DoFillBuffer() {
    if (FillHook) FillHook(*this);
}

void TS_BufferStream::DoFlushBuffer() {
    if (FlushHook) FlushHook(*this);
}

std::int64_t TS_BufferStream::Read(void* buffer, std::int64_t count) {
    if (direction_ != Direction::Reading) {
        if (direction_ == Direction::Writing) FlushBuffer();
        cursor_ = limit_;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t total = 0;
    while (count > 0) {
        if (cursor_ == limit_ && !FillBuffer()) break;
        const std::int64_t m = std::min<std::int64_t>(limit_ - cursor_, count);
        std::memcpy(out, cursor_, static_cast<size_t>(m));
        cursor_ += m;
        out += m;
        total += m;
        count -= m;
    }
    return total;
}

std::int64_t TS_BufferStream::Write(const void* buffer, std::int64_t count) {
    if (direction_ != Direction::Writing) {
        if (direction_ == Direction::Reading)
            inner_.Seek(inner_.Position() + BufferedOffset(), soBeginning);
        cursor_ = block_.get();
        limit_ = block_.get() + capacity_;
        direction_ = Direction::Idle;
    }
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::int64_t total = 0;
    while (count > 0) {
        const std::int64_t m = std::min<std::int64_t>(limit_ - cursor_, count);
        std::memcpy(cursor_, in, static_cast<size_t>(m));
        cursor_ += m;
        in += m;
        total += m;
        count -= m;
        if (cursor_ == limit_ && !FlushBuffer()) break;
    }
    if (cursor_ != block_.get()) direction_ = Direction::Writing;
    EverWritten = true;
    return total;
}

std::int64_t TS_BufferStream::Seek(std::int64_t offset, int origin) {
    const std::int64_t current = inner_.Position() + BufferedOffset();
    std::int64_t target = 0;
    switch (origin) {
    case soBeginning:
        target = offset;
        break;
    case soCurrent:
        target = current + offset;
        break;
    case soEnd:
        target = std::max(current, inner_.Size()) - std::abs(offset);
        break;
    default:
        throw EStreamError("Invalid seek origin (" + std::to_string(origin) + ")");
    }
    if (target != current) {
        if (direction_ == Direction::Writing && !FlushBuffer())
            throw EWriteError(Describe(), writeError_);
        inner_.Seek(target, soBeginning);
        cursor_ = nullptr;
        direction_ = Direction::Idle;
    }
    return target;
}

void TS_BufferStream::PutBack(std::uint8_t byte) {
    if (!cursor_ || cursor_ == block_.get()) throw EStreamError("Putback overflow");
    *--cursor_ = byte;
}

void TS_BufferStream::Flush() {
    if (direction_ == Direction::Writing) FlushBuffer();
    if (writeFailed_) throw EWriteError(Describe(), writeError_);
}

} // namespace folivane::zip
