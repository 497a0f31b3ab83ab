// Loading the Chinese script module and asking it for a configuration's tables.
#include "ConversionError.h"
#include "ScriptTables.h"

#include "platform/LoadedModule.h"

namespace folivane::engine {
namespace {

ConversionError LoadError(const std::string& file, const std::string& reason) {
    return ConversionError(
        {.kind = FailureKind::ChineseScriptNotLoaded, .path = file, .detail = reason});
}

} // namespace

ScriptTables LoadScriptTables(const std::string& file) {
    return LoadScriptTables(file, platform::ProgramFolder() + "/" FOLIVANE_SCRIPT_TABLES_MODULE);
}

ScriptTables LoadScriptTables(const std::string& file, const std::string& module) {
    // OpenCC and marisa took a millisecond of every start of the programs, most of which
    // convert no script; loaded here, they cost it only where a script is converted.
    const platform::LoadedModule loaded(module);
    const auto* functions = loaded.Entry<ScriptTablesFunctions>(kScriptTablesEntry);
    if (functions == nullptr)
        throw LoadError(module, loaded.Loaded() ? std::string("It lacks ") + kScriptTablesEntry
                                                : loaded.Problem());
    ScriptTables tables;
    std::string problem;
    if (!functions->read(file, tables, problem)) throw LoadError(file, problem);
    return tables;
}

} // namespace folivane::engine
