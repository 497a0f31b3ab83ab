// errno texts and absolute paths for messages.
#include "SystemError.h"

#include <cstring>
#include <unistd.h>

namespace folivane::platform {

std::string SystemErrorText(int error) {
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

std::string ExpandFileName(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd)) return path;
    std::string result = cwd;
    if (result.back() != '/') result += '/';
    return result + path;
}

} // namespace folivane::platform
