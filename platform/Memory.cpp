// Huge pages for large buffers, as a hint.
#include "Memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <sys/mman.h>
#include <sys/resource.h>

namespace folivane::platform {
namespace {

// Buffers this large ask for 2 MiB pages.
constexpr std::size_t kHugePageBuffer = 4 << 20;
constexpr std::uintptr_t kHugePage = 2u << 20;
// How much a heap grows by at a time.
constexpr std::size_t kGrowBy = 4 << 20;
// The heap's first MiBs, where a conversion's texts, pages and archive come and go, are
// faulted in 2 MiB at a time rather than 4 KiB: in a virtual machine that took a ninth to a
// sixth off the time of a 2 MB book, and the kernel gives 4 KiB pages where huge ones are not
// to be had. Address space until used; once used it stays with the process, which then needs
// it.
constexpr std::size_t kHugeHeap = 24 << 20;
// Buffers this large are faulted in at once; smaller ones fault in only a few pages.
constexpr std::size_t kPrefaultFrom = 256u << 10;
constexpr std::uintptr_t kPage = 4096;

// Advises huge pages for the whole 2 MiB pages within `size` bytes at `begin`.
void AdviseHugePages(std::uintptr_t begin, std::size_t size) {
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// Has the calling thread's heap take `size` bytes and give them back at once, advised huge
// pages: the heap keeps them (under the trim threshold), and the advice with them.
void AdviseHeapRoom(std::size_t size) {
    if (void* room = std::malloc(size)) {
        AdviseHugePages(reinterpret_cast<std::uintptr_t>(room), size);
        std::free(room);
    }
}

} // namespace

void ReserveLargeBuffer(std::string& text, std::size_t size) {
    text.reserve(size);
    if (size >= kHugePageBuffer)
        AdviseHugePages(reinterpret_cast<std::uintptr_t>(text.data()), size);
}

void PrefaultForWriting(void* data, std::size_t size) {
    if (size < kPrefaultFrom) return;
    // The whole pages the bytes touch: all of them lie in the mapping that holds the bytes.
    const auto from = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = from & ~(kPage - 1);
    const std::uintptr_t end = (from + size + kPage - 1) & ~(kPage - 1);
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

void PreferHeapForLargeBuffers() {
    constexpr int kMapFrom = 32 << 20; // glibc's largest
    mallopt(M_MMAP_THRESHOLD, kMapFrom);
    // A limit of the address space counts what follows, though none of it is used yet.
    if (AddressSpaceLimited()) return;
    // Heaps grow 4 MiB at a time, not a few pages: a conversion's threads grew theirs some
    // five hundred times a book, a system call each.
    mallopt(M_TOP_PAD, kGrowBy);
    // The heap keeps the huge room under this threshold.
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHugeHeap + 2 * kGrowBy));
    AdviseHeapRoom(kHugeHeap);
}

void PreferHugePagesForThreadHeap(std::size_t size) {
    if (!AddressSpaceLimited()) AdviseHeapRoom(size);
}

ZeroedPages::ZeroedPages(std::size_t size) {
    const std::size_t wanted = std::max<std::size_t>(size, 1);
    const bool huge = wanted >= kHugePage;
    // Whole huge pages, and room to start them on a 2 MiB boundary: address space only.
    const std::size_t hugePages = (wanted + kHugePage - 1) & ~(kHugePage - 1);
    mappingSize_ = huge ? hugePages + kHugePage : wanted;
    mapping_ =
        ::mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) throw std::bad_alloc();
    auto begin = reinterpret_cast<std::uintptr_t>(mapping_);
    if (huge) {
        begin = (begin + kHugePage - 1) & ~(kHugePage - 1);
        AdviseHugePages(begin, hugePages);
    }
    data_ = reinterpret_cast<std::uint8_t*>(begin);
}

ZeroedPages::~ZeroedPages() {
    ::munmap(mapping_, mappingSize_);
}

bool AddressSpaceLimited() {
    rlimit limit{};
    return ::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

} // namespace folivane::platform
