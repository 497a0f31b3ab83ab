// Faulting buffers in ahead of their writes leaves what they hold as it was.
#include "platform/Memory.h"

#include <gtest/gtest.h>
#include <string>

namespace folivane::platform {
namespace {

TEST(PrefaultForWriting, KeepsEveryByteAroundAndWithin) {
    // The pages faulted in reach past the bytes named, into what lies beside them.
    constexpr std::size_t kLarge = 256u << 10; // the least that is faulted in at once
    const struct Row {
        std::size_t offset;
        std::size_t size;
    } rows[] = {{4095, kLarge - 1}, {0, kLarge}, {1, kLarge}, {4097, 3 * kLarge + 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.offset << " + " << row.size);
        std::string buffer(row.offset + row.size + 8192, '\0');
        for (std::size_t i = 0; i < buffer.size(); ++i)
            buffer[i] = static_cast<char>('a' + i % 23);
        const std::string before = buffer;
        PrefaultForWriting(buffer.data() + row.offset, row.size);
        EXPECT_TRUE(buffer == before);
    }
}

// Memory that starts zeroed, every byte of it writable; from 2 MiB on it starts where a huge
// page can hold it.
TEST(ZeroedPages, ZeroedWritableAndLargeOnesOnAHugePageBoundary) {
    constexpr std::size_t kHuge = 2u << 20;
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{4096}, kHuge - 1, kHuge, 2 * kHuge + 4097}) {
        SCOPED_TRACE(size);
        const ZeroedPages pages(size);
        std::uint8_t* data = pages.Data();
        EXPECT_EQ(data[0] | data[size / 2] | data[size - 1], 0);
        data[0] = data[size - 1] = 0xA5;
        EXPECT_EQ(data[size - 1], 0xA5);
        if (size >= kHuge) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % kHuge, 0u);
        }
    }
}

} // namespace
} // namespace folivane::platform
