// Helpers the test suites share: scratch folders, files, running commands.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::test {

// A fresh folder under the system's temporary folder, removed with all its contents when
// the object goes. Path() ends with "/".
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

// Sets an environment variable (unsets it when `value` is null) for one scope and puts back
// what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The process's umask for one scope.
class ScopedUmask {
public:
    explicit ScopedUmask(unsigned mask);
    ~ScopedUmask();
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    unsigned old_;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool PathExists(const std::string& path);
// The permission bits of the file at `path` (links followed) in octal, "0644"; "none" when
// there is no file.
std::string FileMode(const std::string& path);
// Names in a folder, sorted; "." and ".." left out.
std::vector<std::string> ListNames(const std::string& folder);

struct CommandResult {
    int exitCode = -1;
    std::string output; // standard output and standard error together
};
// Runs a command through /bin/sh and collects its output.
CommandResult RunCommand(const std::string& command);
// The text quoted for /bin/sh.
std::string ShellQuote(std::string_view text);

// Whether `actual` holds the bytes of `expected`. A failure gives both sizes, the first
// offset where they differ and a few bytes around it in each, escaped: never megabytes.
::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected);

} // namespace folivane::test
