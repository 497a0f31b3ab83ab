// The book's documents, byte for byte: fixed texts, package file, navigation file, pages.
#include "engine/epub/BookDocuments.h"
#include "engine/epub/ChapterPage.h"
#include "engine/epub/NavigationDocument.h"
#include "engine/epub/NcxDocument.h"
#include "engine/epub/PackageDocument.h"
#include "engine/epub/PageLabel.h"
#include "engine/epub/TitlePage.h"
#include "engine/job/BookFolder.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace folivane::engine {
namespace {

using test::ReadFile;
using test::ScratchFolder;

// Keeps every document by its name, and the order they came in.
class Documents : public DocumentSink {
public:
    void Add(const std::string& name, std::string_view bytes, const FileList*) override {
        names.push_back(name);
        bytes_[name] = std::string(bytes);
    }
    const std::string& operator[](const std::string& name) { return bytes_[name]; }
    std::vector<std::string> names;

private:
    std::map<std::string, std::string> bytes_;
};

const BookMetadata kBook{"Book", "", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};

TEST(BookDocuments, FixedDocumentsAreExactlyTheseTexts) {
    Documents documents;
    const CoverImage cover{"jpeg", "image/jpeg", "picture"};
    MakeBookDocuments(kBook, {}, &cover, "", documents);
    EXPECT_EQ(documents["mimetype"], "application/epub+zip");
    EXPECT_EQ(
        documents["META-INF/container.xml"],
        R"(<?xml version="1.0" encoding="UTF-8"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles><rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)");
    EXPECT_EQ(
        documents["OEBPS/css/main.css"],
        R"(body {padding:0%;margin-top:0%;margin-bottom:0%;margin-left:1%;margin-right:1%;line-height:130%;text-align:justify;font-family:serif;}p{text-align:justify;text-indent:2em;line-height:130%;margin-bottom:-0.8em;}h1{text-align:center;}h2{text-align:center;})");
    EXPECT_EQ(
        documents["OEBPS/titlepage.xhtml"],
        R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" xml:lang="zh-CN"><head><meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/><title>Cover</title><style type="text/css" title="override_css">@page {padding: 0pt; margin:0pt}body {text-align: center; padding:0pt; margin: 0pt;} div { margin: 0pt; padding: 0pt; }</style></head><body><div><img src="cover.jpeg" alt="cover" style="height: 100%"/></div></body></html>)");
    EXPECT_EQ(documents["OEBPS/cover.jpeg"], "picture");
}

TEST(BookDocuments, Epub3TitlePageIsXhtml5WithTheSamePicture) {
    EXPECT_EQ(
        TitlePage("png", "en", EpubVersion::Epub3),
        R"(<?xml version="1.0" encoding="UTF-8"?><!DOCTYPE html><html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" xml:lang="en" lang="en"><head><meta charset="utf-8"/><title>Cover</title><style type="text/css" title="override_css">@page {padding: 0pt; margin:0pt}body {text-align: center; padding:0pt; margin: 0pt;} div { margin: 0pt; padding: 0pt; }</style></head><body><div><img src="cover.png" alt="cover" style="height: 100%"/></div></body></html>)");
}

TEST(BookDocuments, ComeInBookOrderAndWithoutACoverHaveNoTitlePage) {
    const TChapterList chapters{{"one", "/a.txt", std::make_shared<std::string>("a"), 0, 1},
                                {"two", "/b.txt", std::make_shared<std::string>("b"), 0, 1}};
    Documents epub2;
    MakeBookDocuments(kBook, chapters, nullptr, "", epub2);
    EXPECT_THAT(epub2.names,
                ::testing::ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/css/main.css",
                                       "OEBPS/0.html", "OEBPS/1.html", "OEBPS/content.opf",
                                       "OEBPS/toc.ncx"));
    BookMetadata book = kBook;
    book.epubVersion = EpubVersion::Epub3;
    const CoverImage cover{"gif", "image/gif", "GIF89a"};
    Documents epub3;
    MakeBookDocuments(book, chapters, &cover, "", epub3);
    EXPECT_THAT(epub3.names,
                ::testing::ElementsAre("mimetype", "META-INF/container.xml", "OEBPS/css/main.css",
                                       "OEBPS/titlepage.xhtml", "OEBPS/cover.gif", "OEBPS/0.xhtml",
                                       "OEBPS/1.xhtml", "OEBPS/content.opf", "OEBPS/toc.ncx",
                                       "OEBPS/nav.xhtml"));
}

