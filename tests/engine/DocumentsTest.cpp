// The book's documents as readers read them: the container, package, tables of contents,
// title page and style sheet, each parsed and asked what it says.
#include "engine/epub/BookDocuments.h"
#include "engine/epub/NavigationDocument.h"
#include "engine/epub/NcxDocument.h"
#include "engine/epub/PackageDocument.h"
#include "engine/epub/PageLabel.h"
#include "engine/epub/TitlePage.h"
#include "support/TestSupport.h"
#include "support/XmlTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <set>

namespace folivane::engine {
namespace {

using test::NavOutline;
using test::NcxOutline;
using test::Outline;
using test::XmlTree;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

// Keeps every document by its name, and the order they came in.
class Documents : public DocumentSink {
public:
    void Add(const std::string& name, std::string_view bytes, const FileList*) override {
        names.push_back(name);
        bytes_[name] = std::string(bytes);
    }
    const std::string& operator[](const std::string& name) { return bytes_[name]; }
    bool Has(const std::string& name) const { return bytes_.contains(name); }
    std::vector<std::string> names;

private:
    std::map<std::string, std::string> bytes_;
};

const char* const kUuid = "0f0e0d0c-0b0a-4908-8706-050403020100";
const BookMetadata kBook{"Book", "", "", kUuid};

TEST(BookDocuments, MimetypeAndContainerLeadReadersToThePackage) {
    Documents documents;
    MakeBookDocuments(kBook, {}, nullptr, "", documents);
    // Readers compare these bytes as they are.
    EXPECT_EQ(documents["mimetype"], "application/epub+zip");
    const XmlTree container(documents["META-INF/container.xml"]);
    ASSERT_EQ(container.Error(), "");
    const Strings packages =
        container.Values("/ocf:container/ocf:rootfiles/ocf:rootfile/@full-path");
    ASSERT_EQ(packages, Strings{"OEBPS/content.opf"});
    EXPECT_TRUE(documents.Has(packages[0]));
    EXPECT_EQ(container.Value("//ocf:rootfile/@media-type"), "application/oebps-package+xml");
}

// A style sheet's rules as selector -> property -> value, or nothing when it does not parse
// as plain rules.
std::optional<std::map<std::string, std::map<std::string, std::string>>>
CssRules(std::string_view css) {
    const auto trim = [](std::string_view text) {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
            text.remove_prefix(1);
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
            text.remove_suffix(1);
        return std::string(text);
    };
    std::map<std::string, std::map<std::string, std::string>> rules;
    while (!trim(css).empty()) {
        const auto open = css.find('{');
        const auto close = css.find('}');
        if (open == css.npos || close == css.npos || close < open) return std::nullopt;
        auto& rule = rules[trim(css.substr(0, open))];
        std::string_view declarations = css.substr(open + 1, close - open - 1);
        while (!trim(declarations).empty()) {
            const auto end = std::min(declarations.find(';'), declarations.size());
            const std::string_view declaration = declarations.substr(0, end);
            const auto colon = declaration.find(':');
            if (colon == declaration.npos) return std::nullopt;
            rule[trim(declaration.substr(0, colon))] = trim(declaration.substr(colon + 1));
            declarations.remove_prefix(std::min(end + 1, declarations.size()));
        }
        css.remove_prefix(close + 1);
    }
    return rules;
}

TEST(BookDocuments, StyleSheetIndentsParagraphsAndCentresHeadings) {
    Documents documents;
    MakeBookDocuments(kBook, {}, nullptr, "", documents);
    const auto rules = CssRules(documents["OEBPS/css/main.css"]);
    ASSERT_TRUE(rules) << documents["OEBPS/css/main.css"];
    for (const auto& [selector, declarations] : *rules) {
        // FBReader ignores grouped selectors ("h1,h2").
        EXPECT_EQ(selector.find(','), std::string::npos) << selector;
        EXPECT_NE(selector, "");
        for (const auto& [property, value] : declarations) {
            EXPECT_FALSE(property == "display" && value == "none") << selector;
            EXPECT_FALSE(property == "visibility" && value == "hidden") << selector;
        }
    }
    ASSERT_TRUE(rules->contains("p"));
    // The pages drop a text's own indentation: the paragraphs' indentation comes from here.
    const std::string indent =
        rules->at("p").contains("text-indent") ? rules->at("p").at("text-indent") : "";
    EXPECT_TRUE(!indent.empty() && indent[0] >= '1' && indent[0] <= '9') << indent;
    for (const char* heading : {"h1", "h2"}) {
        ASSERT_TRUE(rules->contains(heading)) << heading;
        EXPECT_EQ(rules->at(heading).at("text-align"), "center") << heading;
    }
}

TEST(BookDocuments, TitlePageShowsTheCoverPictureInEitherVersion) {
    for (const EpubVersion version : {EpubVersion::Epub2, EpubVersion::Epub3}) {
        SCOPED_TRACE(static_cast<int>(version));
        BookMetadata book = kBook;
        book.epubVersion = version;
        book.language = "en-GB";
        const CoverImage cover{"jpeg", "image/jpeg", "picture"};
        Documents documents;
        MakeBookDocuments(book, {}, &cover, "", documents);
        const XmlTree page(documents["OEBPS/titlepage.xhtml"]);
        ASSERT_EQ(page.Error(), "");
        const Strings pictures = page.Values("/h:html/h:body//h:img/@src");
        ASSERT_EQ(pictures, Strings{"cover.jpeg"});
        EXPECT_EQ(documents["OEBPS/" + pictures[0]], "picture");
        EXPECT_NE(page.Value("//h:img/@alt"), "");
        EXPECT_EQ(page.Value("/h:html/@xml:lang"), "en-GB");
        if (version == EpubVersion::Epub3) {
            EXPECT_EQ(page.Doctype(), "html");
            EXPECT_EQ(page.Value("/h:html/@lang"), "en-GB");
        }
    }
    const XmlTree png(TitlePage("png", "en", EpubVersion::Epub3));
    EXPECT_EQ(png.Value("//h:img/@src"), "cover.png");
}

TEST(BookDocuments, ComeInBookOrderWithTheCoverLastAndWithoutOneNoTitlePage) {
    const TChapterList chapters{{"one", "/a.txt", std::make_shared<std::string>("a"), 0, 1},
                                {"two", "/b.txt", std::make_shared<std::string>("b"), 0, 1}};
    Documents epub2;
    MakeBookDocuments(kBook, chapters, nullptr, "", epub2);
    EXPECT_THAT(epub2.names, ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/css/main.css",
                                         "OEBPS/0.html", "OEBPS/1.html", "OEBPS/contents.html",
                                         "OEBPS/content.opf", "OEBPS/toc.ncx"));
    BookMetadata book = kBook;
    book.epubVersion = EpubVersion::Epub3;
    const CoverImage cover{"gif", "image/gif", "GIF89a"};
    Documents epub3;
    MakeBookDocuments(book, chapters, &cover, "", epub3);
    // The cover comes after the pages, so that it can be made while they are.
    EXPECT_THAT(epub3.names, ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/css/main.css",
                                         "OEBPS/0.xhtml", "OEBPS/1.xhtml", "OEBPS/titlepage.xhtml",
                                         "OEBPS/cover.gif", "OEBPS/content.opf", "OEBPS/toc.ncx",
                                         "OEBPS/nav.xhtml"));
}

