// The Chinese script module's entry: its one exported symbol, the table of its functions.
#include "ScriptTables.h"

#include <stdexcept>

namespace folivane::engine {
namespace {

bool Read(const std::string& file, ScriptTables& tables, std::string& problem) {
    try {
        tables = ReadScriptTables(file);
        return true;
    } catch (const std::runtime_error& e) {
        problem = e.what();
        return false;
    }
}

constexpr ScriptTablesFunctions kFunctions{Read};

} // namespace
} // namespace folivane::engine

extern "C" __attribute__((visibility("default"))) const folivane::engine::ScriptTablesFunctions*
folivane_script_tables_functions() {
    return &folivane::engine::kFunctions;
}
