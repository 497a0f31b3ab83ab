// Names and sizes of source files.
#include "SourceFiles.h"

#include "AsciiText.h"

#include "platform/RegularFile.h"

#include <cstdint>
#include <optional>

namespace folivane::engine {

bool IsTextFileName(std::string_view path) {
    return EndsWithIgnoringAsciiCase(path, ".txt");
}

double GetFileSizeKB(const std::string& path) {
    const std::optional<std::int64_t> size = platform::RegularFileSize(path);
    return size ? static_cast<double>(*size) / 1024.0 : 0;
}

std::string GetFileNameFromPath(const std::string& path, bool wholeName) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (wholeName) return name;
    if (name.size() < 5) return std::string();
    name.resize(name.size() - 4);
    return name;
}

} // namespace folivane::engine
