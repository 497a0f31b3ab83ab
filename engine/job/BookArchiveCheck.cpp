// Directory and first local header of the written book, compared with what it must hold.
#include "BookArchiveCheck.h"

#include "engine/epub/BookLayout.h"
#include "engine/text/ConversionError.h"

#include "zip/BufferStream.h"
#include "zip/Bytes.h"
#include "zip/EndCentral.h"
#include "zip/ZipHeaderInfo.h"

#include <algorithm>
#include <cstring>

namespace folivane::engine {
namespace {

[[noreturn]] void Fail(const std::string& bookPath, const std::string& what) {
    throw ConversionError(
        {.kind = FailureKind::BookNotAsPlanned, .path = bookPath, .detail = what});
}

} // namespace

void CheckBookArchive(zip::TStream& archive, const std::vector<std::string>& entries,
                      const std::string& bookPath) {
    zip::TEndCentral end;
    if (!end.FindEndRecord(archive)) Fail(bookPath, "no end of central directory");
    // Read through a buffer: a header costs no system call of its own.
    zip::TS_BufferStream directory(archive, 64 << 10);
    directory.SetPosition(end.CentralOffset);
    std::vector<std::string> names;
    for (unsigned i = 0; i < end.TotalEntries; ++i) {
        zip::TZipHeaderInfo header;
        header.OemMode = zip::oemNever;
        if (!header.ReadCentralHeader(directory)) Fail(bookPath, "a damaged central directory");
        directory.SetPosition(directory.Position() + header.CentralExtraLength +
                              header.CommentLength);
        if (i == 0 && (header.StoredName() != "mimetype" || header.Method != zip::kMethodStored ||
                       header.LocalHeaderOffset != 0))
            Fail(bookPath, "mimetype is not its first, stored entry");
        names.push_back(header.StoredName());
    }
    std::vector<std::string> wanted = entries;
    std::sort(wanted.begin(), wanted.end());
    std::vector<std::string> found = names;
    std::sort(found.begin(), found.end());
    if (found != wanted)
        Fail(bookPath, std::to_string(found.size()) + " entries where " +
                           std::to_string(wanted.size()) + " were expected");

    // Readers find the media type at a fixed place: right after a local header whose name is
    // "mimetype" and which has no extra field.
    const std::string mimetype(kMimetype);
    std::string head(zip::kLocalHeaderSize + 8 + mimetype.size(), '\0');
    archive.SetPosition(0);
    if (archive.Read(head.data(), static_cast<std::int64_t>(head.size())) !=
        static_cast<std::int64_t>(head.size()))
        Fail(bookPath, "too short");
    zip::RecordReader local(head);
    const std::uint32_t signature = local.U32();
    local.Skip(4);
    const std::uint16_t method = local.U16();
    local.Skip(16);
    const std::uint16_t nameLength = local.U16();
    const std::uint16_t extraLength = local.U16();
    if (signature != zip::kLocalHeaderSignature || method != zip::kMethodStored ||
        nameLength != 8 || extraLength != 0 ||
        head.compare(zip::kLocalHeaderSize, 8, "mimetype") != 0 ||
        head.compare(zip::kLocalHeaderSize + 8, mimetype.size(), mimetype) != 0)
        Fail(bookPath, "mimetype is not its first, stored entry");
}

} // namespace folivane::engine
