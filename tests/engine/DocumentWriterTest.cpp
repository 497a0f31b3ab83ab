// Writing documents: exact bytes, replacement of old files, failures that must be reported.
#include "engine/job/DocumentWriter.h"
#include "engine/text/ConversionError.h"
#include "support/TestSupport.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace folivane::engine {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::ScratchFolder;

// The message of the ConversionError that `write` raises, or "" when it raises none.
template <typename F> std::string ErrorOf(F write) {
    try {
        write();
    } catch (const ConversionError& error) {
        return error.what();
    }
    return "";
}

TEST(DocumentWriter, WritesExactlyTheBytesReplacingAnOldFile) {
    const ScratchFolder folder;
    const std::string path = folder.Path() + "replace.xhtml";
    std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
    const std::string binary("\xEF\xBB\xBF\0\r\n", 6);
    WriteDocument(path, binary);
    EXPECT_EQ(ReadFile(path), binary);
    WriteDocument(path, "");
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(DocumentWriter, FileThatCannotBeCreatedRaisesNamingIt) {
    const ScratchFolder folder;
    const std::string blocker = folder.Path() + "not_a_folder";
    std::ofstream(blocker) << "x";
    const std::string path = blocker + "/page.html";
    const std::string message = ErrorOf([&] { WriteDocument(path, "abc"); });
    EXPECT_NE(message.find("Cannot create file \"" + path + "\". Not a directory"),
              std::string::npos)
        << message;
}

TEST(DocumentWriter, FullDiskRaises) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string message = ErrorOf([] { WriteDocument("/dev/full", "abc"); });
    EXPECT_NE(message.find("Cannot write file \"/dev/full\". No space left on device"),
              std::string::npos)
        << message;
}

TEST(DocumentWriter, FileSizeLimitRaises) {
    const ScratchFolder folder;
    const std::string path = folder.Path() + "too_large.html";
    // The limit holds for the whole process, so a child takes it and reports by exit code:
    // 0 raised with EFBIG's text, 1 raised otherwise, 2 did not raise.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // else the signal ends the process
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string message = ErrorOf([&] { WriteDocument(path, std::string(4000, 'x')); });
        _exit(message.empty() ? 2 : message.find("File too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace folivane::engine
