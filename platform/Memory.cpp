// Huge pages for large buffers, as a hint.
#include "Memory.h"

#include <algorithm>
#include <cstdint>
#include <malloc.h>
#include <new>
#include <sys/mman.h>
#include <sys/resource.h>

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
    // Heaps grow 4 MiB at a time, not a few pages: a conversion's threads grew theirs some
    // five hundred times a book, a system call each. Address space only, untouched until used,
    // but a limit of the address space counts it.
    constexpr int kGrowBy = 4 << 20;
    if (!AddressSpaceLimited()) mallopt(M_TOP_PAD, kGrowBy);
}

ZeroedPages::ZeroedPages(std::size_t size) : size_(std::max<std::size_t>(size, 1)) {
    void* mapped =
        ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    data_ = static_cast<std::uint8_t*>(mapped);
}

ZeroedPages::~ZeroedPages() {
    ::munmap(data_, size_);
}

bool AddressSpaceLimited() {
    rlimit limit{};
    return ::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

} // namespace folivane::platform
