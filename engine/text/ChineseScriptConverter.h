// Converting Chinese text between Simplified and Traditional characters with OpenCC.
#pragma once

#include "ChineseScript.h"

#include <memory>
#include <string>
#include <string_view>

namespace folivane::engine {

// The OpenCC configuration that turns text written in `from` into `target`, e.g. "s2twp"
// (Simplified to Taiwan's characters and words), or empty when the text is left as it is
// (Keep, and Traditional text asked to be Traditional). Simplified text asked to be
// Simplified still goes through "t2s", which turns the Traditional characters a Simplified
// text quotes and leaves its own alone; the reverse does not hold (Simplified-to-Traditional
// tables rewrite Traditional text: 姓余 becomes 姓餘), so Traditional text is only ever given
// Traditional-to-X configurations.
std::string_view OpenccConfiguration(ChineseScript target, ChineseForm from);

// Converts text written in one form to the target script, for one book.
//
// The caller decides what is Chinese and in which form: ChineseFormOfTag on the tag a source
// was judged (DetectLanguage) or given; a source it finds no form for (Japanese, ...) gets no
// converter. The book's title, author and other metadata take the form of the book's language.
//
// Loading reads OpenCC's configuration and dictionaries into tables (ScriptDictionary), once
// per converter; copies share them. Convert gives what OpenCC's own converter gives, at
// about 20 to 40 MB a second of one core; a text of several MiB is converted in pieces on all
// cores. Convert may be called from several threads at once.
class ChineseScriptConverter {
public:
    // Loads the configuration OpenccConfiguration names from OpenCC's data folder. Raises
    // ConversionError naming the configuration file when OpenCC cannot load it (the data
    // package is missing or damaged). Loads nothing when there is nothing to convert.
    ChineseScriptConverter(ChineseScript target, ChineseForm from);
    ~ChineseScriptConverter();
    ChineseScriptConverter(const ChineseScriptConverter&);
    ChineseScriptConverter& operator=(const ChineseScriptConverter&);
    ChineseScriptConverter(ChineseScriptConverter&&) noexcept;
    ChineseScriptConverter& operator=(ChineseScriptConverter&&) noexcept;

    // Whether Convert may change text at all; false means it returns its input.
    bool Converts() const { return opencc_ != nullptr; }

    // `utf8` in the target script: characters, and for Taiwan also words (软件 → 軟體). Any
    // length; line breaks, ASCII and text of other scripts pass through unchanged, and so do
    // zero bytes and bytes that are not UTF-8.
    std::string Convert(std::string_view utf8) const;

private:
    class Opencc;
    std::string ConvertPiece(std::string_view utf8) const;
    std::shared_ptr<const Opencc> opencc_;
};

} // namespace folivane::engine
