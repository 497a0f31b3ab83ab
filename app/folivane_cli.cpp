// folivane-cli: converts text files into an EPUB book from the command line.
#include "CliOptions.h"
#include "TerminalProgress.h"

#include "engine/ConversionJob.h"
#include "engine/WorkingTree.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace folivane;
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
        std::fprintf(stderr, "folivane-cli: %s\n\n%s", options.error.c_str(),
                     cli::UsageText().c_str());
        return 2;
    }
    const std::string temp = engine::TempFolderPath();
    engine::RemoveStaleWorkingTrees(temp);
    engine::WorkingTree tree = engine::PrepareWorkingTree(temp);
    cli::TerminalProgress progress(stderr, options.quiet);
    engine::DoTask(options.book, tree, progress);
    if (progress.Code() != 0) {
        std::fprintf(stderr, "%s\n%s\n", engine::kConvertUnsuccessful, progress.Reason().c_str());
        return 1;
    }
    std::printf("%s\n", engine::kConvertSucceeded);
    return 0;
}
