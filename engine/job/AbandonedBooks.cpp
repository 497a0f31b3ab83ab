// Hidden books of killed conversions, told from the user's files by name, lock and content.
#include "AbandonedBooks.h"

#include "engine/epub/BookLayout.h"

#include "platform/RegularFile.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemError.h"

#include <ctime>

namespace folivane::engine {
namespace {

// A replacement too short to tell is younger than this only while its conversion is still starting.
constexpr std::time_t kEmptyGraceSeconds = 60;

// Every book begins with its "mimetype" entry, stored: a local header (the zip format's
// signature, then fields up to the name's length at offset 26 and the extra field's, none,
// at 28), the name, then the media type itself.
constexpr std::size_t kNameLengthOffset = 26;

bool BeginsAsABook(const platform::FileDescriptor& file, const platform::FileStatus& status) {
    const std::string name = kMimetypeFile;
    std::string expected = std::string("PK\x03\x04") + std::string(kNameLengthOffset, '\0') + name +
                           std::string(kMimetype);
    expected[kNameLengthOffset] = static_cast<char>(name.size());
    // Too short to tell: a conversion just begun, or one killed before its first entry was
    // written, which must not stay for ever.
    if (status.size < static_cast<std::int64_t>(expected.size()))
        return std::time(nullptr) - status.modified > kEmptyGraceSeconds;
    std::string head(expected.size(), '\0');
    try {
        if (platform::ReadUpTo(file, head.data(), head.size(), "") != head.size()) return false;
    } catch (const platform::EStreamError&) {
        return false;
    }
    // The fields between the signature and the name's length (version, time, sizes) vary.
    return head.compare(0, 4, expected, 0, 4) == 0 &&
           head.compare(kNameLengthOffset, std::string::npos, expected, kNameLengthOffset) == 0;
}

} // namespace

int RemoveAbandonedBooks(const std::string& outputPath) {
    try {
        return platform::RemoveAbandonedReplacements(outputPath, BeginsAsABook);
    } catch (const std::exception&) {
        return 0; // what is left stays for the next conversion; this one goes on
    }
}

} // namespace folivane::engine
