// XML documents parsed with libxml2 and asked with XPath: checks of what a document says.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace folivane::test {

// A parsed document. XPath expressions may use these prefixes: opf (package), dc (Dublin
// Core), ncx, h (XHTML), epub (the EPUB 3 attributes) and ocf (container.xml).
class XmlTree {
public:
    // A node of the tree to ask further, relative XPath from there.
    class Node {
    public:
        std::vector<Node> Nodes(const std::string& xpath) const;
        // The string value of each selected node: an element's text, an attribute's value.
        std::vector<std::string> Values(const std::string& xpath) const;
        // The first of them; empty when nothing is selected.
        std::string Value(const std::string& xpath) const;
        std::size_t Count(const std::string& xpath) const { return Values(xpath).size(); }

    private:
        friend class XmlTree;
        Node(const XmlTree* tree, _xmlNode* node) : tree_(tree), node_(node) {}
        const XmlTree* tree_;
        _xmlNode* node_;
    };

    explicit XmlTree(std::string_view text);
    ~XmlTree();
    XmlTree(const XmlTree&) = delete;
    XmlTree& operator=(const XmlTree&) = delete;

    // Empty when the text is well-formed XML, else what the parser found first.
    const std::string& Error() const { return error_; }
    // The document node: absolute and relative XPath alike start there.
    Node Document() const;
    std::vector<Node> Nodes(const std::string& xpath) const { return Document().Nodes(xpath); }
    std::vector<std::string> Values(const std::string& xpath) const {
        return Document().Values(xpath);
    }
    std::string Value(const std::string& xpath) const { return Document().Value(xpath); }
    std::size_t Count(const std::string& xpath) const { return Document().Count(xpath); }
    // The name the document type declaration gives the root ("html", "ncx"); empty for none.
    std::string Doctype() const;
    // The encoding the XML declaration names; empty when it names none.
    std::string Encoding() const;

private:
    struct FreeDoc {
        void operator()(_xmlDoc* doc) const;
    };
    std::unique_ptr<_xmlDoc, FreeDoc> doc_;
    std::string error_;
};

// A table of contents as a reader shows it: each entry's label, the page it opens, and the
// entries within it.
struct Outline {
    std::string label;
    std::string target;
    std::vector<Outline> within;
    bool operator==(const Outline&) const = default;
};
void PrintTo(const Outline& entry, std::ostream* out);

// The entries of toc.ncx's navMap, and those of the <ol> of a navigation document's <nav>
// of `type` ("toc", "landmarks").
std::vector<Outline> NcxOutline(const XmlTree& ncx);
std::vector<Outline> NavOutline(const XmlTree& nav, const std::string& type);

} // namespace folivane::test
