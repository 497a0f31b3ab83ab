// Packing the book: its entries from memory, in the order of a directory search with mimetype
// first, checked when read back.
#include "BookArchive.h"

#include "BookArchiveCheck.h"

#include "engine/epub/BookLayout.h"
#include "engine/text/ConversionError.h"
#include "engine/text/WhiteSpace.h"

#include "platform/SystemError.h"
#include "zip/BytesSource.h"
#include "zip/EntryCompressor.h"
#include "zip/WholeDeflater.h"
#include "zip/ZipErrors.h"
#include "zip/ZipWriter.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace folivane::engine {
namespace {

// Measured over the bench's books: level 4 leaves a 20 MB English novel larger than zip -6's,
// 5 does not; level 6 leaves a 5 MB Chinese one 0.2 % larger, 7 does not.
constexpr int kSingleByteLevel = 5;
constexpr int kMultiByteLevel = 7;

// The settings every book is packed with, and its checks: the output replaced whole, no
// file left out, the archive read back before it takes the output's name.
void SetUpBookWriter(zip::TZipWriter& writer, const std::vector<std::string>& entries,
                     const std::string& outputPath) {
    // The writer takes a blank name for "no archive" and returns without writing one.
    if (IsBlank(outputPath))
        throw ConversionError({.kind = FailureKind::OutputNotNamed, .path = outputPath});
    writer.NoCompressList = {kMimetypeFile};
    writer.SetZipName(outputPath);
    writer.AtomicReplace = true;
    // A file left out would leave the manifest naming a missing file.
    const auto notPacked = [](const std::string& path, const std::string& detail) {
        throw ConversionError(
            {.kind = FailureKind::BookEntryNotPacked, .path = path, .detail = detail});
    };
    writer.OnSkippingFile = [notPacked](const std::string& path, zip::SkipReason,
                                        const std::string& detail) { notPacked(path, detail); };
    writer.OnNoSuchFile = [](const std::string& path) {
        throw ConversionError({.kind = FailureKind::BookEntryGone, .path = path});
    };
    writer.OnHandleMessage = [notPacked](int, const std::string& text, const std::string& caption,
                                         std::uint32_t) -> int {
        notPacked(caption, text);
        return 0;
    };
    // Nothing takes the output's place that readers could not open.
    writer.OnArchiveWritten = [entries, outputPath](zip::TStream& archive) {
        CheckBookArchive(archive, entries, platform::ExpandFileName(outputPath));
    };
}

// The archive writer's failures as the book's: the system's cause when it has one, the
// writer's own words for a fault of its own.
void BuildBook(zip::TZipWriter& writer, const std::string& outputPath) {
    const auto fail = [&outputPath](Failure failure) {
        failure.path = outputPath;
        throw ConversionError(std::move(failure));
    };
    try {
        writer.BuildArchive();
    } catch (const ConversionError&) {
        throw;
    } catch (const std::bad_alloc&) {
        fail({.kind = FailureKind::BookOutOfMemory});
    } catch (const zip::EZipAborted&) {
        throw ConversionCancelled();
    } catch (const zip::EZip64Needed&) {
        fail({.kind = FailureKind::BookNeedsZip64});
    } catch (const zip::ENotEnoughRoom& e) {
        if (e.Cause() != 0) fail({.kind = FailureKind::BookNotWritten, .cause = e.Cause()});
        fail({.kind = FailureKind::BookWriterFault, .detail = e.what()});
    } catch (const platform::EStreamError& e) {
        if (e.Cause() != 0) fail({.kind = FailureKind::BookNotWritten, .cause = e.Cause()});
        fail({.kind = FailureKind::BookWriterFault, .detail = e.what()});
    } catch (const std::exception& e) {
        fail({.kind = FailureKind::BookWriterFault, .detail = e.what()});
    }
}

} // namespace

BookEntries::BookEntries(zip::TZipWriter& writer, std::time_t modified,
                         std::function<void(const FileList& page)> pageWritten)
    : writer_(writer), modified_(modified), pageWritten_(std::move(pageWritten)) {
    // Read as each entry is added: mimetype is kept as it is, never compressed ahead.
    writer_.NoCompressList = {kMimetypeFile};
}

void BookEntries::Add(const std::string& name, std::string_view bytes, const FileList* page) {
    AddMade(name, std::string(bytes), page);
}

void BookEntries::AddMade(const std::string& name, std::string&& bytes, const FileList* page) {
    writer_.AddMemoryEntry(name, std::move(bytes), modified_);
    entries_.push_back(name);
    if (page && pageWritten_) pageWritten_(*page);
}

bool BookEntryBefore(const std::string& a, const std::string& b) {
    const bool aFirst = a == kMimetypeFile;
    const bool bFirst = b == kMimetypeFile;
    if (aFirst || bFirst) return aFirst && !bFirst;
    // Folder by folder: a folder's files come where its name falls among the names beside it.
    std::size_t at = 0;
    while (true) {
        const std::size_t aEnd = std::min(a.find('/', at), a.size());
        const std::size_t bEnd = std::min(b.find('/', at), b.size());
        const std::string_view aName = std::string_view(a).substr(at, aEnd - at);
        const std::string_view bName = std::string_view(b).substr(at, bEnd - at);
        if (aName != bName) return aName < bName;
        if (aEnd == a.size() || bEnd == b.size()) return aEnd == a.size() && bEnd != b.size();
        at = aEnd + 1;
    }
}

std::optional<int> PackLevelAtAGlance(std::string_view sample) {
    const auto multiByte =
        std::ranges::count_if(sample, [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (static_cast<std::size_t>(multiByte) * 2 > sample.size()) return kMultiByteLevel;
    if (sample.size() < kPackLevelSample) return kSingleByteLevel;
    return std::nullopt;
}

int BookPackLevel(std::string_view sample) {
    if (const std::optional<int> level = PackLevelAtAGlance(sample)) return *level;
    // Text with few repeats (lists of words or figures) gains little from the longer search:
    // there libdeflate's fast levels already make less than zlib's level 6, which zip -6 is.
    // The margin covers a book that compresses a little worse than its sample does (over
    // the bench's books a whole book came within 0.5 % of its sample's ratio).
    constexpr std::uint64_t kMarginPercent = 2;
    const std::string_view slice = sample.substr(sample.size() - kPackLevelSlice);
    zip::TBytesSource source{std::string(slice)};
    const std::uint64_t zlibSize =
        zip::DeflateEntry(source, 6, [](const std::uint8_t*, std::size_t) {}).bytesWritten;
    std::vector<std::uint8_t> out;
    for (const int level : {1, 4}) {
        zip::TWholeDeflater deflater(level);
        if (deflater.Deflate(slice, out).bytesWritten * 100 <= zlibSize * (100 - kMarginPercent))
            return level;
    }
    return kSingleByteLevel;
}

void PackBookEntries(zip::TZipWriter& writer, const std::vector<std::string>& entries,
                     const std::string& outputPath) {
    SetUpBookWriter(writer, entries, outputPath);
    std::stable_sort(writer.MemoryEntries.begin(), writer.MemoryEntries.end(),
                     [](const zip::TMemoryEntry& a, const zip::TMemoryEntry& b) {
                         return BookEntryBefore(a.name, b.name);
                     });
    BuildBook(writer, outputPath);
}

} // namespace folivane::engine
