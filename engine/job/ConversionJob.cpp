// The conversion job: chapter list, documents, archive, clean-up, in that order.
#include "ConversionJob.h"

#include "AbandonedBooks.h"
#include "BookArchive.h"
#include "BookPlan.h"
#include "OutputCheck.h"

#include "engine/chapters/ChapterList.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/chapters/Notation.h"
#include "engine/chapters/TextSections.h"
#include "engine/epub/BookDocuments.h"
#include "engine/epub/BookMetadata.h"
#include "engine/epub/Cover.h"
#include "engine/epub/UserStyleSheet.h"
#include "engine/epub/UtcTime.h"
#include "engine/epub/Uuid.h"
#include "engine/epub/XmlText.h"
#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/LanguageTag.h"
#include "engine/text/Locale.h"

#include "zip/EntryPrecompressor.h"
#include "zip/FileSystem.h"
#include "zip/ZipWriter.h"

#include <ctime>
#include <memory>
#include <optional>
#include <utility>

namespace folivane::engine {
namespace {

// The title and author the text gives, for those the user left blank: a text in the notation
// names them in its first two lines, any other in the first source's header or file name.
TitleAndAuthor TextTitleAndAuthor(const BookInput& input, const TChapterList& chapters,
                                  const std::string& sample) {
    TitleAndAuthor found;
    if (!input.sources.empty()) found = TitleAndAuthorOf(sample, input.sources.front());
    if (!chapters.empty() && chapters.front().Notation &&
        chapters.front().Heading == HeadingKind::None) {
        auto [title, author] =
            NotationTitleAndAuthor(ChapterText(chapters.front(), input.legacyEncoding));
        if (!title.empty()) found.title = std::move(title);
        if (!author.empty()) found.author = std::move(author);
    }
    return found;
}

// A blank title would give a nameless book (readers list it so, validators warn): the
// output's name is what the user chose instead, and kDefaultBookName the save dialog's own. Blank
// is judged after escaping, which drops a title of control characters whole.
std::string BookTitle(const BookInput& input, const TitleAndAuthor& ofText) {
    if (std::string title = MetadataText(input.title); !title.empty()) return title;
    if (std::string title = MetadataText(ofText.title); !title.empty()) return title;
    std::string name = zip::ExtractFileName(input.outputPath);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return IsEmptyInXml(name) ? std::string(kDefaultBookName) : name;
}

// The books' deflate level: zip's and zlib's usual 6.
constexpr int kPackLevel = 6;

// The language the user named, or the one the text is written in.
std::string BookLanguage(const BookInput& input, const std::string& sample) {
    if (input.language.empty()) return DetectLanguage(sample, LocaleOfProcess());
    if (const std::optional<std::string> tag = NormalizeLanguageTag(input.language)) return *tag;
    throw ConversionError(LanguageTagProblem(input.language));
}

} // namespace

void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress) {
    progress.ShowProgress();
    std::optional<Failure> failure;
    try {
        // Nothing is made for a book that would destroy one of its own sources: the output is
        // compared with each source as the source is read (its descriptor gives the file's
        // identity at no cost), before anything of the book is written.
        std::optional<platform::FileStatus> existingOutput;
        if (std::optional<Failure> problem = OutputProblemBeforeReading(input, existingOutput))
            throw ConversionError(std::move(*problem));
        // A book that an earlier conversion to this output left hidden when it was killed.
        RemoveAbandonedBooks(input.outputPath);
        if (input.epubVersion != EpubVersion::Epub2 && input.epubVersion != EpubVersion::Epub3)
            throw ConversionError({.kind = FailureKind::EpubVersionUnknown,
                                   .path = input.outputPath,
                                   .number = static_cast<int>(input.epubVersion)});
        if (input.vertical && input.epubVersion != EpubVersion::Epub3)
            throw ConversionError(
                {.kind = FailureKind::VerticalNeedsEpub3, .path = input.outputPath});
        if (!tree.Valid()) throw ConversionError(tree.Error());
        const auto checkPoint = [&progress] {
            if (progress.CancelRequested()) throw ConversionCancelled();
        };
        const std::optional<HeadingRules> rules = HeadingRulesFor(input);
        ChapterListOptions options = ChapterListOptionsFor(input, rules, checkPoint);
        options.sourceRead = [&](const std::string& path, const platform::FileStatus& opened) {
            if (std::optional<Failure> problem =
                    SourceIsOutput(input, path, opened, existingOutput))
                throw ConversionError(std::move(*problem));
        };
        options.readingProgress = [&progress](std::size_t done, std::size_t total) {
            progress.ReadingReport(done, total);
        };
        options.encodingReport = [&](std::size_t index, const EncodingJudgement& judged) {
            progress.EncodingReport(input.sources[index], judged);
        };
        options.notice = [&](const TextNotice& notice) {
            progress.Notice(input.sources[notice.source], notice);
        };
        std::string sample;
        UserStyleSheet userStyleSheet;
        if (!input.styleSheetPath.empty())
            userStyleSheet = ReadUserStyleSheet(input.styleSheetPath);
        TChapterList chapters = BuildChapterList(input.sources, &tree, options, &sample);
        progress.SetMaximum(static_cast<int>(chapters.size()));
        std::optional<CoverImage> cover;
        if (!input.coverPath.empty()) cover = LoadCover(input.coverPath);
        const bool blank =
            IsEmptyInXml(MetadataText(input.title)) || IsEmptyInXml(MetadataText(input.author));
        const TitleAndAuthor ofText =
            blank ? TextTitleAndAuthor(input, chapters, sample) : TitleAndAuthor{};
        std::string author = MetadataText(input.author);
        if (author.empty()) author = MetadataText(ofText.author);
        BookMetadata metadata{BookTitle(input, ofText), author, MetadataText(input.publisher),
                              NewUuid()};
        metadata.indentEm = input.indentEm;
        metadata.paragraphSpacingEm = input.paragraphSpacingEm;
        metadata.userStyleSheet = std::move(userStyleSheet.css);
        metadata.userStyleResources = std::move(userStyleSheet.resources);
        metadata.vertical = input.vertical;
        // The text before the first heading is the book's own opening, named as the book.
        for (FileList& page : chapters)
            if (page.BeforeHeadings && page.Listed) page.Name = metadata.title;
        metadata.language = BookLanguage(input, sample);
        metadata.epubVersion = input.epubVersion;
        const std::time_t now = std::time(nullptr);
        metadata.modified = UtcTimestamp(now);
        // Every document is made in memory and handed to the writer as it is made; pages are
        // compressed on the other cores while the next ones are made.
        zip::TZipWriter writer;
        writer.PackLevel = kPackLevel;
        writer.Precompressed = std::make_shared<zip::TEntryPrecompressor>(kPackLevel);
        writer.OnCheckCancel = [&progress] { return progress.CancelRequested(); };
        writer.OnEntryWritten = [&progress](std::size_t written, std::size_t total) {
            progress.PackingReport(written, total);
        };
        BookEntries book(writer, now, [&](const FileList& page) {
            progress.ChapterReport(page.Name);
            checkPoint();
        });
        MakeBookDocuments(metadata, chapters, cover ? &*cover : nullptr, input.legacyEncoding,
                          book);
        PackBookEntries(writer, book.Entries(), input.outputPath);
    } catch (...) {
        failure = CaughtFailure();
    }
    if (failure && progress.CancelRequested()) failure = Failure{.kind = FailureKind::Cancelled};
    tree.Remove();
    progress.CloseRequest();
    progress.Result(failure);
}

} // namespace folivane::engine
