// The conversion job in steps: refuse early, decide the book (reading, decoding and finding
// its chapters once), write its pages, pack and check it, clean up.
#include "ConversionJob.h"

#include "AbandonedBooks.h"
#include "BookArchive.h"
#include "BookPlan.h"
#include "JobProgress.h"
#include "OutputCheck.h"
#include "TitleCoverAside.h"

#include "engine/epub/BookDocuments.h"
#include "engine/epub/BookMetadata.h"
#include "engine/epub/Cover.h"
#include "engine/epub/UserStyleSheet.h"
#include "engine/epub/UtcTime.h"
#include "engine/epub/Uuid.h"
#include "engine/text/ConversionError.h"
#include "engine/text/SideTask.h"

#include "zip/EntryPrecompressor.h"
#include "zip/ZipWriter.h"

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace folivane::engine {
namespace {

// What the early checks found and the book needs: known before any source is read.
struct CheckedInput {
    std::string bookPath; // where the book is written: the output, or the file it links to
    std::optional<platform::FileStatus> existingOutput; // what is there now
    std::optional<CoverImage> cover;
    UserStyleSheet userStyleSheet;
};

// Every refusal that needs no source: the output, the version, the working folder, the
// cover, the style sheet, the language tag and the heading patterns.
CheckedInput RefuseEarly(const BookInput& input, const WorkingTree& tree) {
    CheckedInput checked;
    // Nothing is made for a book that would destroy one of its own sources: the output is
    // compared with each source as the source is read (its descriptor gives the file's
    // identity at no cost), before anything of the book is written.
    if (std::optional<Failure> problem = OutputProblemBeforeReading(input, checked.existingOutput))
        throw ConversionError(std::move(*problem));
    checked.bookPath = BookPathFor(input.outputPath);
    // A book that an earlier conversion to this output left hidden when it was killed.
    RemoveAbandonedBooks(checked.bookPath);
    if (input.epubVersion != EpubVersion::Epub2 && input.epubVersion != EpubVersion::Epub3)
        throw ConversionError({.kind = FailureKind::EpubVersionUnknown,
                               .path = input.outputPath,
                               .number = static_cast<int>(input.epubVersion)});
    if (input.vertical && input.epubVersion != EpubVersion::Epub3)
        throw ConversionError({.kind = FailureKind::VerticalNeedsEpub3, .path = input.outputPath});
    if (!tree.Valid()) throw ConversionError(tree.Error());
    if (!input.coverPath.empty()) checked.cover = LoadCover(input.coverPath);
    if (!input.styleSheetPath.empty())
        checked.userStyleSheet = ReadUserStyleSheet(input.styleSheetPath);
    UserLanguageTag(input);
    CheckDetails(input.details);
    HeadingRulesFor(input);
    return checked;
}

// What the job hears while the book is decided, passed on to the front end.
ReadingHooks HooksFor(const BookInput& input, const CheckedInput& checked, ProgressSink& progress,
                      JobProgress& bar) {
    ReadingHooks hooks;
    hooks.checkPoint = [&progress] {
        if (progress.CancelRequested()) throw ConversionCancelled();
    };
    hooks.sourceRead = [&](const std::string& path, const platform::FileStatus& opened) {
        if (std::optional<Failure> problem =
                SourceIsOutput(input, path, opened, checked.existingOutput))
            throw ConversionError(std::move(*problem));
    };
    hooks.encodingReport = [&](std::size_t index, const EncodingJudgement& judged) {
        progress.EncodingReport(input.sources[index], judged);
    };
    hooks.notice = [&](const TextNotice& notice) {
        progress.Notice(input.sources[notice.source], notice);
    };
    hooks.progress = [&bar](SourceWork work, std::size_t done, std::size_t total) {
        bar.Sources(work, done, total);
    };
    return hooks;
}

// The metadata the book is written with: the plan's, and the user's layout.
BookMetadata MetadataOf(const BookInput& input, const BookPlan& plan, CheckedInput& checked,
                        std::time_t now) {
    BookMetadata metadata{plan.title, plan.author, plan.publisher, NewUuid()};
    metadata.language = plan.language;
    metadata.indentEm = input.indentEm;
    metadata.paragraphSpacingEm = input.paragraphSpacingEm;
    metadata.userStyleSheet = std::move(checked.userStyleSheet.css);
    metadata.userStyleResources = std::move(checked.userStyleSheet.resources);
    metadata.vertical = input.vertical;
    metadata.epubVersion = input.epubVersion;
    metadata.modified = UtcTimestamp(now);
    metadata.details = plan.details;
    return metadata;
}

// Makes every document in memory and hands it to the writer as it is made; pages are
// compressed on the other cores while the next ones are made.
std::vector<std::string> WritePages(const BookInput& input, const BookDecision& book,
                                    CheckedInput& checked, TitleCoverAside& titleCover,
                                    zip::TZipWriter& writer, ProgressSink& progress,
                                    JobProgress& bar) {
    const std::time_t now = std::time(nullptr);
    const BookMetadata metadata = MetadataOf(input, book.plan, checked, now);
    std::size_t total = 0;
    for (const FileList& page : book.pages)
        total += page.End - page.Begin;
    std::size_t written = 0;
    bar.Pages(0, total);
    BookEntries entries(writer, now, [&](const FileList& page) {
        progress.ChapterReport(page.Name);
        bar.Pages(written += page.End - page.Begin, total);
        if (progress.CancelRequested()) throw ConversionCancelled();
    });
    // The user's picture, else the one made from the title (beside the pages when the plan
    // left it), asked for once they are written.
    const CoverSource cover = [&]() -> const CoverImage* {
        CoverPlan decided =
            titleCover.Active() ? DecideCover(input, book.plan, titleCover.Get()) : book.plan.cover;
        if (!decided.problem.empty()) progress.CoverNotice(decided.problem);
        if (decided.kind == CoverPlan::Kind::Title)
            checked.cover = CoverImage{"png", "image/png", std::move(decided.png)};
        return checked.cover ? &*checked.cover : nullptr;
    };
    MakeBookDocuments(metadata, book.pages, cover, input.legacyEncoding, entries);
    return entries.Entries();
}

// Packs the book at its path, read back and checked before it takes the output's place.
void PackAndCheck(const std::vector<std::string>& entries, const std::string& bookPath,
                  zip::TZipWriter& writer, ProgressSink& progress, JobProgress& bar) {
    writer.OnCheckCancel = [&progress] { return progress.CancelRequested(); };
    writer.OnEntryWritten = [&](std::size_t written, std::size_t total) {
        bar.Packing(written, total);
        progress.PackingReport(written, total);
        if (written == total) bar.Checking(false);
    };
    PackBookEntries(writer, entries, bookPath);
    bar.Checking(true);
}

void Convert(const BookInput& input, WorkingTree& tree, ProgressSink& progress) {
    CheckedInput checked = RefuseEarly(input, tree);
    TitleCoverAside titleCover(input);
    JobProgress bar(progress, input.heldTextBudget);
    ReadingHooks hooks = HooksFor(input, checked, progress, bar);
    // The deflate level is measured on the second core as soon as the text's sample is read,
    // while the main thread goes on searching the sources for chapters; most samples tell it
    // at a glance, with no copy of the sample and no thread.
    std::optional<SideTask<int>> packLevel;
    hooks.sampleTaken = [&packLevel](std::string_view sample) {
        if (const std::optional<int> level = PackLevelAtAGlance(sample))
            packLevel.emplace([level = *level] { return level; }, false);
        else
            packLevel.emplace([sample = std::string(sample)] { return BookPackLevel(sample); },
                              true);
    };
    hooks.coverLeftToCaller = titleCover.Active();
    if (titleCover.Active())
        hooks.coverLikely = [&titleCover](TitleCoverText likely) {
            titleCover.DrawLikely(std::move(likely));
        };
    const BookDecision book = DecideBook(input, tree, hooks);
    if (titleCover.Active()) titleCover.Draw(TitleCoverTextOf(input, book.plan));
    progress.SetMaximum(static_cast<int>(book.pages.size()));
    zip::TZipWriter writer;
    writer.PackLevel = packLevel ? packLevel->Get() : BookPackLevel({});
    writer.Precompressed = std::make_shared<zip::TEntryPrecompressor>(writer.PackLevel);
    const std::vector<std::string> entries =
        WritePages(input, book, checked, titleCover, writer, progress, bar);
    PackAndCheck(entries, checked.bookPath, writer, progress, bar);
}

} // namespace

void DoTask(const BookInput& input, WorkingTree& tree, ProgressSink& progress) {
    progress.ShowProgress();
    std::optional<Failure> failure;
    try {
        Convert(input, tree, progress);
    } catch (...) {
        failure = CaughtFailure();
    }
    if (failure && progress.CancelRequested()) failure = Failure{.kind = FailureKind::Cancelled};
    tree.Remove();
    progress.CloseRequest();
    progress.Result(failure);
}

} // namespace folivane::engine