TEST(BookFolder, WritesEachDocumentInItsFolderAndRunsAgainOverItself) {
    ScratchFolder scratch;
    for (int run = 0; run < 2; ++run) {
        BookFolder folder(scratch / "EPUB/", nullptr, {});
        MakeBookDocuments(kBook, {}, nullptr, "", folder);
        EXPECT_EQ(folder.Entries().size(), 5u);
    }
    EXPECT_EQ(ReadFile(scratch / "EPUB/mimetype"), "application/epub+zip");
    EXPECT_EQ(test::ListNames(scratch / "EPUB/OEBPS"),
              (std::vector<std::string>{"content.opf", "css", "toc.ncx"}));
}

TEST(BookFolder, FailsWhenAFileStandsWhereAFolderBelongs) {
    ScratchFolder scratch;
    test::WriteFile(scratch / "EPUB", "not a folder");
    BookFolder folder(scratch / "EPUB/", nullptr, {});
    EXPECT_THROW(MakeBookDocuments(kBook, {}, nullptr, "", folder), std::runtime_error);
}

TEST(ChapterPage, HasTitleAndOneParagraphPerLine) {
    EXPECT_EQ(
        BuildChapterPage("One & <Two>", "a\r\nb\n\nc\rd\r\n", HeadingKind::None, "zh-CN",
                         EpubVersion::Epub2),
        R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" xml:lang="zh-CN"><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8" /><link rel="stylesheet" type="text/css" href="css/main.css"/><title>One &amp; &lt;Two&gt;</title></head><body><p>a</p><p>b</p><p></p><p>c</p><p>d</p></body></html>)");
}

TEST(ChapterPage, GivesAnEmptyTextOneEmptyParagraph) {
    const std::string page =
        BuildChapterPage("x", "", HeadingKind::None, "zh-CN", EpubVersion::Epub2);
    EXPECT_NE(page.find("<body><p></p></body>"), std::string::npos) << page;
}

