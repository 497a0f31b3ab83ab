// Fuzz target: any title, author, publisher, chapter names and text give content.opf, toc.ncx,
// nav.xhtml and chapter pages, of either EPUB version, that libxml2 reads as well-formed,
// holding the same text (in pages, but for the white space between lines).
#include "engine/chapters/ChapterList.h"
#include "engine/epub/ChapterPage.h"
#include "engine/epub/Cover.h"
#include "engine/epub/NavigationDocument.h"
#include "engine/epub/NcxDocument.h"
#include "engine/epub/PackageDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace engine = folivane::engine;

// Fields of the input are separated by this byte, which therefore never reaches a field.
constexpr char kSeparator = '\x1E';

struct XmlDoc {
    xmlDocPtr doc = nullptr;
    ~XmlDoc() { xmlFreeDoc(doc); }
};

// Parses `text`; null unless it is well-formed XML with well-formed namespaces.
xmlDocPtr Parse(const std::string& text) {
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) __builtin_trap();
    xmlDocPtr doc =
        xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), "document.xml",
                          "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const bool wellFormed = doc && context->wellFormed && context->nsWellFormed;
    xmlFreeParserCtxt(context);
    if (!wellFormed) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

std::string Content(xmlNodePtr node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::vector<xmlNodePtr> Elements(xmlNodePtr parent, const char* name = nullptr) {
    std::vector<xmlNodePtr> found;
    for (xmlNodePtr child = parent ? parent->children : nullptr; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE &&
            (!name || xmlStrcmp(child->name, reinterpret_cast<const xmlChar*>(name)) == 0))
            found.push_back(child);
    return found;
}

xmlNodePtr Only(xmlNodePtr parent, const char* name) {
    const std::vector<xmlNodePtr> found = Elements(parent, name);
    if (found.size() != 1) __builtin_trap();
    return found[0];
}

// What a parser gives back for `text` written as element content: without the characters
// XML forbids, and with CR LF and lone CR read as LF. None when `text` is not strict UTF-8,
// whose damaged bytes the writers drop by their own rule.
std::optional<std::string> AsParsed(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80             ? 1
                                   : (c & 0xE0) == 0xC0 ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                                        : 4;
        if ((c >= 0x80 && c < 0xC2) || c > 0xF4 || i + length > text.size()) return std::nullopt;
        std::uint32_t code = length == 1 ? c : c & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (t & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        const bool forbidden = (code < 0x20 && code != '\t' && code != '\n' && code != '\r') ||
                               code == 0xFFFE || code == 0xFFFF;
        if (!forbidden) out.append(text.substr(i, length));
        i += length;
    }
    // Line ends are read after the forbidden characters are gone: CR, a control, LF
    // reaches the parser as CR LF.
    std::string parsed;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] != '\r') {
            parsed += out[i];
            continue;
        }
        parsed += '\n';
        if (i + 1 < out.size() && out[i + 1] == '\n') ++i;
    }
    return parsed;
}

// The paragraphs of a chapter page: one per line, one empty paragraph for an empty text.
// The lines of a text as paragraphs show them: without their indentation (spaces, tabs,
// U+3000), one empty paragraph for no line at all.
// `text` without its white space: what joining lines into paragraphs may change.
std::string WithoutSpace(std::string_view text) {
    static const std::string_view kSpaces[] = {"\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80",
                                               "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF",
                                               "\xE2\x81\x9F", "\xE3\x80\x80", "\xEF\xBB\xBF"};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == ' ' || (c >= '\t' && c <= '\r')) {
            ++i;
            continue;
        }
        // U+2000 to U+200A, then the others.
        if (text.substr(i, 2) == "\xE2\x80" && i + 2 < text.size() &&
            static_cast<unsigned char>(text[i + 2]) <= 0x8A) {
            i += 3;
            continue;
        }
        bool space = false;
        for (const std::string_view s : kSpaces)
            if (text.substr(i, s.size()) == s) {
                i += s.size();
                space = true;
                break;
            }
        if (!space) out += text[i++];
    }
    return out;
}

void ExpectText(xmlNodePtr node, std::string_view written) {
    const std::optional<std::string> expected = AsParsed(written);
    if (expected && Content(node) != *expected) __builtin_trap();
}

// A table of contents names a page by its name, or by its number when the name would show
// nothing.
void ExpectLabel(xmlNodePtr node, std::string_view name, std::size_t index) {
    const std::optional<std::string> parsed = AsParsed(name);
    if (parsed && parsed->find_first_not_of(" \t\n") == std::string::npos)
        ExpectText(node, std::to_string(index + 1));
    else
        ExpectText(node, name);
}

