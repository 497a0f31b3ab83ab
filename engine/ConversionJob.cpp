// The conversion job: chapter list, documents, archive, clean-up, in that order.
#include "ConversionJob.h"

#include "ChapterList.h"
#include "ContainerSkeleton.h"
#include "ConversionError.h"
#include "Cover.h"
#include "HeadingRules.h"
#include "Language.h"
#include "LanguageTag.h"
#include "OutputCheck.h"
#include "PackageDocuments.h"
#include "UtcTime.h"
#include "Uuid.h"
#include "XmlText.h"

#include "BookArchiveCheck.h"

#include "platform/FileStatus.h"
#include "platform/FolderTree.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "zip/EntryPrecompressor.h"
#include "zip/FileSystem.h"
#include "zip/ZipWriter.h"

#include <algorithm>
#include <optional>
#include <vector>

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

// The books' deflate level: zip's and zlib's usual 6.
constexpr int kPackLevel = 6;

// The heading rules the book asks for: none for one chapter per file, the user's patterns,
// or the built-in rules. Raises ConversionError for a pattern that does not compile.
std::optional<HeadingRules> RulesFor(const BookInput& input) {
    if (input.chapters == ChapterMode::Files) return std::nullopt;
    try {
        if (!input.chapterPattern.empty() || !input.volumePattern.empty())
            return HeadingRules::Custom(input.chapterPattern, input.volumePattern,
                                        input.maxHeadingLength);
        return HeadingRules::BuiltIn(input.maxHeadingLength);
    } catch (const HeadingPatternError& error) {
        throw ConversionError(error.what());
    }
}

// The language the user named, or the one the text is written in.
std::string BookLanguage(const BookInput& input, const std::string& sample) {
    if (input.language.empty()) return DetectLanguage(sample, LocaleOfProcess());
    if (const std::optional<std::string> tag = NormalizeLanguageTag(input.language)) return *tag;
    throw ConversionError(LanguageTagProblem(input.language));
}

// Every file under the book folder, depth first in name order, as a directory search would
// hand them out.
void ListFiles(const std::string& folder, std::vector<std::string>& files) {
    std::optional<std::vector<platform::FolderEntry>> entries = platform::FolderEntries(folder);
    if (!entries) throw ConversionError("Cannot read the book folder \"" + folder + "\"");
    std::sort(entries->begin(), entries->end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const platform::FolderEntry& entry : *entries) {
        if (entry.folder)
            ListFiles(folder + entry.name + "/", files);
        else
            files.push_back(folder + entry.name);
    }
}

std::vector<std::string> BookFolderFiles(const std::string& bookFolder) {
    std::vector<std::string> files;
    ListFiles(bookFolder, files);
    return files;
}

// What the container and the package name: mimetype, the container file, the package file
// and every item of its manifest.
std::vector<std::string> ManifestEntries(const std::string& bookFolder) {
    std::string opf;
    try {
        opf = platform::ReadWholeFile(bookFolder + "OEBPS/content.opf");
    } catch (const std::exception& e) {
        throw ConversionError(std::string("Cannot read the book's package file. ") + e.what());
    }
    std::vector<std::string> entries = {"mimetype", "META-INF/container.xml", "OEBPS/content.opf"};
    const std::size_t manifest = opf.find("<manifest>");
    const std::size_t manifestEnd = opf.find("</manifest>");
    for (std::size_t at = opf.find("<item ", manifest); at < manifestEnd;
         at = opf.find("<item ", at + 1)) {
        const std::size_t href = opf.find(" href=\"", at);
        const std::size_t start = href + 7;
        const std::size_t end = opf.find('"', start);
        if (href == std::string::npos || end == std::string::npos) break;
        entries.push_back("OEBPS/" + opf.substr(start, end - start));
    }
    return entries;
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
    // The files by their own paths: a temporary folder may be named with "*", "?", "<", ">"
    // or "|", which would make masks of them.
    writer.LiteralPaths = true;
    // mimetype first, and once: readers find it at the archive's start.
    writer.FilesList = BookFolderFiles(bookFolder);
    std::erase(writer.FilesList, mimetype);
    writer.FilesList.insert(writer.FilesList.begin(), mimetype);
    writer.NoCompressList = {"mimetype"};
    writer.SetRelativePaths(true);
    writer.SetRecurse(true);
    writer.SetStorePaths(true);
    writer.SetZipName(outputPath);
    writer.AtomicReplace = true;
    // A file left out would leave the manifest naming a missing file.
    writer.OnSkippingFile = [](const std::string& path, zip::SkipReason,
                               const std::string& detail) {
        throw ConversionError("Cannot pack \"" + path + "\" into the book: " + detail);
    };
    writer.OnNoSuchFile = [](const std::string& path) {
        throw ConversionError("Cannot pack \"" + path + "\" into the book: it has disappeared");
    };
    writer.OnHandleMessage = [](int, const std::string& text, const std::string& caption,
                                std::uint32_t) -> int {
        throw ConversionError("Cannot pack \"" + caption + "\" into the book: " + text);
    };
    // Nothing takes the output's place that readers could not open.
    const std::vector<std::string> entries = ManifestEntries(bookFolder);
    writer.OnArchiveWritten = [&](zip::TStream& archive) {
        CheckBookArchive(archive, entries, platform::ExpandFileName(outputPath));
    };
    try {
        writer.BuildArchive();
    } catch (const ConversionError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw ConversionError("Not enough memory to write the book \"" + outputPath + "\"");
    } catch (const std::exception& e) {
        throw ConversionError("Cannot write the book \"" + outputPath + "\". " + e.what());
    }
}

