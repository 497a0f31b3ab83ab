// The book's plan: the chapter list made as the conversion makes it, its pieces kept nowhere.
#include "BookPlan.h"

#include "engine/chapters/TableOfContents.h"
#include "engine/epub/PageLabel.h"
#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/LanguageTag.h"
#include "engine/text/Locale.h"

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

PlanEntry EntryOf(const TocEntry& toc, const TChapterList& chapters) {
    PlanEntry entry;
    const FileList& page = chapters[toc.page];
    entry.label = PageLabel(page, toc.page);
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

} // namespace

std::optional<HeadingRules> HeadingRulesFor(const BookInput& input) {
    if (input.chapters == ChapterMode::Files) return std::nullopt;
    if (!input.chapterPattern.empty() || !input.volumePattern.empty())
        return HeadingRules::Custom(input.chapterPattern, input.volumePattern,
                                    input.maxHeadingLength);
    return HeadingRules::BuiltIn(input.maxHeadingLength);
}

ChapterListOptions ChapterListOptionsFor(const BookInput& input,
                                         const std::optional<HeadingRules>& rules,
                                         std::function<void()> checkPoint) {
    ChapterListOptions options;
    options.mode = input.chapters;
    options.paragraphs = input.paragraphs;
    options.rules = rules ? &*rules : nullptr;
    options.legacyEncoding = input.legacyEncoding;
    options.sourceEncodings = input.sourceEncodings;
    options.checkPoint = std::move(checkPoint);
    options.heldTextBudget = input.heldTextBudget;
    return options;
}

BookPlan PlanBook(const BookInput& input, std::function<void()> checkPoint) {
    const std::optional<HeadingRules> rules = HeadingRulesFor(input);
    ChapterListOptions options = ChapterListOptionsFor(input, rules, std::move(checkPoint));
    options.heldTextBudget = 0; // nothing is held: every page's text is dropped once cut
    BookPlan plan;
    const std::string locale = LocaleOfProcess();
    options.sourceDecoded = [&](std::size_t index, const EncodingJudgement& judged,
                                std::string_view text) {
        SourcePlan source;
        source.path = input.sources[index];
        source.encoding = judged;
        source.bytes = text.size();
        source.language = DetectLanguage(text.substr(0, kLanguageSample), locale);
        plan.sources.push_back(std::move(source));
    };
    options.notice = [&plan](const TextNotice& notice) { plan.notices.push_back(notice); };
    DiscardedPieces pieces;
    std::string sample;
    const TChapterList chapters = BuildChapterList(input.sources, &pieces, options, &sample);
    for (const FileList& page : chapters) {
        if (page.Source >= plan.sources.size()) continue;
        SourcePlan& source = plan.sources[page.Source];
        if (source.pages++ == 0) source.paragraphs = page.Paragraphs;
    }
    for (const TocEntry& entry : BuildTableOfContents(chapters))
        plan.contents.push_back(EntryOf(entry, chapters));
    plan.pages = chapters.size();
    if (input.language.empty()) {
        plan.language = DetectLanguage(sample, locale);
    } else if (const std::optional<std::string> tag = NormalizeLanguageTag(input.language)) {
        plan.language = *tag;
    } else {
        throw ConversionError(LanguageTagProblem(input.language));
    }
    return plan;
}

} // namespace folivane::engine
