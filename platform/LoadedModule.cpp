// dlopen and dlsym, behind a handle that closes itself.
#include "LoadedModule.h"

#include "SystemCalls.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/auxv.h>
#include <unistd.h>
#include <utility>

namespace folivane::platform {

std::string ProgramFolder() {
    char path[PATH_MAX];
    std::string file;
    const ssize_t size = sys::ReadLink("/proc/self/exe", path, sizeof path);
    if (size > 0 && static_cast<std::size_t>(size) < sizeof path) {
        file.assign(path, static_cast<std::size_t>(size));
    } else if (const auto executed = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
               executed != nullptr && realpath(executed, path) != nullptr) {
        // Without /proc (a chroot that lacks it): the name the program was started by, from
        // the working folder it was started in, which the programs never leave.
        file = path;
    }
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
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
