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

} // namespace
} // namespace folivane::platform
