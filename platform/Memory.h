// Room for large texts.
#pragma once

#include <cstddef>
#include <string>

namespace folivane::platform {

// Reserves room for `size` bytes in `text`. Faulting in tens of MiB 4 KiB at a time costs
// more than reading them (in a virtual machine several times more), so a large reservation
// asks for huge pages; that is a hint, and where they are not to be had nothing changes.
void ReserveLargeBuffer(std::string& text, std::size_t size);

} // namespace folivane::platform
