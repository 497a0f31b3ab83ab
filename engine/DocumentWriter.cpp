// Writing a document in one piece, with every failure reported.
#include "DocumentWriter.h"

#include "ConversionError.h"

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

namespace folivane::engine {

void WriteDocument(const std::string& path, std::string_view bytes) {
    try {
        platform::WriteNewFile(path, bytes);
    } catch (const platform::EStreamError& error) {
        throw ConversionError(error.what());
    }
}

} // namespace folivane::engine
