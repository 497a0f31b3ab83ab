// Descriptors held back for a clean-up that must not lack them.
#pragma once

#include "FileDescriptor.h"

#include <cstddef>
#include <vector>

namespace folivane::platform {

// A few descriptors taken while the process still has some and given back just before a
// clean-up, so that the clean-up has them even when the work ran out (ulimit -n). They
// refer to no file of the user's (the root folder, opened only as a path). Move-only.
class DescriptorReserve {
public:
    // Holds `count` descriptors more: 0, or the errno when they cannot be had, and then
    // none is held.
    [[nodiscard]] int Take(std::size_t count);
    // Gives them back.
    void Release() { held_.clear(); }

private:
    std::vector<FileDescriptor> held_;
};

} // namespace folivane::platform
