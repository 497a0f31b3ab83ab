// The parts of content.opf's metadata beyond the book's names: its details, and what EPUB 3
// says of its accessibility.
#pragma once

#include "BookMetadata.h"

#include <string>

namespace folivane::engine {

// Appends the details (BookDetails) in the forms readers of the book's version read: an ISBN
// as a dc:identifier "urn:isbn:..."; the series as EPUB 3's belongs-to-collection with its
// collection-type and group-position and, in both versions, calibre's series metas; the
// translator and contributors as dc:contributor with MARC relator roles (EPUB 3 refines, EPUB 2
// opf:role); description, subjects, date and rights as their Dublin Core elements.
void AppendBookDetails(std::string& opf, const BookMetadata& book);

// What the book offers readers who cannot see its pages, as schema.org's accessibility
// properties say it: text throughout (and a picture on its cover, with alternative text),
// contents, reading order and headings, ruby when `ruby`, no hazards, and a summary in the
// book's language. EPUB 3 only.
void AppendAccessibility(std::string& opf, const BookMetadata& book, bool hasCover, bool ruby);

// The summary AppendAccessibility writes and the language it is written in: Chinese
// (Simplified or Traditional as the book's tag says), Japanese or else English.
struct AccessibilitySummary {
    std::string language;
    std::string text;
};
AccessibilitySummary AccessibilitySummaryFor(const std::string& bookLanguage, bool hasCover);

// The text of the cover's picture for those who cannot see it: its title, and its author.
std::string CoverAlternativeText(const BookMetadata& book);

} // namespace folivane::engine
