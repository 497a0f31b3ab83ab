// Closing descriptors through the system-call seam.
#include "FileDescriptor.h"

#include "SystemCalls.h"

namespace folivane::platform {

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int FileDescriptor::Close() noexcept {
    if (fd_ < 0) return 0;
    const int fd = std::exchange(fd_, -1);
    // EINTR: Linux has closed the descriptor anyway, and nothing was reported lost.
    return sys::Close(fd) != 0 && errno != EINTR ? errno : 0;
}

} // namespace folivane::platform
