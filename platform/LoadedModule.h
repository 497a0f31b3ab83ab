// Shared modules loaded when first needed rather than when the program starts.
#pragma once

#include <string>

namespace folivane::platform {

// The folder of the running program's file, its links resolved, with no trailing slash; empty
// when the system does not say.
std::string ProgramFolder();

// A shared module loaded with dlopen: its libraries load with it, on the thread that loads it,
// instead of before `main`. A module stays loaded once loaded, even after the last object of it
// is gone: the libraries it brings (GLib among them) cannot all be unloaded safely, and another
// load of a loaded module is cheap. Move-only.
class LoadedModule {
public:
    // Loads the module at `path` and every library it needs, its symbols resolved at once. A
    // module that is missing or does not load is not Loaded, and Problem says why.
    explicit LoadedModule(const std::string& path);
    ~LoadedModule();
    LoadedModule(LoadedModule&& other) noexcept;
    LoadedModule& operator=(LoadedModule&& other) noexcept;

    bool Loaded() const { return handle_ != nullptr; }
    // The loader's own account of a failed load, which names the file; empty when Loaded.
    const std::string& Problem() const { return problem_; }
    // The address of the symbol `name`, or nullptr when the module is not Loaded or lacks it.
    void* Symbol(const char* name) const;
    // What the module's entry `name`, an extern "C" function returning `const Table*`, gives:
    // the table of its functions; nullptr when the module is not Loaded or lacks the entry.
    template <class Table> const Table* Entry(const char* name) const {
        using Function = const Table* (*)();
        const auto entry = reinterpret_cast<Function>(Symbol(name));
        return entry != nullptr ? entry() : nullptr;
    }

private:
    void* handle_ = nullptr;
    std::string problem_;
};

} // namespace folivane::platform
