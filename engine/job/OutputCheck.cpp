// The output path against the sources, the cover, the style sheet and the kinds of files never
// replaced; a linked output followed to the book it leads to.
#include "OutputCheck.h"

#include "engine/text/ConversionError.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/WhiteSpace.h"

#include "platform/FileStatus.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemError.h"

#include <optional>

namespace folivane::engine {
namespace {

Failure ReplacesSource(const BookInput& input, const std::string& source) {
    return {.kind = FailureKind::OutputIsSource,
            .path = platform::ExpandFileName(input.outputPath),
            .otherPath = platform::ExpandFileName(source)};
}

// Links that lead on from one to the next further than this go round in a circle, as the
// system judges them (its SYMLOOP_MAX).
constexpr int kMaxLinks = 40;

// The failure `kind` when the output is the file at `path`; nothing when it is not.
std::optional<Failure> ReplacedFile(const BookInput& input, const platform::FileStatus& output,
                                    const std::string& path, FailureKind kind) {
    if (path.empty()) return std::nullopt;
    const std::optional<platform::FileStatus> file = platform::StatPath(path);
    if (!file || !file->SameFile(output)) return std::nullopt;
    return Failure{.kind = kind,
                   .path = platform::ExpandFileName(input.outputPath),
                   .otherPath = platform::ExpandFileName(path)};
}

// The input that the output is, as a file; nothing when none. Sources are compared only when
// `sources` is set.
std::optional<Failure> ReplacedInput(const BookInput& input, const platform::FileStatus& output,
                                     bool sources) {
    if (sources) {
        for (const std::string& source : input.sources) {
            const std::optional<platform::FileStatus> other = platform::StatPath(source);
            if (other && other->SameFile(output)) return ReplacesSource(input, source);
        }
    }
    if (std::optional<Failure> cover =
            ReplacedFile(input, output, input.coverPath, FailureKind::OutputIsCover))
        return cover;
    return ReplacedFile(input, output, input.styleSheetPath, FailureKind::OutputIsStyleSheet);
}

// OutputReplacesInput, with the sources compared only when `sources` is set; `output`, when
// given, receives what is at the output path.
std::optional<Failure> ReplacesInput(const BookInput& input, bool sources,
                                     std::optional<platform::FileStatus>* output) {
    const std::optional<platform::FileStatus> existing = platform::StatPath(input.outputPath);
    if (output) *output = existing;
    if (existing) {
        if (std::optional<Failure> replaced = ReplacedInput(input, *existing, sources))
            return replaced;
    }
    // A book is never a text file: "-o ch1.txt ch2.txt ch3.txt" has the book's name missing,
    // and would put the book in place of the first chapter.
    if (IsTextFileName(input.outputPath))
        return Failure{.kind = FailureKind::OutputIsTextFile,
                       .path = platform::ExpandFileName(input.outputPath)};
    return std::nullopt;
}

std::optional<Failure> Problem(const BookInput& input, bool sources,
                               std::optional<platform::FileStatus>* output) {
    if (IsBlank(input.outputPath))
        return Failure{.kind = FailureKind::OutputNotNamed, .path = input.outputPath};
    if (std::optional<Failure> replaced = ReplacesInput(input, sources, output)) return replaced;
    std::string path;
    try {
        path = BookPathFor(input.outputPath);
    } catch (const ConversionError& error) {
        return error.Reason();
    }
    if (path != input.outputPath && IsTextFileName(path))
        return Failure{.kind = FailureKind::OutputLinksToTextFile,
                       .path = platform::ExpandFileName(path),
                       .otherPath = platform::ExpandFileName(input.outputPath)};
    try {
        // A link of the system's (/dev/stdout leads into /proc) stands for a device or a
        // descriptor, never for a book of the user's: it is refused where it lies.
        platform::CheckReplaceableTarget(input.outputPath);
        platform::CheckReplaceableTarget(path);
        platform::CheckWritableTarget(path);
    } catch (const platform::EStreamError& error) {
        return FileFailure(error);
    }
    return std::nullopt;
}

} // namespace

std::string BookPathFor(const std::string& outputPath) {
    std::string path = outputPath;
    for (int links = 0;; ++links) {
        std::optional<std::string> target = platform::LinkTarget(path);
        if (!target) return path;
        if (links == kMaxLinks)
            throw ConversionError({.kind = FailureKind::OutputLinkLoops,
                                   .path = platform::ExpandFileName(outputPath)});
        // A link someone else planted where the book goes must not steer it onto a file of the
        // user's (the kernel's rule for shared folders, kept everywhere).
        const std::optional<platform::FileStatus> link = platform::LinkStatus(path);
        if (!link || link->owner != platform::EffectiveUser())
            throw ConversionError({.kind = FailureKind::OutputLinkNotOwned,
                                   .path = platform::ExpandFileName(outputPath)});
        // A relative target is taken from the link's own folder.
        const std::size_t slash = path.rfind('/');
        path = target->starts_with('/') || slash == std::string::npos
                   ? std::move(*target)
                   : path.substr(0, slash + 1) + *target;
    }
}

std::optional<Failure> OutputReplacesInput(const BookInput& input) {
    return ReplacesInput(input, true, nullptr);
}

std::optional<Failure> OutputProblem(const BookInput& input) {
    return Problem(input, true, nullptr);
}

std::optional<Failure> OutputProblemBeforeReading(const BookInput& input,
                                                  std::optional<platform::FileStatus>& output) {
    // An output named as a text file, or linked to one, is refused anyway; when it is one of
    // the sources, the user is told that, as OutputProblem does.
    bool textFile = IsTextFileName(input.outputPath);
    try {
        textFile = textFile || IsTextFileName(BookPathFor(input.outputPath));
    } catch (const ConversionError&) {
        // Problem says why.
    }
    return Problem(input, textFile, &output);
}

std::optional<Failure> SourceIsOutput(const BookInput& input, const std::string& path,
                                      const platform::FileStatus& opened,
                                      const std::optional<platform::FileStatus>& output) {
    if (!output || !output->SameFile(opened)) return std::nullopt;
    return ReplacesSource(input, path);
}

} // namespace folivane::engine
