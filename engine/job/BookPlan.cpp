// The book's decision: the chapter list made once, and every fact a front end shows of it.
#include "BookPlan.h"

#include "engine/chapters/HeaderFacts.h"
#include "engine/chapters/Notation.h"
#include "engine/chapters/TableOfContents.h"
#include "engine/chapters/TextSections.h"
#include "engine/cover/TitleCoverModule.h"
#include "engine/epub/BookMetadata.h"
#include "engine/epub/Isbn.h"
#include "engine/epub/PageLabel.h"
#include "engine/epub/XmlText.h"
#include "engine/text/CalendarDate.h"
#include "engine/text/ChineseScriptConverter.h"
#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/LanguageTag.h"
#include "engine/text/Locale.h"

#include "zip/FileSystem.h"

#include <array>
#include <optional>
#include <string_view>

namespace folivane::engine {
namespace {

// Pieces of texts too large to hold are dropped: the plan needs only where they are cut.
class DiscardedPieces : public PieceStore {
public:
    std::string Keep(std::size_t, int, std::string_view, const std::string&) override { return {}; }
};

// The language of a book, and of each source, shows in its first 256 KiB.
constexpr std::size_t kLanguageSample = 256 << 10;
// A text's header lies in its first lines (TitleAndAuthorOf reads no more).
constexpr std::size_t kHeaderSample = 64 << 10;

// Text the user typed, turned into the reader's script.
using Script = std::function<std::string(const std::string&)>;

PlanEntry EntryOf(const TocEntry& toc, const TChapterList& chapters) {
    PlanEntry entry;
    const FileList& page = chapters[toc.page];
    entry.label = page.Name;
    entry.heading = page.Heading;
    entry.firstPage = toc.page;
    entry.numbered = page.Numbered;
    entry.pages = 0;
    // The unlisted pages after a listed one are the rest of its chapter.
    for (std::size_t i = toc.page; i < chapters.size() && (i == toc.page || !chapters[i].Listed);
         ++i) {
        ++entry.pages;
        entry.bytes += chapters[i].End - chapters[i].Begin;
    }
    for (const TocEntry& child : toc.children)
        entry.children.push_back(EntryOf(child, chapters));
    return entry;
}

// The title and author the first source gives: the first two lines of a text in the notation
// that opens without a heading, else its header or its name.
TitleAndAuthor TextTitleAndAuthor(const SourceFacts& first, const TChapterList& pages) {
    // TitleAndAuthorOf takes the name from a path, less its ".txt".
    TitleAndAuthor found =
        TitleAndAuthorOf(first.text.substr(0, kHeaderSample), first.name + ".txt");
    if (first.notation && first.pages > 0 && pages[first.firstPage].Heading == HeadingKind::None) {
        const FileList& opening = pages[first.firstPage];
        auto [title, author] =
            NotationTitleAndAuthor(first.text.substr(opening.Begin, opening.End - opening.Begin));
        if (!title.empty()) found.title = std::move(title);
        if (!author.empty()) found.author = std::move(author);
    }
    return found;
}

// A blank title would give a nameless book (readers list it so, validators warn): the
// output's name is what the user chose instead, and kDefaultBookName the save dialog's own.
// Blank is judged after escaping, which drops a title of control characters whole.
// The user's title and the output's name are in the script of the user's typing, converted by
// `script`; the text's is already the book's.
std::string BookTitle(const BookInput& input, const TitleAndAuthor& ofText, const Script& script) {
    if (std::string title = MetadataText(script(input.title)); !title.empty()) return title;
    if (std::string title = MetadataText(ofText.title); !title.empty()) return title;
    std::string name = zip::ExtractFileName(input.outputPath);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return IsEmptyInXml(name) ? std::string(kDefaultBookName) : script(name);
}

// The page the book opens with, which is labelled by its title.
bool IsOpening(const FileList& page, std::size_t sources) {
    return page.Source == 0 && page.Listed &&
           (page.Role == PageRole::Opening || (page.Role == PageRole::WholeSource && sources == 1));
}

// Every page's label, as DecideBook says.
void LabelPages(TChapterList& pages, const std::string& title, std::size_t sources) {
    std::string base;     // the listed page's label before it was told from its neighbour's
    std::string previous; // the last listed page's label
    std::size_t repeated = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        FileList& page = pages[i];
        if (!page.Listed && !previous.empty()) {
            page.Name = previous;
            continue;
        }
        if (IsOpening(page, sources)) page.Name = title;
        std::string label = PageLabel(page, i);
        if (!page.Listed) {
            page.Name = std::move(label);
            continue;
        }
        repeated = label == base ? repeated + 1 : 0;
        base = label;
        if (repeated > 0) label = PieceName(base, repeated + 1);
        if (label == previous) label = PieceName(label, 2); // a text's own "A (2)" after it
        page.Name = previous = std::move(label);
    }
}

// The date, translator and language the first source's header names, or in the notation its
// opening and colophon.
HeaderFacts TextHeaderFacts(const SourceFacts& first, const TChapterList& pages) {
    if (!first.notation) return HeaderFactsOf(first.text.substr(0, kHeaderSample));
    const NotationLayout layout = FindNotationLayout(first.text);
    std::string_view opening;
    if (first.pages > 0) {
        const FileList& page = pages[first.firstPage];
        opening = first.text.substr(page.Begin, page.End - page.Begin);
    }
    return NotationFactsOf(opening, layout.colophonBegin == NotationLayout::npos
                                        ? std::string_view()
                                        : first.text.substr(layout.colophonBegin));
}

// The sources' plans and what the first one says of the book, collected as each is done;
// each source's language as judged, before its script is converted, and the converters of
// the script the user asked for, loaded once for each form they convert from.
struct SourcesDone {
    std::vector<SourcePlan> sources;
    TitleAndAuthor ofText;
    HeaderFacts header;
    std::vector<std::string> languages;
    // The first source's language as judged from its first kLanguageSample bytes, and its
    // size: the book's sample is those bytes when the source is no shorter than the sample.
    std::string firstJudged;
    std::size_t firstSize = 0;
    std::array<std::optional<ChineseScriptConverter>, 2> converters;

