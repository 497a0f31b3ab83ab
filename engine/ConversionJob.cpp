// The conversion job: chapter list, documents, archive, clean-up, in that order.
#include "ConversionJob.h"

#include "ChapterList.h"
#include "ContainerSkeleton.h"
#include "ConversionError.h"
#include "Cover.h"
#include "PackageDocuments.h"
#include "Uuid.h"
#include "XmlText.h"

#include "zip/FileSystem.h"
#include "zip/ZipWriter.h"

#include <optional>

namespace folivane::engine {
namespace {

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A blank title would give a nameless book (readers list it so, validators warn): the
// output's name is what the user chose instead, and "myepub" the save dialog's own. Blank
// is judged after escaping, which drops a title of control characters whole.
std::string BookTitle(const BookInput& input) {
    if (!IsBlank(EscapeXmlText(input.title))) return input.title;
    std::string name = zip::ExtractFileName(input.outputPath);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return IsBlank(EscapeXmlText(name)) ? std::string("myepub") : name;
}

} // namespace

void PackWorkingTree(const std::string& bookFolder, const std::string& outputPath) {
    zip::TZipWriter writer;
    PackWorkingTree(bookFolder, outputPath, writer);
}

void PackWorkingTree(const std::string& bookFolder, const std::string& outputPath,
                     zip::TZipWriter& writer) {
    // The writer takes a blank name for "no archive" and returns without writing one.
    if (IsBlank(outputPath))
        throw ConversionError("Cannot write the book \"" + outputPath +
                              "\": no output file is named");
    const std::string mimetype = bookFolder + "mimetype";
    writer.SetRootDir(bookFolder);
    writer.FilesList = {mimetype, "*.*"};
    writer.NoCompressList = {"mimetype"};
    writer.SetRelativePaths(true);
    writer.SetRecurse(true);
    writer.SetStorePaths(true);
    writer.SetZipName(outputPath);
    writer.AtomicReplace = true;
    // The mask finds mimetype a second time; any other file left out would leave the
    // manifest naming a missing file.
    writer.OnSkippingFile = [&](const std::string& path, zip::SkipReason reason,
                                const std::string& detail) {
        if (reason == zip::SkipReason::DuplicateName && path == mimetype) return;
        throw ConversionError("Cannot pack \"" + path + "\" into the book: " + detail);
    };
    writer.OnNoSuchFile = [](const std::string& path) {
        throw ConversionError("Cannot pack \"" + path + "\" into the book: it has disappeared");
    };
    writer.OnHandleMessage = [](int, const std::string& text, const std::string& caption,
                                std::uint32_t) -> int {
        throw ConversionError("Cannot pack \"" + caption + "\" into the book: " + text);
    };
    try {
        writer.BuildArchive();
    } catch (const ConversionError&) {
        throw;
    } catch (const std::exception& e) {
        throw ConversionError("Cannot write the book \"" + outputPath + "\". " + e.what());
    }
}

void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress) {
    progress.ShowProgress();
    int result = 1;
    std::string reason;
    try {
        if (!tree.Valid()) throw ConversionError(tree.Error());
        const TChapterList chapters =
            BuildChapterList(input.sources, tree.PieceFolder(), input.legacyEncoding);
        progress.SetMaximum(static_cast<int>(chapters.size()));
        std::optional<CoverImage> cover;
        if (!input.coverPath.empty()) cover = LoadCover(input.coverPath);
        const std::string book = tree.BookFolder();
        WriteContainerSkeleton(book, cover ? std::optional(cover->extension) : std::nullopt);
        const BookMetadata metadata{BookTitle(input), input.author, input.publisher, NewUuid()};
        WritePackageDocuments(book, metadata, chapters, cover ? &*cover : nullptr,
                              input.legacyEncoding, progress);
        PackWorkingTree(book, input.outputPath);
        result = 0;
    } catch (const std::exception& e) {
        reason = e.what();
    } catch (...) {
        reason = "Unexpected failure";
    }
    tree.Remove();
    progress.CloseRequest();
    progress.Result(result, reason);
}

} // namespace folivane::engine
