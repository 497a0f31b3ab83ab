// Scratch folders and small file and process helpers for tests.
#include "TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace folivane::test {

ScratchFolder::ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/folivane-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern + "/";
}

ScratchFolder::~ScratchFolder() {
    // Tests may leave read-only folders behind; make them writable before removing.
    std::system(
        ("chmod -R u+rwx " + ShellQuote(path_) + " 2>/dev/null; rm -rf " + ShellQuote(path_))
            .c_str());
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_);
}

ScopedUmask::ScopedUmask(unsigned mask) : old_(::umask(static_cast<mode_t>(mask))) {}

ScopedUmask::~ScopedUmask() {
    ::umask(static_cast<mode_t>(old_));
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string FileMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "none";
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", st.st_mode & 07777u);
    return octal;
}

std::vector<std::string> ListNames(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

namespace {

// Up to `count` bytes of `bytes` from `at`, printable ASCII as it is, the rest as \xNN.
std::string Excerpt(std::string_view bytes, std::size_t at, std::size_t count) {
    std::string out;
    for (std::size_t i = at; i < bytes.size() && i < at + count; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    return out;
}

} // namespace

::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end()) return ::testing::AssertionSuccess();
    const auto at = static_cast<std::size_t>(a - actual.begin());
    constexpr std::size_t kContext = 16;
    const std::size_t from = at > kContext ? at - kContext : 0;
    return ::testing::AssertionFailure()
           << actual.size() << " bytes, expected " << expected.size() << "; first difference at "
           << at << "\n  actual   [" << from << "..]: " << Excerpt(actual, from, 2 * kContext)
           << "\n  expected [" << from << "..]: " << Excerpt(expected, from, 2 * kContext);
}

} // namespace folivane::test
