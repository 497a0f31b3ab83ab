// $TMPDIR and mkdtemp.
#include "TempFolder.h"

#include "SystemCalls.h"

#include <cstdlib>

namespace folivane::platform {

std::string SystemTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

int MakeUniqueFolder(std::string& pattern) {
    return sys::MakeTempFolder(pattern) ? 0 : errno;
}

} // namespace folivane::platform