TEST(PackageDocument, ContentOpfListsMetadataManifestSpineAndGuide) {
    const BookMetadata book{"T & U", "A \"Q\"", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    const CoverImage cover{"png", "image/png", ""};
    EXPECT_EQ(
        BuildContentOpf(book, 2, &cover),
        R"(<?xml version="1.0" encoding="UTF-8" ?><package version="2.0" unique-identifier="PrimaryID" xmlns="http://www.idpf.org/2007/opf"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:opf="http://www.idpf.org/2007/opf"><dc:title>T &amp; U</dc:title><dc:identifier id="PrimaryID" opf:scheme="UUID">urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100</dc:identifier><dc:creator>A "Q"</dc:creator><dc:source>https://folivane.example/</dc:source><dc:language>zh-CN</dc:language><meta name="cover" content="cover"/></metadata><manifest><item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/><item id="main-css" href="css/main.css" media-type="text/css"/><item href="cover.png" id="cover" media-type="image/png"/><item href="titlepage.xhtml" id="titlepage" media-type="application/xhtml+xml"/><item id="txt0" href="0.html" media-type="application/xhtml+xml"/><item id="txt1" href="1.html" media-type="application/xhtml+xml"/></manifest><spine toc="ncx"><itemref idref="titlepage"/><itemref idref="txt0"/><itemref idref="txt1"/></spine><guide><reference type="cover" title="Cover" href="titlepage.xhtml"/></guide></package>)");
    const std::string bare = BuildContentOpf(book, 1, nullptr);
    EXPECT_EQ(bare.find("cover"), std::string::npos) << bare;
    EXPECT_EQ(bare.find("titlepage"), std::string::npos) << bare;
}

TEST(PackageDocument, Epub3ContentOpfAddsModifiedNavAndCoverImageAndDropsEmptyMetadata) {
    BookMetadata book{"T & U", "A \"Q\"", "\x01", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    book.epubVersion = EpubVersion::Epub3;
    book.modified = "2024-02-29T23:59:59Z";
    const CoverImage cover{"png", "image/png", ""};
    EXPECT_EQ(
        BuildContentOpf(book, 2, &cover),
        R"(<?xml version="1.0" encoding="UTF-8" ?><package version="3.0" unique-identifier="PrimaryID" xmlns="http://www.idpf.org/2007/opf"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:opf="http://www.idpf.org/2007/opf"><dc:title>T &amp; U</dc:title><dc:identifier id="PrimaryID">urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100</dc:identifier><dc:creator>A "Q"</dc:creator><dc:source>https://folivane.example/</dc:source><dc:language>zh-CN</dc:language><meta property="dcterms:modified">2024-02-29T23:59:59Z</meta><meta name="cover" content="cover"/></metadata><manifest><item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/><item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/><item id="main-css" href="css/main.css" media-type="text/css"/><item href="cover.png" id="cover" media-type="image/png" properties="cover-image"/><item href="titlepage.xhtml" id="titlepage" media-type="application/xhtml+xml"/><item id="txt0" href="0.xhtml" media-type="application/xhtml+xml"/><item id="txt1" href="1.xhtml" media-type="application/xhtml+xml"/></manifest><spine toc="ncx"><itemref idref="titlepage"/><itemref idref="txt0"/><itemref idref="txt1"/></spine><guide><reference type="cover" title="Cover" href="titlepage.xhtml"/></guide></package>)");
    book.author = "";
    book.publisher = "P";
    const std::string bare = BuildContentOpf(book, 1, nullptr);
    EXPECT_EQ(bare.find("dc:creator"), std::string::npos) << bare;
    EXPECT_NE(bare.find("<dc:publisher>P</dc:publisher>"), std::string::npos) << bare;
    EXPECT_EQ(bare.find("cover"), std::string::npos) << bare;
}

// A volume holding two chapters (one of two pages), a page before it and one after, named by
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

TEST(PackageDocument, Epub3TocNcxIsTheEpub2OneWithoutDoctypeLinkingXhtmlPages) {
    BookMetadata book{"Book", "", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    std::string ncx = BuildTocNcx(book, VolumeAndChapters());
    const std::string doctype = R"(<!DOCTYPE ncx PUBLIC "-//NISO//DTD ncx 2005-1//EN" )"
                                R"("http://www.daisy.org/z3986/2005/ncx-2005-1.dtd">)";
    ASSERT_NE(ncx.find(doctype), std::string::npos) << ncx;
    ncx.erase(ncx.find(doctype), doctype.size());
    for (std::size_t at = ncx.find(".html\""); at != std::string::npos;
         at = ncx.find(".html\"", at))
        ncx.replace(at, 5, ".xhtml");
    book.epubVersion = EpubVersion::Epub3;
    EXPECT_EQ(BuildTocNcx(book, VolumeAndChapters()), ncx);
}

TEST(NavigationDocument, NestsAsTocNcxAndMarksCoverAndFirstPage) {
    BookMetadata book{"Book <1>",        "", "", "0f0e0d0c-0b0a-4908-8706-050403020100", "ja",
                      EpubVersion::Epub3};
    EXPECT_EQ(
        BuildNavigationDocument(book, VolumeAndChapters(), true),
        R"(<?xml version="1.0" encoding="UTF-8"?><!DOCTYPE html><html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" xml:lang="ja" lang="ja"><head><meta charset="utf-8"/><title>Book &lt;1&gt;</title></head><body><nav epub:type="toc" id="toc"><ol><li><a href="0.xhtml">Prologue</a></li><li><a href="1.xhtml">Book One</a><ol><li><a href="2.xhtml">Chapter 1</a></li><li><a href="4.xhtml">Ch 2 &amp; &lt;x&gt;</a></li></ol></li><li><a href="5.xhtml">6</a></li></ol></nav><nav epub:type="landmarks" id="landmarks" hidden="hidden"><ol><li><a epub:type="cover" href="titlepage.xhtml">Cover</a></li><li><a epub:type="bodymatter" href="0.xhtml">Prologue</a></li></ol></nav></body></html>)");
    const std::string bare = BuildNavigationDocument(book, VolumeAndChapters(), false);
    EXPECT_EQ(bare.find("titlepage"), std::string::npos) << bare;
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

TEST(PackageDocument, TocNcxNamesTheBookAndCountsPlayOrderFromOne) {
    const BookMetadata book{"Book <1>", "", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    const TChapterList chapters{{"first", "/a.txt"}, {"second & last", "/b.txt"}};
    EXPECT_EQ(
        BuildTocNcx(book, chapters),
        R"(<?xml version="1.0" encoding="UTF-8"?><!DOCTYPE ncx PUBLIC "-//NISO//DTD ncx 2005-1//EN" "http://www.daisy.org/z3986/2005/ncx-2005-1.dtd"><ncx version="2005-1" xmlns="http://www.daisy.org/z3986/2005/ncx/"><head><meta name="dtb:uid" content="urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100"/><meta name="dtb:depth" content="1"/><meta name="dtb:totalPageCount" content="0"/><meta name="dtb:maxPageNumber" content="0"/></head><docTitle><text>Book &lt;1&gt;</text></docTitle><navMap><navPoint id="txt0" playOrder="1"><navLabel><text>first</text></navLabel><content src="0.html"/></navPoint><navPoint id="txt1" playOrder="2"><navLabel><text>second &amp; last</text></navLabel><content src="1.html"/></navPoint></navMap></ncx>)");
}

} // namespace
} // namespace folivane::engine
