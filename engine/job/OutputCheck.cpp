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

std::string ReplacesSource(const BookInput& input, const std::string& source) {
    return "The book \"" + platform::ExpandFileName(input.outputPath) +
           "\" would replace its source \"" + platform::ExpandFileName(source) +
           "\"; choose another name for the book";
}

// Links that lead on from one to the next further than this go round in a circle, as the
// system judges them (its SYMLOOP_MAX).
constexpr int kMaxLinks = 40;

// The file `path` names as `what` ("cover", "style sheet"), when the output is that file;
// empty when it is not.
std::string ReplacedFile(const BookInput& input, const platform::FileStatus& output,
                         const std::string& path, const char* what) {
    if (path.empty()) return std::string();
    const std::optional<platform::FileStatus> file = platform::StatPath(path);
    if (!file || !file->SameFile(output)) return std::string();
    return "The book \"" + platform::ExpandFileName(input.outputPath) + "\" would replace its " +
           what + " \"" + platform::ExpandFileName(path) + "\"; choose another name for the book";
}

// The input that the output is, as a file; empty when none. Sources are compared only when
// `sources` is set.
std::string ReplacedInput(const BookInput& input, const platform::FileStatus& output,
                          bool sources) {
    if (sources) {
        for (const std::string& source : input.sources) {
            const std::optional<platform::FileStatus> other = platform::StatPath(source);
            if (other && other->SameFile(output)) return ReplacesSource(input, source);
        }
    }
    if (std::string cover = ReplacedFile(input, output, input.coverPath, "cover"); !cover.empty())
        return cover;
    return ReplacedFile(input, output, input.styleSheetPath, "style sheet");
}

// OutputReplacesInput, with the sources compared only when `sources` is set; `output`, when
// given, receives what is at the output path.
std::string ReplacesInput(const BookInput& input, bool sources,
                          std::optional<platform::FileStatus>* output) {
    const std::optional<platform::FileStatus> existing = platform::StatPath(input.outputPath);
    if (output) *output = existing;
    if (existing) {
        if (std::string replaced = ReplacedInput(input, *existing, sources); !replaced.empty())
            return replaced;
    }
    // A book is never a text file: "-o ch1.txt ch2.txt ch3.txt" has the book's name missing,
    // and would put the book in place of the first chapter.
    if (IsTextFileName(input.outputPath))
        return "The book would be written to the text file \"" +
               platform::ExpandFileName(input.outputPath) +
               "\"; a book needs a name of its own, such as book.epub";
    return std::string();
}

std::string Problem(const BookInput& input, bool sources,
                    std::optional<platform::FileStatus>* output) {
    if (IsBlank(input.outputPath))
        return "Cannot write the book \"" + input.outputPath + "\": no output file is named";
    if (std::string replaced = ReplacesInput(input, sources, output); !replaced.empty())
        return replaced;
    std::string path;
    try {
        path = BookPathFor(input.outputPath);
    } catch (const ConversionError& error) {
        return error.what();
    }
    if (path != input.outputPath && IsTextFileName(path))
        return "The book would be written to the text file \"" + platform::ExpandFileName(path) +
               "\" that \"" + platform::ExpandFileName(input.outputPath) +
               "\" links to; a book needs a name of its own, such as book.epub";
    try {
        platform::CheckReplaceableTarget(path);
        platform::CheckWritableTarget(path);
    } catch (const platform::EStreamError& error) {
        return error.what();
    }
    return std::string();
}

} // namespace

std::string BookPathFor(const std::string& outputPath) {
    std::string path = outputPath;
    for (int links = 0;; ++links) {
        std::optional<std::string> target = platform::LinkTarget(path);
        if (!target) return path;
        const std::string cannot = "Cannot write the book \"" +
                                   platform::ExpandFileName(outputPath) +
                                   "\": it is a symbolic link";
        if (links == kMaxLinks) throw ConversionError(cannot + " that leads round in a circle");
        // A link someone else planted where the book goes must not steer it onto a file of the
        // user's (the kernel's rule for shared folders, kept everywhere).
        const std::optional<platform::FileStatus> link = platform::LinkStatus(path);
        if (!link || link->owner != platform::EffectiveUser())
            throw ConversionError(cannot + " of another user's, which a book is not written "
                                           "through; choose another name for the book");
        // A relative target is taken from the link's own folder.
        const std::size_t slash = path.rfind('/');
        path = target->starts_with('/') || slash == std::string::npos
                   ? std::move(*target)
                   : path.substr(0, slash + 1) + *target;
    }
}

std::string OutputReplacesInput(const BookInput& input) {
    return ReplacesInput(input, true, nullptr);
}

std::string OutputProblem(const BookInput& input) {
    return Problem(input, true, nullptr);
}

std::string OutputProblemBeforeReading(const BookInput& input,
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

std::string SourceIsOutput(const BookInput& input, const std::string& path,
                           const platform::FileStatus& opened,
                           const std::optional<platform::FileStatus>& output) {
    if (!output || !output->SameFile(opened)) return std::string();
    return ReplacesSource(input, path);
}

} // namespace folivane::engine
