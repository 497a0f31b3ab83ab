// Fuzz target: any UTF-8 text in the notation of Japanese archive texts gives chapter pages,
// headed or not, of either EPUB version, that libxml2 reads as well-formed; EPUB 2 pages hold
// no ruby, and no page leaves a ruby or a reading mark open in its markup.
#include "engine/epub/ChapterPage.h"
#include "engine/text/UnicodeText.h"

#include <libxml/parser.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

namespace engine = folivane::engine;

bool WellFormed(const std::string& text) {
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) __builtin_trap();
    xmlDocPtr doc =
        xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), "page.xhtml",
                          "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool wellFormed = doc && context->wellFormed && context->nsWellFormed;
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return wellFormed;
}

std::size_t Count(const std::string& text, std::string_view what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Pages are written from decoded text, which is always UTF-8.
    if (engine::FindInvalidUtf8(bytes) != bytes.size()) return 0;
    for (const engine::EpubVersion version :
         {engine::EpubVersion::Epub2, engine::EpubVersion::Epub3})
        for (const engine::HeadingKind heading :
             {engine::HeadingKind::None, engine::HeadingKind::Chapter}) {
            const std::string page =
                engine::BuildChapterPage("p", bytes, heading, "ja", version, {.notation = true});
            if (!WellFormed(page)) __builtin_trap();
            const std::size_t rubies = Count(page, "<ruby>");
            if (version == engine::EpubVersion::Epub2 && rubies != 0) __builtin_trap();
            if (rubies != Count(page, "</ruby>") || rubies != Count(page, "<rt>")) __builtin_trap();
        }
    return 0;
}
