// The output path against the sources, the cover and the kinds of files never replaced.
#include "OutputCheck.h"

#include "engine/text/SourceFiles.h"
#include "engine/text/WhiteSpace.h"

#include "platform/FileStatus.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemError.h"

#include <optional>

namespace folivane::engine {
namespace {

// The input that the output is, as a file; empty when none.
std::string ReplacedInput(const BookInput& input, const platform::FileStatus& output) {
    const auto same = [&](const std::string& path) {
        const std::optional<platform::FileStatus> other = platform::StatPath(path);
        return other && other->SameFile(output);
    };
    const std::string book = platform::ExpandFileName(input.outputPath);
    for (const std::string& source : input.sources) {
        if (same(source))
            return "The book \"" + book + "\" would replace its source \"" +
                   platform::ExpandFileName(source) + "\"; choose another name for the book";
    }
    if (!input.coverPath.empty() && same(input.coverPath))
        return "The book \"" + book + "\" would replace its cover \"" +
               platform::ExpandFileName(input.coverPath) + "\"; choose another name for the book";
    return std::string();
}

} // namespace

std::string OutputReplacesInput(const BookInput& input) {
    const std::string& output = input.outputPath;
    if (const std::optional<platform::FileStatus> existing = platform::StatPath(output)) {
        if (std::string replaced = ReplacedInput(input, *existing); !replaced.empty())
            return replaced;
    }
    // A book is never a text file: "-o ch1.txt ch2.txt ch3.txt" has the book's name missing,
    // and would put the book in place of the first chapter.
    if (IsTextFileName(output))
        return "The book would be written to the text file \"" + platform::ExpandFileName(output) +
               "\"; a book needs a name of its own, such as book.epub";
    return std::string();
}

std::string OutputProblem(const BookInput& input) {
    const std::string& output = input.outputPath;
    if (IsBlank(output)) return "Cannot write the book \"" + output + "\": no output file is named";
    if (std::string replaced = OutputReplacesInput(input); !replaced.empty()) return replaced;
    try {
        platform::CheckReplaceableTarget(output);
        platform::CheckWritableTarget(output);
    } catch (const platform::EStreamError& error) {
        return error.what();
    }
    return std::string();
}

} // namespace folivane::engine
