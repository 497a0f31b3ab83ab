// Little-endian field packing for zip records, and a bounds-checked record reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace folivane::zip {

// Appends fields to a record image in little-endian order.
class RecordWriter {
public:
    explicit RecordWriter(std::size_t reserve = 64) { bytes_.reserve(reserve); }

    RecordWriter& U16(std::uint32_t value) {
        Byte(value);
        Byte(value >> 8);
        return *this;
    }
    RecordWriter& U32(std::uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
        return *this;
    }
    RecordWriter& Bytes(std::string_view data) {
        bytes_.append(data);
        return *this;
    }
    const std::string& Image() const { return bytes_; }

private:
    void Byte(std::uint32_t value) { bytes_.push_back(static_cast<char>(value & 0xFF)); }
    std::string bytes_;
};

// Reads fields from a record image. A read past the end yields zeros and makes Ok()
// false for good, so a record is checked once after all its fields were taken.
class RecordReader {
public:
    explicit RecordReader(std::string_view data) : data_(data) {}
    // The reader views its bytes; a temporary string would be gone before the first read.
    explicit RecordReader(std::string&&) = delete;

    std::uint16_t U16() {
        std::uint8_t b[2] = {};
        Take(b, 2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t U32() {
        const std::uint32_t low = U16();
        return low | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::uint64_t U64() {
        const std::uint64_t low = U32();
        return low | (static_cast<std::uint64_t>(U32()) << 32);
    }
    std::string_view Bytes(std::size_t count) {
        if (!ok_ || count > data_.size() - position_) {
            ok_ = false;
            return {};
        }
        const std::string_view result = data_.substr(position_, count);
        position_ += count;
        return result;
    }
    void Skip(std::size_t count) { Bytes(count); }
    bool Ok() const { return ok_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return ok_ ? data_.size() - position_ : 0; }

private:
    void Take(std::uint8_t* out, std::size_t count) {
        const std::string_view bytes = Bytes(count);
        if (ok_) std::memcpy(out, bytes.data(), count);
    }

    std::string_view data_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

} // namespace folivane::zip
