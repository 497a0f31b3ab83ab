// dlopen and dlsym, behind a handle that closes itself.
#include "LoadedModule.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>
#include <utility>

namespace folivane::platform {

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t size = readlink("/proc/self/exe", path, sizeof path);
    if (size <= 0 || static_cast<std::size_t>(size) >= sizeof path) return std::string();
    std::string folder(path, static_cast<std::size_t>(size));
    folder.resize(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/'));
    return folder;
}

LoadedModule::LoadedModule(const std::string& path) {
    // RTLD_LOCAL keeps the module's symbols from those of the program and of other modules;
    // RTLD_NODELETE keeps it loaded (see the class).
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        problem_ = why != nullptr ? why : path + ": cannot be loaded";
    }
}

LoadedModule::~LoadedModule() {
    if (handle_ != nullptr) dlclose(handle_);
}

LoadedModule::LoadedModule(LoadedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), problem_(std::move(other.problem_)) {}

LoadedModule& LoadedModule::operator=(LoadedModule&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        problem_ = std::move(other.problem_);
    }
    return *this;
}

void* LoadedModule::Symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

} // namespace folivane::platform
