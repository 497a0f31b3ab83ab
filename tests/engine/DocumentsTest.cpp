// The book's documents, byte for byte: fixed texts, package file, navigation file, pages.
#include "engine/ChapterPage.h"
#include "engine/ContainerSkeleton.h"
#include "engine/PackageDocuments.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace folivane::engine {
namespace {

using test::ReadFile;
using test::ScratchFolder;

TEST(ContainerSkeleton, WritesTheFixedDocumentsExactly) {
    ScratchFolder scratch;
    const std::string book = scratch / "EPUB/";
    WriteContainerSkeleton(book, std::string("jpeg"));
    EXPECT_EQ(ReadFile(book + "mimetype"), "application/epub+zip");
    EXPECT_EQ(
        ReadFile(book + "META-INF/container.xml"),
        R"(<?xml version="1.0" encoding="UTF-8"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles><rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)");
    EXPECT_EQ(
        ReadFile(book + "OEBPS/css/main.css"),
        R"(body {padding:0%;margin-top:0%;margin-bottom:0%;margin-left:1%;margin-right:1%;line-height:130%;text-align:justify;font-family:serif;}p{text-align:justify;text-indent:2em;line-height:130%;margin-bottom:-0.8em;}h1{text-align:center;}h2{text-align:center;})");
    EXPECT_EQ(
        ReadFile(book + "OEBPS/titlepage.xhtml"),
        R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" xml:lang="zh-CN"><head><meta http-equiv="Content-Type" content="text/html; charset=UTF-8"/><title>Cover</title><style type="text/css" title="override_css">@page {padding: 0pt; margin:0pt}body {text-align: center; padding:0pt; margin: 0pt;} div { margin: 0pt; padding: 0pt; }</style></head><body><div><img src="cover.jpeg" alt="cover" style="height: 100%"/></div></body></html>)");
}

TEST(ContainerSkeleton, WritesNoTitlePageWithoutACoverAndRunsAgainOverItself) {
    ScratchFolder scratch;
    const std::string book = scratch / "EPUB/";
    WriteContainerSkeleton(book, std::nullopt);
    WriteContainerSkeleton(book, std::nullopt);
    EXPECT_EQ(test::ListNames(book + "OEBPS"), std::vector<std::string>{"css"});
}

TEST(ContainerSkeleton, FailsWhenAFileStandsWhereAFolderBelongs) {
    ScratchFolder scratch;
    test::WriteFile(scratch / "EPUB", "not a folder");
    EXPECT_THROW(WriteContainerSkeleton(scratch / "EPUB/", std::nullopt), std::runtime_error);
}

TEST(ChapterPage, HasTitleAndOneParagraphPerLine) {
    EXPECT_EQ(
        BuildChapterPage("One & <Two>", "a\r\nb\n\nc\rd\r\n"),
        R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" xml:lang="zh-CN"><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8" /><link rel="stylesheet" type="text/css" href="css/main.css"/><title>One &amp; &lt;Two&gt;</title></head><body><p>a</p><p>b</p><p></p><p>c</p><p>d</p></body></html>)");
}

TEST(ChapterPage, GivesAnEmptyTextOneEmptyParagraph) {
    const std::string page = BuildChapterPage("x", "");
    EXPECT_NE(page.find("<body><p></p></body>"), std::string::npos) << page;
}

TEST(PackageDocuments, ContentOpfListsMetadataManifestSpineAndGuide) {
    const BookMetadata book{"T & U", "A \"Q\"", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    const CoverImage cover{"png", "image/png", ""};
    EXPECT_EQ(
        BuildContentOpf(book, 2, &cover),
        R"(<?xml version="1.0" encoding="UTF-8" ?><package version="2.0" unique-identifier="PrimaryID" xmlns="http://www.idpf.org/2007/opf"><metadata xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:opf="http://www.idpf.org/2007/opf"><dc:title>T &amp; U</dc:title><dc:identifier id="PrimaryID" opf:scheme="UUID">urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100</dc:identifier><dc:creator>A "Q"</dc:creator><dc:publisher></dc:publisher><dc:source>https://folivane.example/</dc:source><dc:language>zh-CN</dc:language><meta name="cover" content="cover"/></metadata><manifest><item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/><item id="main-css" href="css/main.css" media-type="text/css"/><item href="cover.png" id="cover" media-type="image/png"/><item href="titlepage.xhtml" id="titlepage" media-type="application/xhtml+xml"/><item id="txt0" href="0.html" media-type="application/xhtml+xml"/><item id="txt1" href="1.html" media-type="application/xhtml+xml"/></manifest><spine toc="ncx"><itemref idref="titlepage"/><itemref idref="txt0"/><itemref idref="txt1"/></spine><guide><reference type="cover" title="Cover" href="titlepage.xhtml"/></guide></package>)");
    const std::string bare = BuildContentOpf(book, 1, nullptr);
    EXPECT_EQ(bare.find("cover"), std::string::npos) << bare;
    EXPECT_EQ(bare.find("titlepage"), std::string::npos) << bare;
}

TEST(PackageDocuments, TocNcxNamesTheBookAndCountsPlayOrderFromOne) {
    const BookMetadata book{"Book <1>", "", "", "0f0e0d0c-0b0a-4908-8706-050403020100"};
    const TChapterList chapters{{"first", "/a.txt"}, {"second & last", "/b.txt"}};
    EXPECT_EQ(
        BuildTocNcx(book, chapters),
        R"(<?xml version="1.0" encoding="UTF-8"?><!DOCTYPE ncx PUBLIC "-//NISO//DTD ncx 2005-1//EN" "http://www.daisy.org/z3986/2005/ncx-2005-1.dtd"><ncx version="2005-1" xmlns="http://www.daisy.org/z3986/2005/ncx/"><head><meta name="dtb:uid" content="urn:uuid:0f0e0d0c-0b0a-4908-8706-050403020100"/><meta name="dtb:depth" content="1"/><meta name="dtb:totalPageCount" content="0"/><meta name="dtb:maxPageNumber" content="0"/></head><docTitle><text>Book &lt;1&gt;</text></docTitle><navMap><navPoint id="txt0" playOrder="1"><navLabel><text>first</text></navLabel><content src="0.html"/></navPoint><navPoint id="txt1" playOrder="2"><navLabel><text>second &amp; last</text></navLabel><content src="1.html"/></navPoint></navMap></ncx>)");
}

} // namespace
} // namespace folivane::engine