    const ChineseScriptConverter& ConverterFor(ChineseScript target, ChineseForm form) {
        std::optional<ChineseScriptConverter>& converter =
            converters[form == ChineseForm::Simplified ? 0 : 1];
        if (!converter) converter.emplace(target, form);
        return *converter;
    }
};

// Converts a source judged Chinese, and its name, to the script the user asked for; Japanese
// and every other language stay as they are, whatever characters they share with Chinese.
void ConvertScript(const BookInput& input, SourcesDone& done, const std::string& locale,
                   std::size_t index, std::string& text, std::string& name) {
    std::string language =
        DetectLanguage(std::string_view(text).substr(0, kLanguageSample), locale);
    if (index == 0) {
        done.firstJudged = language;
        done.firstSize = text.size();
    }
    const std::optional<ChineseForm> form = ChineseFormOfTag(language);
    if (input.chineseScript != ChineseScript::Keep && form) {
        const ChineseScriptConverter& converter = done.ConverterFor(input.chineseScript, *form);
        text = converter.Convert(text);
        name = converter.Convert(name);
        language = ConvertedLanguageTag(language, input.chineseScript);
    }
    if (done.languages.size() <= index) done.languages.resize(index + 1);
    done.languages[index] = std::move(language);
}

// How the user's own texts take the reader's script: only in a book whose language is
// Chinese, from the form of that language; a tag the header named rarely tells the form,
// which the text as `judged` then does (empty: the user named the language).
Script UserTextScript(const BookInput& input, const std::string& language,
                      const std::string& judged, SourcesDone& done) {
    std::optional<ChineseForm> form = ChineseFormOfTag(language);
    if (input.chineseScript == ChineseScript::Keep || !form)
        return [](const std::string& text) { return text; };
    if (const std::optional<ChineseForm> ofText = ChineseFormOfTag(judged)) form = ofText;
    const ChineseScriptConverter* converter = &done.ConverterFor(input.chineseScript, *form);
    return [converter](const std::string& text) { return converter->Convert(text); };
}

// The user's details in the reader's script: the texts a reader reads, not the ISBN, date or
// place in the series.
BookDetails DetailsInScript(BookDetails given, const Script& script) {
    given.description = script(given.description);
    for (std::string& subject : given.subjects)
        subject = script(subject);
    given.series = script(given.series);
    given.translator = script(given.translator);
    for (std::string& contributor : given.contributors)
        contributor = script(contributor);
    given.rights = script(given.rights);
    return given;
}

// The user's details, checked, with the header's date and translator where the user gave none.
BookDetails DecideDetails(const BookDetails& given, const HeaderFacts& header) {
    BookDetails details;
    details.description = MetadataText(given.description);
    for (const std::string& subject : given.subjects)
        if (std::string text = MetadataText(subject); !text.empty())
            details.subjects.push_back(std::move(text));
    details.series = MetadataText(given.series);
    details.seriesIndex = details.series.empty() ? std::string() : MetadataText(given.seriesIndex);
    if (const std::string isbn = MetadataText(given.isbn); !isbn.empty())
        details.isbn = CheckIsbn(isbn).isbn;
    details.translator = MetadataText(given.translator);
    if (details.translator.empty()) details.translator = MetadataText(header.translator);
    for (const std::string& contributor : given.contributors)
        if (std::string text = MetadataText(contributor); !text.empty())
            details.contributors.push_back(std::move(text));
    details.date = MetadataText(given.date);
    if (details.date.empty()) details.date = header.date;
    details.rights = MetadataText(given.rights);
    return details;
}

// The book's names as decided from the user's input and what the text gave: its language
// (before the reader's script), title and author, and the script the user's texts take.
struct BookNames {
    std::string language;
    std::string title;
    std::string author;
    Script script;
};

BookNames NamesOf(const BookInput& input, const std::string& userLanguage,
                  const std::string& headerLanguage, const std::string& judged,
                  const TitleAndAuthor& ofText, SourcesDone& done) {
    BookNames names;
    names.language = !userLanguage.empty()     ? userLanguage
                     : !headerLanguage.empty() ? headerLanguage
                                               : judged;
    names.script = UserTextScript(input, names.language, userLanguage.empty() ? judged : "", done);
    names.title = BookTitle(input, ofText, names.script);
    names.author = MetadataText(names.script(input.author));
    if (names.author.empty()) names.author = MetadataText(ofText.author);
    return names;
}

// The cover's text as the book will likely be decided, from the first source's language as
// judged: the user's title and author, taken as if the header named no language and the
// book's sample were the first source's. Only for a title the user gave: the text's is known
// when its chapters are.
TitleCoverText LikelyCoverText(const BookInput& input, const std::string& userLanguage,
                               SourcesDone& done) {
    const BookNames names = NamesOf(input, userLanguage, {}, done.firstJudged, {}, done);
    return {names.title, names.author, ConvertedLanguageTag(names.language, input.chineseScript),
            input.vertical};
}

ChapterListOptions OptionsFor(const BookInput& input, const std::string& userLanguage,
                              const HeadingRules* rules, const ReadingHooks& hooks,
                              SourcesDone& done, std::vector<TextNotice>& notices) {
    ChapterListOptions options;
    options.mode = input.chapters;
    options.paragraphs = input.paragraphs;
    options.rules = rules;
    options.legacyEncoding = input.legacyEncoding;
    options.sourceEncodings = input.sourceEncodings;
    options.heldTextBudget = input.heldTextBudget;
    options.checkPoint = hooks.checkPoint;
    options.sourceRead = hooks.sourceRead;
    options.encodingReport = hooks.encodingReport;
    options.progress = hooks.progress;
    options.sampleTaken = hooks.sampleTaken;
    options.notice = [&notices, &hooks](const TextNotice& notice) {
        notices.push_back(notice);
        if (hooks.notice) hooks.notice(notice);
    };
    options.sourceDecoded = [&input, &userLanguage, &hooks, &done, locale = LocaleOfProcess()](
                                std::size_t index, std::string& text, std::string& name) {
        ConvertScript(input, done, locale, index, text, name);
        if (index == 0 && hooks.coverLikely && !input.title.empty())
            hooks.coverLikely(LikelyCoverText(input, userLanguage, done));
    };
    options.sourceDone = [&input, &done](const SourceFacts& facts, const TChapterList& pages) {
        done.sources.push_back({.path = input.sources[facts.index],
                                .name = facts.name,
                                .encoding = facts.encoding,
                                .notation = facts.notation,
                                .language = done.languages[facts.index],
                                .bytes = facts.text.size(),
                                .pages = facts.pages,
                                .paragraphs = facts.paragraphs});
        if (facts.index == 0) {
            done.ofText = TextTitleAndAuthor(facts, pages);
            done.header = TextHeaderFacts(facts, pages);
        }
    };
    return options;
}

} // namespace