void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress) {
    progress.ShowProgress();
    int result = 1;
    std::string reason;
    try {
        // Nothing is made for a book that would destroy one of its own sources.
        if (const std::string problem = OutputProblem(input); !problem.empty())
            throw ConversionError(problem);
        if (input.epubVersion != 2 && input.epubVersion != 3)
            throw ConversionError("Cannot write the book \"" + input.outputPath + "\" as EPUB " +
                                  std::to_string(input.epubVersion) +
                                  ": the converter makes EPUB 2 and EPUB 3 books");
        if (!tree.Valid()) throw ConversionError(tree.Error());
        const auto checkPoint = [&progress] {
            if (progress.CancelRequested()) throw ConversionCancelled();
        };
        const std::optional<HeadingRules> rules = RulesFor(input);
        ChapterListOptions options;
        options.mode = input.chapters;
        options.rules = rules ? &*rules : nullptr;
        options.legacyEncoding = input.legacyEncoding;
        options.sourceEncodings = input.sourceEncodings;
        options.checkPoint = checkPoint;
        std::string sample;
        const TChapterList chapters =
            BuildChapterList(input.sources, tree.PieceFolder(), options, &sample);
        progress.SetMaximum(static_cast<int>(chapters.size()));
        std::optional<CoverImage> cover;
        if (!input.coverPath.empty()) cover = LoadCover(input.coverPath);
        const std::string book = tree.BookFolder();
        BookMetadata metadata{BookTitle(input), input.author, input.publisher, NewUuid()};
        metadata.language = BookLanguage(input, sample);
        metadata.epubVersion = input.epubVersion;
        metadata.modified = UtcTimestamp(std::time(nullptr));
        WriteContainerSkeleton(book, cover ? std::optional(cover->extension) : std::nullopt,
                               metadata.language, metadata.epubVersion);
        // Pages are compressed as they are made, on the other cores, while the next ones are.
        const auto ahead = std::make_shared<zip::TEntryPrecompressor>(kPackLevel);
        WritePackageDocuments(book, metadata, chapters, cover ? &*cover : nullptr,
                              input.legacyEncoding, progress, ahead.get());
        zip::TZipWriter writer;
        writer.PackLevel = kPackLevel;
        writer.Precompressed = ahead;
        writer.OnCheckCancel = [&progress] { return progress.CancelRequested(); };
        writer.OnEntryWritten = [&progress](std::size_t written, std::size_t total) {
            progress.PackingReport(written, total);
        };
        PackWorkingTree(book, input.outputPath, writer);
        result = 0;
    } catch (const std::bad_alloc&) {
        reason = "Not enough memory for the conversion";
    } catch (const std::exception& e) {
        reason = e.what();
    } catch (...) {
        reason = "Unexpected failure";
    }
    if (result != 0 && progress.CancelRequested()) reason = ConversionCancelled().what();
    tree.Remove();
    progress.CloseRequest();
    progress.Result(result, reason);
}

} // namespace folivane::engine