// What a package says, by file name instead of by the ids it gives its items.
struct Package {
    std::string version;
    Strings identifier; // the book's unique identifier, as the package names it
    std::map<std::string, std::string> manifest; // href -> media type
    Strings spine;                               // hrefs in reading order
    std::string ncx;                             // the spine's table of contents
};

Package ReadPackage(const XmlTree& opf) {
    Package package;
    package.version = opf.Value("/opf:package/@version");
    package.identifier =
        opf.Values("//opf:metadata/dc:identifier[@id=/opf:package/@unique-identifier]");
    std::set<std::string> ids;
    for (const XmlTree::Node& item : opf.Nodes("/opf:package/opf:manifest/opf:item")) {
        EXPECT_TRUE(ids.insert(item.Value("@id")).second) << "two items " << item.Value("@id");
        package.manifest[item.Value("@href")] = item.Value("@media-type");
    }
    const auto href = [&](const std::string& id) {
        return opf.Value("/opf:package/opf:manifest/opf:item[@id='" + id + "']/@href");
    };
    for (const std::string& id : opf.Values("/opf:package/opf:spine/opf:itemref/@idref"))
        package.spine.push_back(href(id));
    package.ncx = href(opf.Value("/opf:package/opf:spine/@toc"));
    return package;
}

// The properties of the manifest item for `href`.
std::string Properties(const XmlTree& opf, const std::string& href) {
    return opf.Value("/opf:package/opf:manifest/opf:item[@href='" + href + "']/@properties");
}