std::optional<HeadingRules> HeadingRulesFor(const BookInput& input) {
    if (input.chapters == ChapterMode::Files) return std::nullopt;
    if (!input.chapterPattern.empty() || !input.volumePattern.empty())
        return HeadingRules::Custom(input.chapterPattern, input.volumePattern,
                                    input.maxHeadingLength);
    return HeadingRules::BuiltIn(input.maxHeadingLength);
}

std::string UserLanguageTag(const BookInput& input) {
    if (input.language.empty()) return std::string();
    if (std::optional<std::string> tag = NormalizeLanguageTag(input.language)) return *tag;
    throw ConversionError(LanguageTagProblem(input.language));
}

void CheckDetails(const BookDetails& details) {
    if (const std::string isbn = MetadataText(details.isbn); !isbn.empty())
        if (CheckIsbn(isbn).isbn.empty())
            throw ConversionError(Failure{.kind = FailureKind::IsbnInvalid, .value = isbn});
    if (const std::string date = MetadataText(details.date); !date.empty() && !IsBookDate(date))
        throw ConversionError(Failure{.kind = FailureKind::DateInvalid, .value = date});
}

TitleCoverText TitleCoverTextOf(const BookInput& input, const BookPlan& plan) {
    return {plan.title, plan.author, plan.language, input.vertical};
}

