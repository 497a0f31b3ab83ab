// Details and accessibility metadata of the package document.
#include "PackageMetadata.h"

#include "XmlText.h"

#include "engine/text/AsciiText.h"

namespace folivane::engine {
namespace {

void AppendElement(std::string& opf, std::string_view name, const std::string& text,
                   std::string_view attributes = {}) {
    if (IsEmptyInXml(text)) return;
    opf += '<';
    opf += name;
    opf += attributes;
    opf += '>';
    AppendEscapedXmlText(opf, text);
    opf += "</";
    opf += name;
    opf += '>';
}

void AppendProperty(std::string& opf, std::string_view property, const std::string& value,
                    std::string_view attributes = {}) {
    opf += "<meta property=\"";
    opf += property;
    opf += '"';
    opf += attributes;
    opf += '>';
    AppendEscapedXmlText(opf, value);
    opf += "</meta>";
}

// A contributor in `role` (a MARC relator code): refined by id in EPUB 3, opf:role in EPUB 2.
void AppendContributor(std::string& opf, const std::string& name, std::string_view role,
                       const std::string& id, bool epub3) {
    if (IsEmptyInXml(name)) return;
    if (!epub3) {
        AppendElement(opf, "dc:contributor", name, " opf:role=\"" + std::string(role) + "\"");
        return;
    }
    AppendElement(opf, "dc:contributor", name, " id=\"" + id + "\"");
    AppendProperty(opf, "role", std::string(role),
                   " refines=\"#" + id + "\" scheme=\"marc:relators\"");
}

} // namespace

void AppendBookDetails(std::string& opf, const BookMetadata& book) {
    const BookDetails& details = book.details;
    const bool epub3 = book.epubVersion == EpubVersion::Epub3;
    if (!details.isbn.empty())
        AppendElement(opf, "dc:identifier", "urn:isbn:" + details.isbn,
                      epub3 ? " id=\"isbn\"" : " id=\"isbn\" opf:scheme=\"ISBN\"");
    AppendElement(opf, "dc:description", details.description);
    for (const std::string& subject : details.subjects)
        AppendElement(opf, "dc:subject", subject);
    AppendElement(opf, "dc:date", details.date, epub3 ? "" : " opf:event=\"publication\"");
    AppendElement(opf, "dc:rights", details.rights);
    AppendContributor(opf, details.translator, "trl", "translator", epub3);
    for (std::size_t i = 0; i < details.contributors.size(); ++i)
        AppendContributor(opf, details.contributors[i], "ctb",
                          "contributor" + std::to_string(i + 1), epub3);
    if (IsEmptyInXml(details.series)) return;
    if (epub3) {
        AppendProperty(opf, "belongs-to-collection", details.series, " id=\"series\"");
        AppendProperty(opf, "collection-type", "series", " refines=\"#series\"");
        if (!details.seriesIndex.empty())
            AppendProperty(opf, "group-position", details.seriesIndex, " refines=\"#series\"");
    }
    // calibre's names, which most readers' libraries read in books of either version.
    opf += "<meta name=\"calibre:series\" content=\"" + EscapeXmlAttribute(details.series) + "\"/>";
    if (!details.seriesIndex.empty())
        opf += "<meta name=\"calibre:series_index\" content=\"" +
               EscapeXmlAttribute(details.seriesIndex) + "\"/>";
}

AccessibilitySummary AccessibilitySummaryFor(const std::string& bookLanguage, bool hasCover) {
    const std::string tag = AsciiLowered(bookLanguage);
    const auto is = [&tag](std::string_view language) {
        return tag == language || tag.starts_with(std::string(language) + "-");
    };
    if (is("ja"))
        return {"ja",
                std::string("目次と読む順序があり、見出しで移動できます。各ページに言語と題名が"
                            "示されています。危険のある内容はありません。") +
                    (hasCover ? "表紙の画像には題名と著者名の代替テキストがあります。" : "")};
    if (is("zh")) {
        const bool traditional = is("zh-hant") || is("zh-tw") || is("zh-hk") || is("zh-mo");
        if (traditional)
            return {"zh-Hant",
                    std::string("本書有目錄和閱讀順序，可依標題瀏覽；每一頁都標明語言和標題。"
                                "沒有危險內容。") +
                        (hasCover ? "封面圖片有書名和作者的替代文字。" : "")};
        return {"zh-Hans",
                std::string("本书有目录和阅读顺序，可按标题浏览；每一页都标明语言和标题。"
                            "没有危险内容。") +
                    (hasCover ? "封面图片有书名和作者的替代文字。" : "")};
    }
    return {"en", std::string("The book has a table of contents, a reading order and headings "
                              "to move by; every page names its language and has a title. It "
                              "holds no hazards.") +
                      (hasCover ? " The cover picture has its title and author as alternative "
                                  "text."
                                : "")};
}

void AppendAccessibility(std::string& opf, const BookMetadata& book, bool hasCover, bool ruby) {
    AppendProperty(opf, "schema:accessMode", "textual");
    // The cover is a picture; its alternative text makes the text alone sufficient.
    if (hasCover) AppendProperty(opf, "schema:accessMode", "visual");
    AppendProperty(opf, "schema:accessModeSufficient", "textual");
    for (const char* feature : {"tableOfContents", "readingOrder", "structuralNavigation"})
        AppendProperty(opf, "schema:accessibilityFeature", feature);
    if (hasCover) AppendProperty(opf, "schema:accessibilityFeature", "alternativeText");
    if (ruby) AppendProperty(opf, "schema:accessibilityFeature", "rubyAnnotations");
    AppendProperty(opf, "schema:accessibilityHazard", "none");
    const AccessibilitySummary summary = AccessibilitySummaryFor(book.language, hasCover);
    AppendProperty(opf, "schema:accessibilitySummary", summary.text,
                   " xml:lang=\"" + summary.language + "\"");
}

std::string CoverAlternativeText(const BookMetadata& book) {
    if (IsEmptyInXml(book.author)) return book.title;
    return book.title + " \xE2\x80\x94 " + book.author; // —
}

} // namespace folivane::engine
