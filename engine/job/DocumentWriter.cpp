// Writing a working file in one piece, with every failure reported in words the user knows.
#include "DocumentWriter.h"

#include "engine/text/ConversionError.h"

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

namespace folivane::engine {

void WriteWorkingFile(const std::string& jobFolder, const std::string& path, std::string_view bytes,
                      Failure what) {
    try {
        platform::WriteNewFile(path, bytes);
    } catch (const platform::EStreamError& error) {
        // Two levels up: the job's folder, then the temporary folder it was made in.
        std::string temp = jobFolder;
        for (int level = 0; level < 2; ++level) {
            while (!temp.empty() && temp.back() == '/')
                temp.pop_back();
            const std::size_t slash = temp.rfind('/');
            temp.erase(slash == std::string::npos ? 0 : slash + 1);
        }
        if (error.Cause() == 0) throw ConversionError(FileFailure(error));
        what.otherPath = temp;
        what.cause = error.Cause();
        throw ConversionError(std::move(what));
    }
}

} // namespace folivane::engine
