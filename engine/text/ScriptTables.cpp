// OpenCC's standard configurations, fed only what it reads safely, its dictionaries read into
// tables that find words faster than its own converter.
#include "ScriptTables.h"

#include "UnicodeText.h"

#include <opencc/Config.hpp>
#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/Dict.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/DictGroup.hpp>
#include <opencc/Exception.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MaxMatchSegmentation.hpp>

#include <map>
#include <stdexcept>

namespace folivane::engine {
namespace {

// Adds the dictionary's words and what each becomes to `tables`. A group's dictionaries are
// read in turn, an earlier one's word standing, as the group answers for a word. Counts the
// words of more than one character of each dictionary in `longWords`.
void AddWords(const opencc::Dict& dictionary, ScriptDictionary& tables,
              std::map<const opencc::Dict*, std::size_t>& longWords) {
    if (const auto* group = dynamic_cast<const opencc::DictGroup*>(&dictionary)) {
        for (const opencc::DictPtr& member : group->GetDicts())
            AddWords(*member, tables, longWords);
        return;
    }
    const opencc::LexiconPtr lexicon = dictionary.GetLexicon();
    tables.Reserve(lexicon->Length());
    std::size_t& longOnes = longWords[&dictionary];
    for (const std::unique_ptr<opencc::DictEntry>& entry : *lexicon) {
        const std::string word = entry->Key();
        if (word.empty()) continue;
        if (FindInvalidUtf8(word) != word.size())
            throw std::runtime_error("A word of its dictionary is not UTF-8.");
        tables.Add(word, entry->GetDefault());
        longOnes += Utf8Length(word[0]) < word.size();
    }
}

ScriptDictionary Tables(const opencc::Dict& dictionary,
                        std::map<const opencc::Dict*, std::size_t>& longWords) {
    ScriptDictionary tables;
    AddWords(dictionary, tables, longWords);
    return tables;
}

} // namespace

ScriptTables ReadScriptTables(const std::string& file) {
    ScriptTables tables;
    try {
        const opencc::ConverterPtr converter = opencc::Config().NewFromFile(file);
        const auto segmentation =
            std::dynamic_pointer_cast<opencc::MaxMatchSegmentation>(converter->GetSegmentation());
        if (!segmentation) throw std::runtime_error("Its segmentation is not by longest words.");
        std::map<const opencc::Dict*, std::size_t> longWords;
        for (const opencc::ConversionPtr& conversion :
             converter->GetConversionChain()->GetConversions())
            tables.chain.push_back(Tables(*conversion->GetDict(), longWords));
        if (tables.chain.empty()) throw std::runtime_error("It has no conversions.");
        // The segmentation's dictionary is often one of the first conversion's group, and the
        // group's other words single characters: then it need not be read again.
        const auto own = longWords.find(segmentation->GetDict().get());
        tables.fused = own != longWords.end() && own->second == tables.chain.front().LongWords();
        if (!tables.fused) {
            tables.segmentation = Tables(*segmentation->GetDict(), longWords);
            tables.fused = tables.segmentation.SameLongWords(tables.chain.front());
        }
    } catch (const opencc::Exception& e) {
        throw std::runtime_error(e.what());
    }
    return tables;
}

} // namespace folivane::engine
