// Huge pages for large buffers, as a hint.
#include "Memory.h"

#include <cstdint>
#include <malloc.h>
#include <sys/mman.h>

namespace folivane::platform {
namespace {

// Buffers this large ask for 2 MiB pages.
constexpr std::size_t kHugePageBuffer = 4 << 20;
constexpr std::uintptr_t kHugePage = 2u << 20;

} // namespace

void ReserveLargeBuffer(std::string& text, std::size_t size) {
    text.reserve(size);
    if (size < kHugePageBuffer) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(text.data());
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

void PreferHeapForLargeBuffers() {
    constexpr int kMapFrom = 32 << 20; // glibc's largest
    mallopt(M_MMAP_THRESHOLD, kMapFrom);
}

} // namespace folivane::platform
