// Spare descriptors: one path-only open of "/" and copies of it.
#include "DescriptorReserve.h"

#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>

namespace folivane::platform {

int DescriptorReserve::Take(std::size_t count) {
    Release();
    for (std::size_t i = 0; i < count; ++i) {
        FileDescriptor fd(held_.empty() ? sys::Open("/", O_PATH | O_CLOEXEC)
                                        : sys::Duplicate(held_.front().Get()));
        if (!fd.Valid()) {
            const int error = errno;
            Release();
            return error;
        }
        held_.push_back(std::move(fd));
    }
    return 0;
}

} // namespace folivane::platform
