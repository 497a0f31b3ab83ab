// folivane-cli: converts text files into an EPUB book from the command line.
#include "CliOptions.h"
#include "CliUsage.h"
#include "EachRun.h"
#include "PlanListing.h"
#include "TerminalProgress.h"

#include "engine/job/BookPlan.h"
#include "engine/job/ConversionJob.h"
#include "engine/job/OutputCheck.h"
#include "engine/job/WorkingTree.h"
#include "engine/text/ConversionError.h"
#include "engine/text/FailureText.h"
#include "platform/Memory.h"
#include "platform/SystemError.h"
#include "platform/TerminationSignals.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

// The reason alone, so that it does not scroll away behind the whole help; exit status 2.
int UsageError(const std::string& reason) {
    std::fprintf(stderr, "folivane-cli: %s\nTry 'folivane-cli --help' for more information.\n",
                 reason.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    using namespace folivane;
    // Ctrl+C, Ctrl+\, kill and a closed terminal stop the job, which removes what it made. A
    // reader of the progress that goes away (`| head -1`) must not end the conversion: writes
    // to it then fail quietly and the book is still written. Under `ulimit -f` the write
    // beyond the limit fails, and the job says so, instead of the program dying silently.
    const platform::TerminationSignals termination;
    platform::PreferHeapForLargeBuffers();
    if (termination.Error() != 0)
        std::fprintf(stderr, "folivane-cli: Ctrl+C will not stop a conversion cleanly: %s\n",
                     platform::SystemErrorText(termination.Error()).c_str());

    const cli::CliOptions options =
        cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::fputs(cli::UsageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("folivane-cli (Quorvel Folivane Converter) 1.0");
        return 0;
    }
    if (!options.error.empty()) {
        return UsageError(options.error);
    }
    if (options.each) return cli::RunEach(options);
    if (options.list) {
        // A dry run: the plan as the conversion would make the book, and nothing written.
        try {
            const engine::BookPlan plan = engine::PlanBook(options.book);
            const std::string listing = options.listFormat == "json"
                                            ? cli::PlanAsJson(plan)
                                            : cli::PlanAsText(plan, options.explain);
            std::fputs(listing.c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "folivane-cli: not enough memory to read the sources\n");
        } catch (...) {
            std::fprintf(stderr, "folivane-cli: %s\n",
                         engine::FailureText(engine::CaughtFailure()).c_str());
        }
        return 1;
    }
    // Refused before any work: a book that would replace one of its own sources.
    if (const std::optional<engine::Failure> problem = engine::OutputReplacesInput(options.book))
        return UsageError(engine::FailureText(*problem));
    const std::string temp = engine::TempFolderPath();
    engine::RemoveStaleWorkingTrees(temp);
    engine::WorkingTree tree = engine::PrepareWorkingTree(temp);
    cli::TerminalProgress progress(stderr, options.quiet);
    engine::DoTask(options.book, tree, progress);
    if (const int signal = platform::TerminationSignals::Received()) return 128 + signal;
    if (const std::optional<engine::Failure>& failure = progress.Failed()) {
        std::fprintf(stderr, "%s\n%s\n", engine::kConvertUnsuccessful,
                     engine::FailureText(*failure).c_str());
        return 1;
    }
    std::printf("%s\n", engine::kConvertSucceeded);
    return 0;
}
