// The output path against the sources, the cover and the kinds of files never replaced.
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

// The cover, when the output is that file; nothing when it is not.
std::optional<Failure> ReplacedCover(const BookInput& input, const platform::FileStatus& output) {
    if (input.coverPath.empty()) return std::nullopt;
    const std::optional<platform::FileStatus> cover = platform::StatPath(input.coverPath);
    if (!cover || !cover->SameFile(output)) return std::nullopt;
    return Failure{.kind = FailureKind::OutputIsCover,
                   .path = platform::ExpandFileName(input.outputPath),
                   .otherPath = platform::ExpandFileName(input.coverPath)};
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
    return ReplacedCover(input, output);
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
    const std::string& path = input.outputPath;
    if (IsBlank(path)) return Failure{.kind = FailureKind::OutputNotNamed, .path = path};
    if (std::optional<Failure> replaced = ReplacesInput(input, sources, output)) return replaced;
    try {
        platform::CheckReplaceableTarget(path);
        platform::CheckWritableTarget(path);
    } catch (const platform::EStreamError& error) {
        return FileFailure(error);
    }
    return std::nullopt;
}

} // namespace

std::optional<Failure> OutputReplacesInput(const BookInput& input) {
    return ReplacesInput(input, true, nullptr);
}

std::optional<Failure> OutputProblem(const BookInput& input) {
    return Problem(input, true, nullptr);
}

std::optional<Failure> OutputProblemBeforeReading(const BookInput& input,
                                                  std::optional<platform::FileStatus>& output) {
    // An output named as a text file is refused anyway; when it is one of the sources, the
    // user is told that, as OutputProblem does.
    return Problem(input, IsTextFileName(input.outputPath), &output);
}

std::optional<Failure> SourceIsOutput(const BookInput& input, const std::string& path,
                                      const platform::FileStatus& opened,
                                      const std::optional<platform::FileStatus>& output) {
    if (!output || !output->SameFile(opened)) return std::nullopt;
    return ReplacesSource(input, path);
}

} // namespace folivane::engine
