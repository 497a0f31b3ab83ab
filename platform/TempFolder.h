// The system's temporary folder and uniquely named folders in it.
#pragma once

#include <string>

namespace folivane::platform {

// $TMPDIR, else /tmp, ending with "/".
std::string SystemTempFolder();

// Makes a new folder named by `pattern`, whose last six characters are "XXXXXX" and are
// replaced to make the name unique, as mkdtemp does; unlike mkdtemp's, the folder has `mode`
// (less the umask) from the moment it exists. 0, or the errno of the failure.
[[nodiscard]] int MakeUniqueFolder(std::string& pattern, unsigned mode = 0700);

// `count` letters and digits picked at random, as mkstemp fills in its "XXXXXX".
std::string UniqueLetters(std::size_t count);

} // namespace folivane::platform
