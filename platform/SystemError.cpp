// English errno texts, the sentences of failed file operations, absolute paths for messages.
#include "SystemError.h"

#include <cstring>
#include <unistd.h>
#include <utility>

namespace folivane::platform {

EStreamError::EStreamError(FileOperation operation, std::string path, int cause)
    : std::runtime_error(FileFailureText(operation, path, cause)), operation_(operation),
      path_(std::move(path)), cause_(cause) {}

EStreamError::EStreamError(const std::string& message) : std::runtime_error(message) {}

std::string EStreamError::Reason() const {
    return cause_ == 0 ? std::string() : SystemErrorText(cause_);
}

std::string SystemErrorText(int cause) {
    if (cause == kNotRegularFile) return "Not a regular file";
    // strerror would follow LC_MESSAGES; the command line speaks English whatever the locale,
    // and the window translates the errno itself.
    if (const char* text = ::strerrordesc_np(cause)) return text;
    return "Unknown error " + std::to_string(cause);
}

std::string FileFailureText(FileOperation operation, const std::string& path, int cause) {
    const std::string file = "file \"" + path + "\"";
    std::string sentence;
    switch (operation) {
    case FileOperation::None:
        return path;
    case FileOperation::Open:
        sentence = "Cannot open " + file;
        break;
    case FileOperation::Create:
        sentence = "Cannot create " + file;
        break;
    case FileOperation::Read:
        sentence = "Cannot read " + file;
        break;
    case FileOperation::Write:
        sentence = "Cannot write " + file;
        break;
    case FileOperation::WriteToDisk:
        sentence = "Cannot write " + file + " to disk";
        break;
    case FileOperation::Close:
        sentence = "Cannot close " + file;
        break;
    case FileOperation::Seek:
        sentence = "Cannot seek in " + file;
        break;
    case FileOperation::Resize:
        sentence = "Cannot resize " + file;
        break;
    case FileOperation::ReplaceProtected:
        sentence = "Cannot replace the write-protected " + file;
        break;
    }
    return sentence + ". " + SystemErrorText(cause);
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
