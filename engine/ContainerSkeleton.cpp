// Folders and fixed documents of the book folder.
#include "ContainerSkeleton.h"

#include "DocumentWriter.h"
#include "Html5Head.h"
#include "XmlText.h"

#include "platform/FolderTree.h"

namespace folivane::engine {

const char* const kMimetype = "application/epub+zip";

const char* const kContainerXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><container version=\"1.0\" "
    "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles><rootfile "
    "full-path=\"OEBPS/content.opf\" "
    "media-type=\"application/oebps-package+xml\"/></rootfiles></container>";

// Headings get a rule each: FBReader ignores rules whose selectors are grouped ("h1,h2").
const char* const kMainCss =
    "body {padding:0%;margin-top:0%;margin-bottom:0%;margin-left:1%;margin-right:1%;line-height:"
    "130%;text-align:justify;font-family:serif;}p{text-align:justify;text-indent:2em;line-height:"
    "130%;margin-bottom:-0.8em;}h1{text-align:center;}h2{text-align:center;}";

namespace {

// What the title page holds after the opening of its head, the same in every EPUB version.
std::string TitlePageRest(const std::string& coverExtension) {
    return "<title>Cover</title><style type=\"text/css\" title=\"override_css\">@page "
           "{padding: 0pt; margin:0pt}body {text-align: center; padding:0pt; margin: 0pt;} div "
           "{ margin: 0pt; padding: 0pt; }</style></head><body><div><img src=\"cover." +
           coverExtension + "\" alt=\"cover\" style=\"height: 100%\"/></div></body></html>";
}

} // namespace

std::string TitlePage(const std::string& coverExtension, const std::string& language,
                      int epubVersion) {
    std::string page;
    if (epubVersion == 3) {
        AppendHtml5Head(page, language);
    } else {
        page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html "
               "xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"" +
               EscapeXmlAttribute(language) +
               "\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=UTF-8\"/>";
    }
    return page + TitlePageRest(coverExtension);
}

void WriteContainerSkeleton(const std::string& bookFolder,
                            const std::optional<std::string>& coverExtension,
                            const std::string& language, int epubVersion) {
    // A folder that exists already is fine; one that cannot be made shows up as the
    // failure to write the first document in it.
    for (const char* folder : {"", "META-INF", "OEBPS", "OEBPS/css"})
        platform::MakeFolder(bookFolder + folder);
    WriteDocument(bookFolder + "mimetype", kMimetype);
    WriteDocument(bookFolder + "META-INF/container.xml", kContainerXml);
    WriteDocument(bookFolder + "OEBPS/css/main.css", kMainCss);
    if (coverExtension)
        WriteDocument(bookFolder + "OEBPS/titlepage.xhtml",
                      TitlePage(*coverExtension, language, epubVersion));
}

} // namespace folivane::engine
