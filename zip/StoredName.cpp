// Stored-name derivation from a full path.
#include "StoredName.h"

#include "FileSystem.h"
#include "OemCodePage.h"

namespace folivane::zip {

StoredName DeriveStoredName(const std::string& fullPath, const StoredNameRules& rules) {
    StoredName result;
    result.fileName = ExtractFileName(fullPath);
    if (rules.storePaths) {
        std::string folder = ExtractFilePath(fullPath);
        while (folder.size() > 1 && folder[folder.size() - 2] == '/')
            folder.pop_back(); // exactly one separator at the end
        if (rules.relativePaths) {
            for (const std::string& root : rules.relativeTo) {
                if (!root.empty() && folder.compare(0, root.size(), root) == 0) {
                    folder.erase(0, root.size());
                    break;
                }
            }
        }
        // "./" only says "the working folder", which the archive has no use for.
        if (folder.rfind("./", 0) == 0) folder.erase(0, 2);
        if (!rules.storeVolumes && !folder.empty() && folder.front() == '/') folder.erase(0, 1);
        result.directory = std::move(folder);
    }
    if (rules.oemMode == oemAlways) {
        const OemCodePage& oem = OemCodePage::System();
        result.directory = oem.RoundTrip(result.directory);
        result.fileName = oem.RoundTrip(result.fileName);
    }
    return result;
}

StoredName SplitStoredName(const std::string& archivePath, TOEMConvert oemMode) {
    StoredName result;
    const std::size_t slash = archivePath.rfind('/');
    if (slash == std::string::npos) {
        result.fileName = archivePath;
    } else {
        result.directory = archivePath.substr(0, slash + 1);
        result.fileName = archivePath.substr(slash + 1);
    }
    if (oemMode == oemAlways) {
        const OemCodePage& oem = OemCodePage::System();
        result.directory = oem.RoundTrip(result.directory);
        result.fileName = oem.RoundTrip(result.fileName);
    }
    return result;
}

} // namespace folivane::zip
