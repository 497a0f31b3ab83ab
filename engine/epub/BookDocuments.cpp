// The documents of a book in the order they are made.
#include "BookDocuments.h"

#include "ChapterPage.h"
#include "ContainerDocument.h"
#include "NavigationDocument.h"
#include "NcxDocument.h"
#include "NotationStyle.h"
#include "PackageDocument.h"
#include "PackageMetadata.h"
#include "PageLabel.h"
#include "StyleSheet.h"
#include "TitlePage.h"
#include "VerticalWriting.h"

#include "engine/text/TextSearch.h"

#include <algorithm>

namespace folivane::engine {

void MakeBookDocuments(const BookMetadata& book, const TChapterList& chapters,
                       const CoverSource& coverSource, const std::string& legacyEncoding,
                       DocumentSink& sink) {
    const std::string content = kContentFolder;
    sink.Add(kMimetypeFile, kMimetype, nullptr);
    sink.Add(kContainerFile, kContainerXml, nullptr);
    std::string css = StyleSheet({book.language, book.indentEm, book.paragraphSpacingEm});
    if (book.vertical) css += kVerticalCss;
    // The notation's marks need rules of their own; other books go without them.
    if (std::ranges::any_of(chapters, [](const FileList& chapter) { return chapter.Notation; }))
        css += NotationStyleSheet(book.epubVersion, book.vertical);
    sink.Add(content + kStyleSheetFile, css, nullptr);
    const bool userStyle = !book.userStyleSheet.empty();
    if (userStyle) sink.Add(content + kUserStyleSheetFile, book.userStyleSheet, nullptr);
    for (const StyleResource& resource : book.userStyleResources)
        sink.Add(content + resource.href, resource.bytes, nullptr);
    bool ruby = false; // the accessibility metadata says so
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const FileList& chapter = chapters[i];
        // Held text goes to the page as it is; only text in a file is read into a string.
        std::string read;
        if (!chapter.Text) read = ChapterText(chapter, legacyEncoding);
        const std::string_view text =
            chapter.Text
                ? std::string_view(*chapter.Text).substr(chapter.Begin, chapter.End - chapter.Begin)
                : std::string_view(read);
        std::string page;
        BuildChapterPage(page, PageLabel(chapter, i), text, chapter.Heading, book.language,
                         book.epubVersion, {chapter.Paragraphs, userStyle, chapter.Notation});
        ruby = ruby || (chapter.Notation && FindIn(page, "<ruby>") != std::string_view::npos);
        // Kept until it is compressed: given away, not copied.
        sink.AddMade(content + PageFileName(i, book.epubVersion), std::move(page), &chapter);
    }
    // The archive puts its entries in order by name when it is packed: the cover is added
    // last, which the order of the book does not show.
    const CoverImage* cover = coverSource ? coverSource() : nullptr;
    if (cover) {
        sink.Add(content + kTitlePageFile,
                 TitlePage(cover->extension, book.language, book.epubVersion, book.title,
                           CoverAlternativeText(book)),
                 nullptr);
        sink.Add(content + CoverFileName(cover->extension), cover->bytes, nullptr);
    }
    if (book.epubVersion != EpubVersion::Epub3)
        sink.AddMade(content + kContentsPageFile, BuildContentsPage(book, chapters), nullptr);
    sink.AddMade(content + kPackageFile, BuildContentOpf(book, chapters.size(), cover, ruby),
                 nullptr);
    sink.AddMade(content + kNcxFile, BuildTocNcx(book, chapters), nullptr);
    if (book.epubVersion == EpubVersion::Epub3)
        sink.AddMade(content + kNavigationFile,
                     BuildNavigationDocument(book, chapters, cover != nullptr), nullptr);
}

void MakeBookDocuments(const BookMetadata& book, const TChapterList& chapters,
                       const CoverImage* cover, const std::string& legacyEncoding,
                       DocumentSink& sink) {
    MakeBookDocuments(book, chapters, CoverSource([cover] { return cover; }), legacyEncoding, sink);
}

} // namespace folivane::engine
