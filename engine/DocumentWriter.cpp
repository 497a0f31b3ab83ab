// Writing a document in one piece, with every failure reported.
#include "DocumentWriter.h"

#include "ConversionError.h"
#include "zip/FileStream.h"
#include "zip/ZipErrors.h"

#include <cerrno>
#include <cstdint>

namespace folivane::engine {

void WriteDocument(const std::string& path, std::string_view bytes) {
    try {
        zip::TFileStream file(path, zip::fmCreate);
        const auto size = static_cast<std::int64_t>(bytes.size());
        if (file.Write(bytes.data(), size) != size) {
            // A full disk or the file-size limit (EFBIG) would otherwise leave a short
            // page that no reader reports.
            const int error = file.LastWriteError() != 0 ? file.LastWriteError() : EIO;
            throw ConversionError("Cannot write file \"" + zip::ExpandFileName(path) + "\". " +
                                  zip::SystemErrorText(error));
        }
        file.Close(); // a deferred write error shows only here
    } catch (const zip::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

} // namespace folivane::engine
