// The cover's page: a head in the book's version, then the picture filling the page.
#include "TitlePage.h"

#include "Html5Head.h"
#include "XmlText.h"

namespace folivane::engine {
namespace {

// What the title page holds after the opening of its head, the same in every EPUB version.
std::string TitlePageRest(const std::string& coverExtension, const std::string& title,
                          const std::string& alternative) {
    return "<title>" + EscapeXmlText(title) +
           "</title><style type=\"text/css\" title=\"override_css\">@page "
           "{padding: 0pt; margin:0pt}body {text-align: center; padding:0pt; margin: 0pt;} div "
           "{ margin: 0pt; padding: 0pt; }</style></head><body><div><img src=\"" +
           CoverFileName(coverExtension) + "\" alt=\"" + EscapeXmlAttribute(alternative) +
           "\" style=\"height: 100%\"/></div></body></html>";
}

} // namespace

std::string TitlePage(const std::string& coverExtension, const std::string& language,
                      EpubVersion version, const std::string& title,
                      const std::string& alternative) {
    std::string page;
    if (version == EpubVersion::Epub3) {
        AppendHtml5Head(page, language);
    } else {
        page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html "
               "xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"" +
               EscapeXmlAttribute(language) +
               "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=UTF-8\"/>";
    }
    return page + TitlePageRest(coverExtension, title, alternative);
}

} // namespace folivane::engine
