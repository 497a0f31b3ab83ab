// How a file's full path becomes the folder and name stored for its entry.
#pragma once

#include "ZipHeaderInfo.h"

#include <string>
#include <vector>

namespace folivane::zip {

struct StoredNameRules {
    bool storePaths = false;
    bool relativePaths = false;
    bool storeVolumes = false;
    std::vector<std::string> relativeTo; // folders ending with "/", first match is cut
    TOEMConvert oemMode = oemAlways;
};

struct StoredName {
    std::string directory; // "/" between folders, ending with "/" unless empty
    std::string fileName;
};

// The folder part is kept only with storePaths; with relativePaths the first folder of
// `relativeTo` that begins it is cut; without storeVolumes one leading "/" is cut. With
// oemAlways the result goes through the DOS code page and back, so the name is what the
// archive can hold. The relative cut is taken before that conversion, so a root folder
// with characters the code page lacks is still recognised.
StoredName DeriveStoredName(const std::string& fullPath, const StoredNameRules& rules);

// The folder and name of an entry given by its path in the archive ("a/b/c.txt": "a/b/" and
// "c.txt"), through the DOS code page and back with oemAlways as DeriveStoredName does.
StoredName SplitStoredName(const std::string& archivePath, TOEMConvert oemMode);

} // namespace folivane::zip
