// Room for large texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace folivane::platform {

// Reserves room for `size` bytes in `text`. Faulting in tens of MiB 4 KiB at a time costs
// more than reading them (in a virtual machine several times more), so a large reservation
// asks for huge pages; that is a hint, and where they are not to be had nothing changes.
void ReserveLargeBuffer(std::string& text, std::size_t size);

// Faults in the pages of `size` bytes at `data`, about to be written, in one system call
// rather than a fault each: in a virtual machine a fault can cost 10 microseconds, more than
// twice a page's share of the call and its first write together. A hint: on a kernel
// without it (before 5.14), or short of memory, the writes fault the pages in as before.
// Buffers under 256 KiB are left to their writes.
void PrefaultForWriting(void* data, std::size_t size);

// Has buffers of up to 32 MiB taken from the heap, where a freed one is used again, rather
// than each mapped afresh: a conversion makes and drops texts, pages and archives of a few MiB
// one after another, and faulting in each new mapping 4 KiB at a time cost a tenth of the
// time of a 2 MB book. Heaps grow a few MiB at a time, and the first 24 MiB of the program's
// own are advised huge pages. For a program's start; the heap keeps what it was given up to
// about 32 MiB, for the next conversion, rather than handing it back to the system.
void PreferHeapForLargeBuffers();

// Has the calling thread's heap take its next `size` bytes or so in huge pages, as
// PreferHeapForLargeBuffers has the program's: the first threads of a program each get a heap
// of their own, fresh memory faulted in 4 KiB at a time. For a thread's start; nothing under a
// limit of the address space.
void PreferHugePagesForThreadHeap(std::size_t size);

// Zeroed memory in a mapping of its own: pages never written are neither faulted in nor
// cleared, whatever the heap would do with a request of the size (PreferHeapForLargeBuffers
// has the heap clear it all). From 2 MiB on, the memory starts on a 2 MiB boundary and asks
// for huge pages, so that what is written faults in 2 MiB at a time. Raises std::bad_alloc.
class ZeroedPages {
public:
    explicit ZeroedPages(std::size_t size);
    ~ZeroedPages();
    ZeroedPages(const ZeroedPages&) = delete;
    ZeroedPages& operator=(const ZeroedPages&) = delete;

    std::uint8_t* Data() const { return data_; }

private:
    void* mapping_;
    std::size_t mappingSize_;
    std::uint8_t* data_;
};

// True when the process runs under a limit of its address space (ulimit -v).
bool AddressSpaceLimited();

} // namespace folivane::platform
