// Writing the files of a working folder: exact bytes, replacement of old files, failures
// reported with what the user knows: the piece, the temporary folder and the cause.
#include "engine/job/DocumentWriter.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace folivane::engine {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::ScratchFolder;

// A job's piece folder under `temp`, as the job makes it in the temporary folder.
std::string PieceFolder(const std::string& temp) {
    fs::create_directories(temp + "folivane-Job123/pieces");
    return temp + "folivane-Job123/pieces/";
}

// The message of the ConversionError that writing `bytes` to `path` raises, or "" when none.
std::string ErrorOf(const std::string& folder, const std::string& path, std::string_view bytes) {
    try {
        WriteWorkingFile(folder, path, bytes, {.kind = FailureKind::PieceNotKept, .path = "a.txt"});
    } catch (const ConversionError& error) {
        return error.what();
    }
    return "";
}

TEST(WorkingFile, WritesExactlyTheBytesReplacingAnOldFile) {
    const ScratchFolder temp;
    const std::string folder = PieceFolder(temp.Path());
    const std::string path = folder + "0-1.txt";
    std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
    const std::string binary("\xEF\xBB\xBF\0\r\n", 6);
    EXPECT_EQ(ErrorOf(folder, path, binary), "");
    EXPECT_EQ(ReadFile(path), binary);
    EXPECT_EQ(ErrorOf(folder, path, ""), "");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(WorkingFile, FileThatCannotBeCreatedNamesThePieceAndTheTemporaryFolder) {
    const ScratchFolder temp;
    const std::string folder = PieceFolder(temp.Path());
    std::ofstream(folder + "not_a_folder") << "x";
    const std::string message = ErrorOf(folder, folder + "not_a_folder/0-1.txt", "abc");
    EXPECT_EQ(message, "Cannot write a piece of \"a.txt\" in the temporary folder \"" +
                           temp.Path() + "\". Not a directory");
}

// Writes in a child, which may take limits the whole process would feel: 0 when the write
// failed naming the piece and `cause`, 1 when it failed otherwise, 2 when it did not fail.
int ChildWriteFails(const std::function<void()>& prepare, const std::string& folder,
                    const std::string& path, const std::string& cause) {
    const pid_t child = fork();
    if (child == 0) {
        prepare();
        const std::string message = ErrorOf(folder, path, std::string(4000, 'x'));
        _exit(message.empty() ? 2
              : message.find("a piece of \"a.txt\"") != std::string::npos &&
                      message.find(cause) != std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    if (child == -1 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(WorkingFile, FullDiskFailsNamingTheCause) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const ScratchFolder temp;
    EXPECT_EQ(
        ChildWriteFails([] {}, PieceFolder(temp.Path()), "/dev/full", "No space left on device"),
        0);
}

TEST(WorkingFile, FileSizeLimitFailsNamingTheCause) {
    const ScratchFolder temp;
    const std::string folder = PieceFolder(temp.Path());
    const auto limit = [] {
        std::signal(SIGXFSZ, SIG_IGN); // else the signal ends the process
        const rlimit size{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &size);
    };
    EXPECT_EQ(ChildWriteFails(limit, folder, folder + "0-1.txt", "File too large"), 0);
}

} // namespace
} // namespace folivane::engine