const std::string kXhtml = "application/xhtml+xml";

TEST(PackageDocument, Epub2ListsMetadataFilesReadingOrderAndTheCover) {
    const BookMetadata book{"T & U", "A \"Q\"", "", kUuid};
    const CoverImage cover{"png", "image/png", ""};
    const XmlTree opf(BuildContentOpf(book, 2, &cover));
    ASSERT_EQ(opf.Error(), "");
    const Package package = ReadPackage(opf);
    EXPECT_EQ(package.version, "2.0");
    EXPECT_EQ(package.identifier, Strings{"urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100"});
    EXPECT_EQ(opf.Values("//opf:metadata/dc:title"), Strings{"T & U"});
    EXPECT_EQ(opf.Values("//opf:metadata/dc:creator"), Strings{"A \"Q\""});
    EXPECT_EQ(opf.Count("//opf:metadata/dc:publisher"), 0u); // blank: left out
    EXPECT_EQ(opf.Values("//opf:metadata/dc:language"), Strings{"zh-CN"});
    EXPECT_EQ(opf.Values("//opf:metadata/dc:source"), Strings{"https://folivane.example/"});
    // EPUB 2 readers find the cover picture by the item this names.
    const std::string coverId = opf.Value("//opf:metadata/opf:meta[@name='cover']/@content");
    EXPECT_EQ(opf.Value("//opf:item[@id='" + coverId + "']/@href"), "cover.png");

    EXPECT_EQ(package.manifest, (std::map<std::string, std::string>{
                                    {"toc.ncx", "application/x-dtbncx+xml"},
                                    {"css/main.css", "text/css"},
                                    {"cover.png", "image/png"},
                                    {"titlepage.xhtml", kXhtml},
                                    {"contents.html", kXhtml},
                                    {"0.html", kXhtml},
                                    {"1.html", kXhtml},
                                }));
    EXPECT_EQ(package.spine, (Strings{"titlepage.xhtml", "0.html", "1.html"}));
    EXPECT_EQ(package.ncx, "toc.ncx");
    // Readers open at the text and find the cover and the contents page by the guide.
    EXPECT_EQ(opf.Values("//opf:guide/opf:reference/@type"), (Strings{"cover", "toc", "text"}));
    EXPECT_EQ(opf.Values("//opf:guide/opf:reference/@href"),
              (Strings{"titlepage.xhtml", "contents.html", "0.html"}));
    // EPUB 2 has no accessibility vocabulary.
    EXPECT_EQ(opf.Count("//opf:meta[starts-with(@property, 'schema:')]"), 0u);

    const XmlTree bare(BuildContentOpf(book, 1, nullptr));
    ASSERT_EQ(bare.Error(), "");
    EXPECT_EQ(ReadPackage(bare).spine, Strings{"0.html"});
    EXPECT_EQ(ReadPackage(bare).manifest.size(), 4u);
    EXPECT_EQ(bare.Count("//opf:meta[@name='cover'] | //opf:guide/*[@type='cover']"), 0u);
    EXPECT_EQ(bare.Values("//opf:guide/opf:reference/@type"), (Strings{"toc", "text"}));
}

