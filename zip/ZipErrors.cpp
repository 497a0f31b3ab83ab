// Texts shared by the writer's exceptions.
#include "ZipErrors.h"

#include <cstring>

namespace folivane::zip {

std::string SystemErrorText(int error) {
    char buffer[256];
    // GNU strerror_r may return a static string instead of filling the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

} // namespace folivane::zip