CoverPlan DecideCover(const BookInput& input, const BookPlan& plan,
                      std::optional<TitleCover> made) {
    CoverPlan cover;
    if (!input.coverPath.empty()) {
        cover.kind = CoverPlan::Kind::Picture;
    } else if (input.titleCover) {
        if (!made) made = TitleCoverModule().Make(TitleCoverTextOf(input, plan));
        if (made->png.empty()) {
            cover.problem = std::move(made->problem);
        } else {
            cover.kind = CoverPlan::Kind::Title;
            cover.png = std::move(made->png);
            cover.font = made->titleFace.family;
        }
    }
    return cover;
}

BookDecision DecideBook(const BookInput& input, PieceStore& pieces, const ReadingHooks& hooks) {
    const std::optional<HeadingRules> rules = HeadingRulesFor(input);
    const std::string userLanguage = UserLanguageTag(input);
    CheckDetails(input.details);
    BookDecision book;
    SourcesDone done;
    const ChapterListOptions options =
        OptionsFor(input, userLanguage, rules ? &*rules : nullptr, hooks, done, book.plan.notices);
    std::string sample;
    book.pages = BuildChapterList(input.sources, &pieces, options, &sample);

    BookPlan& plan = book.plan;
    // The book's language as given, named or judged, before its script is converted.
    const std::string judged = !input.sources.empty() && done.firstSize >= sample.size()
                                   ? done.firstJudged
                                   : DetectLanguage(sample, LocaleOfProcess());
    BookNames names = NamesOf(input, userLanguage, done.header.language, judged, done.ofText, done);
    plan.title = std::move(names.title);
    plan.author = std::move(names.author);
    plan.publisher = MetadataText(names.script(input.publisher));
    plan.language = ConvertedLanguageTag(names.language, input.chineseScript);
    plan.details = DecideDetails(DetailsInScript(input.details, names.script), done.header);
    plan.sources = std::move(done.sources);
    LabelPages(book.pages, plan.title, input.sources.size());
    for (const TocEntry& entry : BuildTableOfContents(book.pages))
        plan.contents.push_back(EntryOf(entry, book.pages));
    plan.pages = book.pages.size();
    if (!hooks.coverLeftToCaller) plan.cover = DecideCover(input, plan);
    return book;
}

BookPlan PlanBook(const BookInput& input, std::function<void()> checkPoint) {
    BookInput planned = input;
    planned.heldTextBudget = 0; // nothing is held: every page's text is dropped once cut
    DiscardedPieces pieces;
    return DecideBook(planned, pieces, {.checkPoint = std::move(checkPoint)}).plan;
}

} // namespace folivane::engine
