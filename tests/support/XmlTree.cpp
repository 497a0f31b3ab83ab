// Parsing with libxml2 and XPath over the parsed tree.
#include "XmlTree.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <stdexcept>

namespace folivane::test {
namespace {

const xmlChar* Xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

std::string Text(const xmlChar* text) {
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

struct XPathResult {
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context{nullptr,
                                                                             xmlXPathFreeContext};
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> object{nullptr,
                                                                          xmlXPathFreeObject};
};

XPathResult Evaluate(xmlDoc* doc, xmlNode* node, const std::string& xpath) {
    XPathResult result;
    result.context.reset(xmlXPathNewContext(doc));
    if (!result.context) throw std::bad_alloc();
    const std::pair<const char*, const char*> prefixes[] = {
        {"opf", "http://www.idpf.org/2007/opf"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"ncx", "http://www.daisy.org/z3986/2005/ncx/"},
        {"h", "http://www.w3.org/1999/xhtml"},
        {"epub", "http://www.idpf.org/2007/ops"},
        {"ocf", "urn:oasis:names:tc:opendocument:xmlns:container"},
    };
    for (const auto& [prefix, uri] : prefixes)
        xmlXPathRegisterNs(result.context.get(), Xml(prefix), Xml(uri));
    result.context->node = node;
    result.object.reset(xmlXPathEvalExpression(Xml(xpath.c_str()), result.context.get()));
    if (!result.object) throw std::invalid_argument("XPath expression does not compile: " + xpath);
    return result;
}

void PrintEntries(const std::vector<Outline>& entries, std::ostream* out) {
    *out << "[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        *out << (i ? ", " : "");
        PrintTo(entries[i], out);
    }
    *out << "]";
}

} // namespace

void XmlTree::FreeDoc::operator()(_xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

XmlTree::XmlTree(std::string_view text) {
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> parser(xmlNewParserCtxt(),
                                                                        xmlFreeParserCtxt);
    if (!parser) throw std::bad_alloc();
    // Never fetches a DTD: the documents must stand on their own.
    doc_.reset(xmlCtxtReadMemory(parser.get(), text.data(), static_cast<int>(text.size()),
                                 "document.xml", nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc_ || !parser->wellFormed) {
        const xmlError* error = xmlCtxtGetLastError(parser.get());
        error_ = error && error->message ? error->message : "not well-formed";
        if (error) error_ = "line " + std::to_string(error->line) + ": " + error_;
        if (error_.empty()) error_ = "not well-formed";
    }
}

XmlTree::~XmlTree() = default;

XmlTree::Node XmlTree::Document() const {
    return Node(this, reinterpret_cast<xmlNode*>(doc_.get()));
}

std::string XmlTree::Doctype() const {
    const xmlDtd* dtd = doc_ ? xmlGetIntSubset(doc_.get()) : nullptr;
    return dtd ? Text(dtd->name) : std::string();
}

std::string XmlTree::Encoding() const {
    return doc_ ? Text(doc_->encoding) : std::string();
}

std::vector<XmlTree::Node> XmlTree::Node::Nodes(const std::string& xpath) const {
    std::vector<Node> nodes;
    if (!node_) return nodes;
    const XPathResult result = Evaluate(tree_->doc_.get(), node_, xpath);
    const xmlNodeSet* set = result.object->nodesetval;
    for (int i = 0; set && i < set->nodeNr; ++i)
        nodes.push_back(Node(tree_, set->nodeTab[i]));
    return nodes;
}

std::vector<std::string> XmlTree::Node::Values(const std::string& xpath) const {
    std::vector<std::string> values;
    if (!node_) return values;
    const XPathResult result = Evaluate(tree_->doc_.get(), node_, xpath);
    if (result.object->type != XPATH_NODESET) {
        xmlChar* text = xmlXPathCastToString(result.object.get());
        values.push_back(Text(text));
        xmlFree(text);
        return values;
    }
    const xmlNodeSet* set = result.object->nodesetval;
    for (int i = 0; set && i < set->nodeNr; ++i) {
        xmlChar* text = xmlNodeGetContent(set->nodeTab[i]);
        values.push_back(Text(text));
        xmlFree(text);
    }
    return values;
}

std::string XmlTree::Node::Value(const std::string& xpath) const {
    const std::vector<std::string> values = Values(xpath);
    return values.empty() ? std::string() : values.front();
}

void PrintTo(const Outline& entry, std::ostream* out) {
    *out << "{\"" << entry.label << "\" -> " << entry.target;
    if (!entry.within.empty()) {
        *out << " ";
        PrintEntries(entry.within, out);
    }
    *out << "}";
}

namespace {

std::vector<Outline> NcxEntries(const XmlTree::Node& parent) {
    std::vector<Outline> entries;
    for (const XmlTree::Node& point : parent.Nodes("ncx:navPoint"))
        entries.push_back({point.Value("ncx:navLabel/ncx:text"), point.Value("ncx:content/@src"),
                           NcxEntries(point)});
    return entries;
}

std::vector<Outline> NavEntries(const XmlTree::Node& list) {
    std::vector<Outline> entries;
    for (const XmlTree::Node& item : list.Nodes("h:li"))
        entries.push_back(
            {item.Value("h:a"), item.Value("h:a/@href"),
             item.Count("h:ol") ? NavEntries(item.Nodes("h:ol").front()) : std::vector<Outline>()});
    return entries;
}

} // namespace

std::vector<Outline> NcxOutline(const XmlTree& ncx) {
    const std::vector<XmlTree::Node> maps = ncx.Nodes("/ncx:ncx/ncx:navMap");
    return maps.empty() ? std::vector<Outline>() : NcxEntries(maps.front());
}

std::vector<Outline> NavOutline(const XmlTree& nav, const std::string& type) {
    const std::vector<XmlTree::Node> lists = nav.Nodes("//h:nav[@epub:type='" + type + "']/h:ol");
    return lists.empty() ? std::vector<Outline>() : NavEntries(lists.front());
}

} // namespace folivane::test