TEST(PackageDocument, Epub3AddsModifiedNavAndCoverImageAndDropsEmptyMetadata) {
    BookMetadata book{"T & U", "A \"Q\"", "\x01", kUuid};
    book.epubVersion = EpubVersion::Epub3;
    book.modified = "2024-02-29T23:59:59Z";
    const CoverImage cover{"png", "image/png", ""};
    const XmlTree opf(BuildContentOpf(book, 2, &cover));
    ASSERT_EQ(opf.Error(), "");
    const Package package = ReadPackage(opf);
    EXPECT_EQ(package.version, "3.0");
    EXPECT_EQ(package.identifier, Strings{"urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100"});
    EXPECT_EQ(opf.Values("//opf:metadata/opf:meta[@property='dcterms:modified']"),
              Strings{"2024-02-29T23:59:59Z"});
    EXPECT_EQ(opf.Values("//opf:metadata/dc:creator"), Strings{"A \"Q\""});
    EXPECT_EQ(opf.Count("//opf:metadata/dc:publisher"), 0u); // nothing shows of "\x01"
    EXPECT_EQ(package.manifest.at("nav.xhtml"), kXhtml);
    EXPECT_EQ(Properties(opf, "nav.xhtml"), "nav");
    EXPECT_EQ(Properties(opf, "cover.png"), "cover-image");
    // The contents, which the landmarks and the guide name, out of the reading order.
    EXPECT_EQ(package.spine, (Strings{"titlepage.xhtml", "0.xhtml", "1.xhtml", "nav.xhtml"}));
    EXPECT_EQ(opf.Value("//opf:itemref[@idref='nav']/@linear"), "no");
    EXPECT_EQ(package.ncx, "toc.ncx"); // kept for older readers
    EXPECT_EQ(opf.Values("//opf:guide/opf:reference/@href"),
              (Strings{"titlepage.xhtml", "nav.xhtml#toc", "0.xhtml"}));

    book.author = "";
    book.publisher = "P";
    const XmlTree bare(BuildContentOpf(book, 1, nullptr));
    ASSERT_EQ(bare.Error(), "");
    EXPECT_EQ(bare.Count("//dc:creator"), 0u);
    EXPECT_EQ(bare.Values("//dc:publisher"), Strings{"P"});
    EXPECT_EQ(ReadPackage(bare).spine, (Strings{"0.xhtml", "nav.xhtml"}));
    EXPECT_EQ(bare.Count("//opf:item[@href='cover.png'] | //opf:guide/*[@type='cover']"), 0u);
}

// A page before a volume holding two chapters (one of two pages), and one after named by
// nothing but spaces.
TChapterList VolumeAndChapters() {
    TChapterList chapters(6);
    const char* names[] = {"Prologue", "Book One", "Chapter 1", "Chapter 1", "Ch 2 & <x>", " "};
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        chapters[i].Name = names[i];
        chapters[i].Level = i >= 2 && i <= 4 ? 1 : 0;
    }
    chapters[3].Listed = false;
    return chapters;
}

// The contents of VolumeAndChapters with pages named with `extension`.
std::vector<Outline> VolumeAndChaptersOutline(const std::string& extension) {
    return {{"Prologue", "0" + extension, {}},
            {"Book One",
             "1" + extension,
             {{"Chapter 1", "2" + extension, {}}, {"Ch 2 & <x>", "4" + extension, {}}}},
            {"6", "5" + extension, {}}}; // no name to show: the page's number
}

