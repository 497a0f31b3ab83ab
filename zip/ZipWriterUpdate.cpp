// The update path: old entries carried over as raw bytes or replaced by newer files.
#include "ZipWriter.h"

#include "ArchiveOutput.h"
#include "Bytes.h"
#include "DosDateTime.h"
#include "ZipErrors.h"
#include "ZipWriterRun.h"

#include <algorithm>
#include <unordered_map>

namespace folivane::zip {
namespace {

constexpr std::size_t kCopyPiece = 16384;

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Reads `count` bytes at `position` of the old archive, or raises EBadZipFile when the
// file ends first.
std::string ReadOld(TStream& archive, std::uint64_t position, std::size_t count) {
    std::string bytes(count, '\0');
    archive.SetPosition(static_cast<std::int64_t>(position));
    if (archive.Read(bytes.data(), static_cast<std::int64_t>(count)) !=
        static_cast<std::int64_t>(count))
        throw EBadZipFile();
    return bytes;
}

// The comment of an old entry, read from its central header.
std::string ReadEntryComment(TStream& archive, const TZipHeaderInfo& header) {
    // The reader only views the bytes: they must outlive it.
    const std::string image = ReadOld(archive, header.CentralHeaderPosition, 46);
    RecordReader fixed(image);
    fixed.Skip(28);
    const std::uint16_t nameLength = fixed.U16();
    const std::uint16_t extraLength = fixed.U16();
    const std::uint16_t commentLength = fixed.U16();
    return ReadOld(archive, header.CentralHeaderPosition + 46 + nameLength + extraLength,
                   commentLength);
}

} // namespace

void TZipWriter::MergeExistingEntries(Run& run) {
    TLFNFileStream& archive = *ArchiveStream();
    // Keep the archive's comment; a comment known only by its length is read now.
    TEndCentral& end = currentEndRecord_;
    if (end.CommentLength != 0 && !end.ArchiveComment()) {
        const auto available = static_cast<std::uint64_t>(archive.Size()) - end.CommentPosition;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(end.CommentLength, available));
        end.SetArchiveComment(ReadOld(archive, end.CommentPosition, length));
        end.Modified = false;
    }
    run.newEnd.Assign(end);
    run.newEnd.EntriesThisDisk = 0;
    run.newEnd.TotalEntries = 0;
    run.newEnd.Modified = false;

    // Each line's stored name, the way AddFileEntry would name it, lower-cased.
    const StoredNameRules rules = NameRules();
    std::unordered_map<std::string, std::size_t> lineByName;
    for (std::size_t i = FilesList.size(); i-- > 0;) {
        const StoredName name = DeriveStoredName(FilesList[i], rules);
        lineByName[LowerAscii(name.directory + name.fileName)] = i; // the first line wins
    }
    std::vector<bool> consumed(FilesList.size(), false);

    const std::vector<HeaderPtr> oldEntries(archiveDirectory_->begin(), archiveDirectory_->end());
    for (const HeaderPtr& old : oldEntries) {
        CheckPoint();
        auto header = std::make_shared<TZipHeaderInfo>();
        header->OemMode = old->OemMode; // the name goes back in the encoding it came in
        header->Assign(*old);
        if (header->CommentLength != 0 && !header->FileComment())
            header->SetFileComment(ReadEntryComment(archive, *header));

        const auto line = lineByName.find(LowerAscii(header->StoredName()));
        if (line != lineByName.end() && !consumed[line->second]) {
            const std::string& path = FilesList[line->second];
            consumed[line->second] = true;
            bool replace = ZipAction == zaReplace;
            if (!replace) {
                const std::int64_t entryTime =
                    DosDateTimeKey(header->FileDateTime).value_or(CurrentDosDateTimeKey());
                const std::int64_t fileTime =
                    DosDateTimeKey(FileDosDateTime(path)).value_or(CurrentDosDateTimeKey());
                replace = entryTime < fileTime;
            }
            // A file that cannot be read leaves the old entry in place rather than losing it.
            if (replace && AddFileEntry(run, path)) continue;
        }
        CopyKeptEntry(run, *header);
        std::size_t index = 0;
        if (!run.nameIndex.Find(*header, index)) run.nameIndex.Add(header);
        AcceptEntry(run, header, false);
    }

    std::vector<std::string> remaining;
    for (std::size_t i = 0; i < FilesList.size(); ++i)
        if (!consumed[i]) remaining.push_back(std::move(FilesList[i]));
    FilesList = std::move(remaining);
}

void TZipWriter::CopyKeptEntry(Run& run, TZipHeaderInfo& header) {
    TLFNFileStream& archive = *ArchiveStream();
    const std::string image = ReadOld(archive, header.LocalHeaderOffset, kLocalHeaderSize);
    RecordReader local(image);
    if (local.U32() != kLocalHeaderSignature) throw EBadZipFile();
    local.Skip(22);
    const std::uint16_t nameLength = local.U16();
    const std::uint16_t extraLength = local.U16();
    const std::uint64_t dataStart = header.LocalHeaderOffset + kLocalHeaderSize + nameLength;
    const std::uint64_t toCopy = std::uint64_t{extraLength} + header.CompressedSize;
    if (dataStart + toCopy > currentEndRecord_.CentralOffset) throw EBadZipFile();
    header.LocalExtraLength = extraLength;
    header.Flags &= static_cast<std::uint16_t>(~0x0008u); // the data descriptor stays behind
    if (run.entryList->Count() >= 0xFFFE)
        throw EZipException("Cannot keep \"" + header.StoredName() +
                            "\": archives of 65,535 entries or more need Zip64, which is not "
                            "supported");
    header.SaveLocalHeader(*run.output);
    archive.SetPosition(static_cast<std::int64_t>(dataStart));
    std::vector<char> piece(kCopyPiece);
    for (std::uint64_t left = toCopy; left > 0;) {
        const auto n = static_cast<std::int64_t>(std::min<std::uint64_t>(left, kCopyPiece));
        if (archive.Read(piece.data(), n) != n) throw EBadZipFile();
        WriteArchiveBytes(*run.output, piece.data(), n);
        left -= static_cast<std::uint64_t>(n);
    }
}

} // namespace folivane::zip
