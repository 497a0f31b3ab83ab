// The names every book shares: its files and folders, its fixed texts, its EPUB version.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folivane::engine {

enum class EpubVersion {
    Epub2 = 2, // read by the most readers
    Epub3 = 3, // XHTML5 pages and a navigation document, toc.ncx kept for older readers
};

// The product's web address, written into every book's dc:source.
inline constexpr const char* kSourceAddress = "https://folivane.example/";
// The language of a book when nothing says otherwise.
inline constexpr const char* kDefaultLanguage = "zh-CN";
// What the file "mimetype" holds: readers look for it at the archive's very start.
inline constexpr std::string_view kMimetype = "application/epub+zip";

// The book's files, by their paths in the archive.
inline constexpr const char* kMimetypeFile = "mimetype";
inline constexpr const char* kContainerFile = "META-INF/container.xml";
// Everything the package document names lies in this folder; its names are relative to it.
inline constexpr const char* kContentFolder = "OEBPS/";
inline constexpr const char* kPackageFile = "content.opf";
inline constexpr const char* kNcxFile = "toc.ncx";
inline constexpr const char* kNavigationFile = "nav.xhtml";
inline constexpr const char* kStyleSheetFile = "css/main.css";
inline constexpr const char* kUserStyleSheetFile = "css/user.css";
inline constexpr const char* kTitlePageFile = "titlepage.xhtml";
// EPUB 2 books' contents as a page, which the guide names; EPUB 3 has its navigation document.
inline constexpr const char* kContentsPageFile = "contents.html";

// The file name of the page at `page`: "N.html" in EPUB 2; "N.xhtml" in EPUB 3, whose
// validators want XHTML pages so named.
inline std::string PageFileName(std::size_t page, EpubVersion version) {
    return std::to_string(page) + (version == EpubVersion::Epub3 ? ".xhtml" : ".html");
}

// The cover picture's file name for its extension ("jpg", "png", ...).
inline std::string CoverFileName(const std::string& extension) {
    return "cover." + extension;
}

} // namespace folivane::engine