TEST(NcxDocument, NestsVolumesNumbersPointsInReadingOrderAndNamesTheBook) {
    for (const EpubVersion version : {EpubVersion::Epub2, EpubVersion::Epub3}) {
        SCOPED_TRACE(static_cast<int>(version));
        BookMetadata book{"Book <1>", "", "", kUuid};
        book.epubVersion = version;
        const XmlTree ncx(BuildTocNcx(book, VolumeAndChapters()));
        ASSERT_EQ(ncx.Error(), "");
        const bool epub3 = version == EpubVersion::Epub3;
        EXPECT_EQ(NcxOutline(ncx), VolumeAndChaptersOutline(epub3 ? ".xhtml" : ".html"));
        // EPUB 3 forbids the doctype that EPUB 2's toc.ncx has.
        EXPECT_EQ(ncx.Doctype(), epub3 ? "" : "ncx");
        EXPECT_EQ(ncx.Values("//ncx:navPoint/@playOrder"), (Strings{"1", "2", "3", "4", "5"}));
        const Strings ids = ncx.Values("//ncx:navPoint/@id");
        EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
        EXPECT_EQ(ncx.Value("//ncx:head/ncx:meta[@name='dtb:depth']/@content"), "2");
        EXPECT_EQ(ncx.Value("//ncx:head/ncx:meta[@name='dtb:uid']/@content"),
                  "urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100");
        EXPECT_EQ(ncx.Values("/ncx:ncx/ncx:docTitle/ncx:text"), Strings{"Book <1>"});
    }
    const XmlTree flat(BuildTocNcx(kBook, {{"first", "/a.txt"}, {"second & last", "/b.txt"}}));
    EXPECT_EQ(NcxOutline(flat),
              (std::vector<Outline>{{"first", "0.html", {}}, {"second & last", "1.html", {}}}));
    EXPECT_EQ(flat.Value("//ncx:meta[@name='dtb:depth']/@content"), "1");
}

TEST(NavigationDocument, NestsAsTocNcxAndMarksCoverAndFirstPage) {
    BookMetadata book{"Book <1>", "", "", kUuid, "ja", EpubVersion::Epub3};
    const XmlTree nav(BuildNavigationDocument(book, VolumeAndChapters(), true));
    ASSERT_EQ(nav.Error(), "");
    EXPECT_EQ(nav.Doctype(), "html");
    EXPECT_EQ(nav.Value("/h:html/@xml:lang"), "ja");
    EXPECT_EQ(nav.Value("/h:html/@lang"), "ja");
    EXPECT_EQ(nav.Values("/h:html/h:head/h:title"), Strings{"Book <1>"});
    EXPECT_EQ(NavOutline(nav, "toc"), VolumeAndChaptersOutline(".xhtml"));
    EXPECT_EQ(nav.Values("//h:nav[@epub:type='landmarks']//h:a/@epub:type"),
              (Strings{"cover", "toc", "bodymatter"}));
    EXPECT_EQ(nav.Values("//h:nav[@epub:type='landmarks']//h:a/@href"),
              (Strings{"titlepage.xhtml", "#toc", "0.xhtml"}));
    EXPECT_EQ(nav.Count("//h:nav[@epub:type='landmarks']/@hidden"), 1u); // not for reading

    const XmlTree bare(BuildNavigationDocument(book, VolumeAndChapters(), false));
    ASSERT_EQ(bare.Error(), "");
    EXPECT_EQ(bare.Values("//h:nav[@epub:type='landmarks']//h:a/@href"),
              (Strings{"#toc", "0.xhtml"}));
    EXPECT_EQ(NavOutline(bare, "toc"), VolumeAndChaptersOutline(".xhtml"));
}

struct LabelCase {
    const char* row;
    std::string name;
    std::string label;
};

class PageLabelOf : public testing::TestWithParam<LabelCase> {};

// Readers show nothing for an empty entry, and EPUB 3 refuses one.
TEST_P(PageLabelOf, IsTheNameUnlessItShowsNothing) {
    FileList page;
    page.Name = GetParam().name;
    EXPECT_EQ(PageLabel(page, 2), GetParam().label);
}

const LabelCase kLabelCases[] = {
    {"Name", "Chapter 1", "Chapter 1"},
    {"SpacesAroundText", " a ", " a "},
    {"Empty", "", "3"},
    {"WhiteSpace", " \t\r\n", "3"},
    {"Controls", "\x01\x02", "3"},
    {"DamagedByte", "\xC3", "3"},
    {"NonCharacterAndSpace", "\xEF\xBF\xBF ", "3"},
    {"IdeographicSpaceShows", "\u3000", "\u3000"},
};

INSTANTIATE_TEST_SUITE_P(PageLabel, PageLabelOf, testing::ValuesIn(kLabelCases),
                         [](const auto& row) { return std::string(row.param.row); });

} // namespace
} // namespace folivane::engine
