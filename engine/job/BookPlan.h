// The book decided once: its title, author, language, how each source is read and the
// contents with every label. The conversion writes it; the preview and the listing show it.
#pragma once

#include "BookInput.h"

#include "engine/chapters/ChapterList.h"
#include "engine/chapters/HeadingRules.h"
#include "engine/cover/TitleCover.h"
#include "engine/text/EncodingJudgement.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace folivane::engine {

// One entry of the book's table of contents, with the pages it stands for.
struct PlanEntry {
    std::string label; // as the book's contents show it
    HeadingKind heading = HeadingKind::None;
    std::size_t firstPage = 0; // index of its page in the book
    std::size_t pages = 1;     // its page and the unlisted ones cut from the same chapter after it
    std::size_t bytes = 0;     // of decoded UTF-8 text in those pages
    bool numbered = false;     // its heading was found by its number in a sequence
    std::vector<PlanEntry> children;
};

// How one source is read and what it gives.
struct SourcePlan {
    std::string path;
    std::string name; // its file name without ".txt" as the book shows it: UTF-8
    EncodingJudgement encoding;
    bool notation = false; // it uses the notation of Japanese archive texts
    std::string language;  // judged from its own text, as the book's would be
    std::size_t bytes = 0; // of decoded UTF-8 text
    std::size_t pages = 0;
    ParagraphShape paragraphs; // how its lines make paragraphs, and the figures that decided it
};

// The cover the book gets.
struct CoverPlan {
    enum class Kind {
        None,    // no cover: none asked for, or none could be made (`problem`)
        Picture, // the user's picture, loaded when the book is written
        Title,   // made from the title and author: `png`
    };
    Kind kind = Kind::None;
    std::string png;     // Title: the picture (TitleCover::png)
    std::string font;    // Title: the family of the title's face
    std::string problem; // None when a cover made from the title was asked for: why none was
};

// Every fact of the book that is decided rather than given: a front end shows these, and the
// book is written with exactly these.
struct BookPlan {
    std::string title;     // never empty
    std::string author;    // may be empty
    std::string publisher; // may be empty
    std::string language;  // the user's tag, the header's, or judged from the text
    BookDetails details;   // the user's, else what the first source's header says
    CoverPlan cover;
    std::vector<SourcePlan> sources; // in book order
    std::vector<PlanEntry> contents;
    std::size_t pages = 0;
    std::vector<TextNotice> notices; // in the order the sources gave them
};

// The plan and the pages it describes, labelled as its contents list them, their text held
// or in the piece store the decision was given.
struct BookDecision {
    BookPlan plan;
    TChapterList pages;
};

// What the conversion hears of the reading while the book is decided (ChapterListOptions).
struct ReadingHooks {
    std::function<void()> checkPoint = {};
    std::function<void(const std::string& path, const platform::FileStatus& opened)> sourceRead =
        {};
    std::function<void(std::size_t, const EncodingJudgement&)> encodingReport = {};
    std::function<void(const TextNotice&)> notice = {};
    std::function<void(SourceWork work, std::size_t done, std::size_t total)> progress = {};
    // The text the language is judged by, once it is complete (ChapterListOptions).
    std::function<void(std::string_view sample)> sampleTaken = {};
    // The caller decides the cover itself (DecideCover), beside the pages: BookPlan::cover is
    // left as none.
    bool coverLeftToCaller = false;
    // The cover's text as the book is likely to be decided, told once, as soon as the first
    // source's language is judged, when the user gave a title: the caller may draw it ahead
    // and keep it when TitleCoverTextOf the plan is the same.
    std::function<void(TitleCoverText likely)> coverLikely = {};
};

// The heading rules the book asks for: none for one chapter per file, the user's patterns,
// or the built-in rules. Raises HeadingPatternError, a ConversionError, for a pattern that
// does not compile.
std::optional<HeadingRules> HeadingRulesFor(const BookInput& input);

// The book's language tag: the user's, normalised, or empty to judge it from the text.
// Raises ConversionError for a tag that is not one.
std::string UserLanguageTag(const BookInput& input);

// Raises ConversionError naming the value and the cause for an ISBN that CheckIsbn refuses and
// a date that IsBookDate does not take.
void CheckDetails(const BookDetails& details);

// Reads each source once, finds its chapters and decides the book:
// - title: the user's; else the text's (the first two lines of a text in the notation, or the
//   first source's header or file name, TitleAndAuthorOf); else the output's file name
//   without its extension; else kDefaultBookName. Author likewise from the user or the text,
//   each field on its own. Publisher: the user's. All as MetadataText makes them.
// - language: the user's tag, else the first source's header's ("Language: French"), else the
//   one the first 256 KiB of text are written in.
// - details: the user's; the date and translator where the user gave none from the first
//   source's header (HeaderFactsOf) or, in the notation, its opening and colophon
//   (NotationFactsOf). An ISBN as CheckIsbn gives it.
// - cover (DecideCover, unless hooks.coverLeftToCaller): the user's picture; else, when
//   input.titleCover, the one MakeTitleCover makes of the title, author, language and
//   input.vertical, or why it could not.
// - labels: the opening of the first source (its text before its first heading, or, in a
//   book of one source, all of a source without headings) is labelled by the title; a label
//   that would show nothing is the page's number; an entry whose label is its neighbour's
//   before it gets " (2)", " (3)" ... on; a page not listed takes its chapter's label.
// - script (input.chineseScript): each source judged Chinese is converted as it is read, with
//   its name, before its chapters are found, so that its labels and the header's facts are
//   too; the user's title, author, publisher and the texts of the details (not the ISBN, date
//   or place in a series) when the book's language is Chinese, from the form of its text as
//   judged; the language tag follows, and the title cover is drawn from what was converted.
//   A source's language is the one judged from its text, converted likewise.
// Text beyond input.heldTextBudget goes to `pieces`. Raises ConversionError naming the file
// when a source cannot be read, and for a pattern, language tag, ISBN or date the book
// cannot take.
BookDecision DecideBook(const BookInput& input, PieceStore& pieces, const ReadingHooks& hooks);

// What a cover made from the title shows of `plan`.
TitleCoverText TitleCoverTextOf(const BookInput& input, const BookPlan& plan);

// The cover DecideBook decides: the user's picture; else, when input.titleCover, the cover made
// from the title (`made` when the caller made it of TitleCoverTextOf, else made here), or why
// there is none.
CoverPlan DecideCover(const BookInput& input, const BookPlan& plan,
                      std::optional<TitleCover> made = std::nullopt);

// The plan alone, keeping no text: nothing is written and no output is needed. `checkPoint`
// is called as the conversion's is and may raise to stop. Raises as DecideBook.
BookPlan PlanBook(const BookInput& input, std::function<void()> checkPoint = {});

} // namespace folivane::engine