// The author or publisher: there as given, or left out, in both versions, when nothing but
// XML's white space would be left of it.
void ExpectMetadata(xmlNodePtr metadata, const char* name, std::string_view value) {
    const std::vector<xmlNodePtr> found = Elements(metadata, name);
    if (found.size() == 1) {
        ExpectText(Only(metadata, name), value);
        return;
    }
    const std::optional<std::string> parsed = AsParsed(value);
    if (!found.empty() || (parsed && parsed->find_first_not_of(" \t\n") != std::string::npos))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = (xmlInitParser(), true);
    (void)initialised;
    if (size == 0) return 0;
    // The first byte tells whether the book has a cover and its EPUB version; the rest are
    // fields: title, author, publisher, then a name and a text for each chapter.
    const bool withCover = data[0] & 1;
    const int version = data[0] & 2 ? 3 : 2;
    std::vector<std::string> fields;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t start = 0;;) {
        const std::size_t end = rest.find(kSeparator, start);
        fields.emplace_back(rest.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    fields.resize(std::max<std::size_t>(fields.size(), 3));
    engine::BookMetadata book{fields[0], fields[1], fields[2],
                              "0f0e0d0c-0b0a-4908-8706-050403020100"};
    book.epubVersion = static_cast<engine::EpubVersion>(version);
    engine::TChapterList chapters;
    for (std::size_t i = 3; i < fields.size(); i += 2)
        chapters.push_back({fields[i], "/unused.txt"});
    const engine::CoverImage cover{"png", "image/png", ""};

    XmlDoc opf{Parse(engine::BuildContentOpf(book, chapters.size(), withCover ? &cover : nullptr))};
    if (!opf.doc) __builtin_trap();
    // Nothing the user typed may add or remove an element of the metadata: title, identifier,
    // author, publisher, source, language, the cover's meta and EPUB 3's modification time
    // and accessibility metadata (seven properties, two more for the cover's picture).
    xmlNodePtr metadata = Only(xmlDocGetRootElement(opf.doc), "metadata");
    const std::size_t others = Elements(metadata).size() - Elements(metadata, "creator").size() -
                               Elements(metadata, "publisher").size();
    const std::size_t epub3 = version == 3 ? 1u + 7u + (withCover ? 2u : 0u) : 0u;
    if (others != (withCover ? 5u : 4u) + epub3) __builtin_trap();
    ExpectText(Only(metadata, "title"), book.title);
    ExpectMetadata(metadata, "creator", book.author);
    ExpectMetadata(metadata, "publisher", book.publisher);

    XmlDoc ncx{Parse(engine::BuildTocNcx(book, chapters))};
    if (!ncx.doc) __builtin_trap();
    xmlNodePtr root = xmlDocGetRootElement(ncx.doc);
    ExpectText(Only(Only(root, "docTitle"), "text"), book.title);
    const std::vector<xmlNodePtr> points = Elements(Only(root, "navMap"), "navPoint");
    if (points.size() != chapters.size()) __builtin_trap();
    for (std::size_t i = 0; i < points.size(); ++i)
        ExpectLabel(Only(Only(points[i], "navLabel"), "text"), chapters[i].Name, i);

    if (version == 3) {
        XmlDoc nav{Parse(engine::BuildNavigationDocument(book, chapters, withCover))};
        if (!nav.doc) __builtin_trap();
        xmlNodePtr html = xmlDocGetRootElement(nav.doc);
        ExpectText(Only(Only(html, "head"), "title"), book.title);
        const std::vector<xmlNodePtr> lists = Elements(Only(html, "body"), "nav");
        if (lists.size() != 2) __builtin_trap();
        const std::vector<xmlNodePtr> items = Elements(Only(lists[0], "ol"), "li");
        if (items.size() != chapters.size()) __builtin_trap();
        for (std::size_t i = 0; i < items.size(); ++i)
            ExpectLabel(Only(items[i], "a"), chapters[i].Name, i);
    }

    for (std::size_t i = 3; i < fields.size(); i += 2) {
        const std::string& text = i + 1 < fields.size() ? fields[i + 1] : fields[0];
        // Each page in one of the paragraph styles, by its place.
        const auto choice = static_cast<engine::ParagraphChoice>((i / 2) % 4);
        XmlDoc page{Parse(engine::BuildChapterPage(fields[i], text, engine::HeadingKind::None,
                                                   "zh-CN", book.epubVersion,
                                                   {engine::ParagraphShapeOf(text, choice)}))};
        if (!page.doc) __builtin_trap();
        xmlNodePtr html = xmlDocGetRootElement(page.doc);
        ExpectText(Only(Only(html, "head"), "title"), fields[i]);
        // Paragraphs and breaks only, holding every character of the text in order; only
        // the white space between lines may change.
        std::string shown;
        for (xmlNodePtr block : Elements(Only(html, "body"))) {
            if (xmlStrcmp(block->name, reinterpret_cast<const xmlChar*>("p")) != 0 &&
                xmlStrcmp(block->name, reinterpret_cast<const xmlChar*>("hr")) != 0)
                __builtin_trap();
            shown += Content(block);
        }
        if (const std::optional<std::string> expected = AsParsed(text);
            expected && WithoutSpace(shown) != WithoutSpace(*expected))
            __builtin_trap();
    }
    return 0;
}
