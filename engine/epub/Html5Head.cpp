// One doctype and root element for the pages, the cover page and the navigation document.
#include "Html5Head.h"

#include "XmlText.h"

namespace folivane::engine {

void AppendHtml5Head(std::string& out, std::string_view language) {
    // Both attributes hold the tag: XML readers look at xml:lang, HTML ones at lang.
    const std::string tag = EscapeXmlAttribute(language);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE html><html "
           "xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" "
           "xml:lang=\"";
    out += tag;
    out += "\" lang=\"";
    out += tag;
    out += "\"><head><meta charset=\"utf-8\"/>";
}

} // namespace folivane::engine
