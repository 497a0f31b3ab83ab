// The system's temporary folder and uniquely named folders in it.
#pragma once

#include <string>

namespace folivane::platform {

// $TMPDIR, else /tmp, ending with "/".
std::string SystemTempFolder();

// Makes a new folder (mode 0700) named by `pattern`, whose last six characters are "XXXXXX"
// and are replaced to make the name unique. 0, or the errno of the failure.
[[nodiscard]] int MakeUniqueFolder(std::string& pattern);

} // namespace folivane::platform
