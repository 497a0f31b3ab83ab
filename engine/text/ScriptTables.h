// OpenCC's dictionaries of one of its configurations, read into tables; OpenCC itself is read
// by a module loaded when a book's script is first converted.
#pragma once

#include "ScriptDictionary.h"

#include <string>
#include <vector>

namespace folivane::engine {

// A configuration's steps: the text is cut into segments at `segmentation`'s longest words,
// then each table of `chain` in turn replaces words within a segment.
struct ScriptTables {
    ScriptDictionary segmentation; // empty when `fused`
    std::vector<ScriptDictionary> chain;
    // The first step's words of more than one character are the segmentation's: the text is
    // cut and converted in one pass.
    bool fused = false;
};

// What the module gives: a table of its functions, the same build's C++ on both sides.
struct ScriptTablesFunctions {
    // OpenCC's configuration `file` (a full path) and its dictionaries read into `tables`;
    // false, and OpenCC's words or what is amiss in `problem`, when they cannot be.
    bool (*read)(const std::string& file, ScriptTables& tables, std::string& problem);
};

// The module's one exported symbol: extern "C" const ScriptTablesFunctions* NAME().
inline constexpr char kScriptTablesEntry[] = "folivane_script_tables_functions";

// In the module: what `read` does. Raises std::runtime_error with the problem.
ScriptTables ReadScriptTables(const std::string& file);

// In the programs: OpenCC's configuration `file` read by the module at `module` (by default
// the one beside the program, as installed). Raises ConversionError (ChineseScriptNotLoaded)
// naming the configuration, or the module when it does not load.
ScriptTables LoadScriptTables(const std::string& file);
ScriptTables LoadScriptTables(const std::string& file, const std::string& module);

} // namespace folivane::engine
