// The chapter list: each source read once, cut at its headings and by size into pages.
#include "ChapterList.h"

#include "HeadingFinder.h"
#include "Notation.h"
#include "PageCuts.h"
#include "TextSections.h"

#include "engine/text/ConversionError.h"
#include "engine/text/Language.h"
#include "engine/text/LegacyCodePage.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/SourceText.h"
#include "engine/text/TextLines.h"
#include "engine/text/WhiteSpace.h"

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace folivane::engine {
namespace {

// Pieces carry a byte-order mark so that they are read back as UTF-8, never as a
// legacy code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// The language of a book shows in its first pages.
constexpr std::size_t kLanguageSample = 256 << 10;

using Range = PageRange;

// The page's lines, each followed by CR LF, after a UTF-8 mark: the content of a piece file.
std::string PieceOf(std::string_view text, Range page) {
    std::string piece(kUtf8Mark);
    piece.reserve(kUtf8Mark.size() + page.second - page.first + (page.second - page.first) / 16);
    for (std::size_t at = page.first; at < page.second;) {
        const LineSpan line = LineAt(text, at, page.second);
        piece.append(line.In(text));
        piece.append("\r\n");
        at = line.next;
    }
    return piece;
}

// The span of a chapter in its source's text, with its name and kind.
struct ChapterSpan {
    Range range;
    std::string name;
    HeadingKind heading;
    bool listed = true;
    bool topLevel = false; // outside any volume, as a colophon is
    bool beforeHeadings = false;
    bool numbered = false; // headed by a number line of a sequence
};

// The name of the colophon's page in the contents.
constexpr std::string_view kColophonName = "底本";
// Only Japanese text uses the notation; 《》 marks a title in Chinese.
constexpr std::size_t kNotationLanguageSample = 64 << 10;

// Makes the pages of one source, whose decoded text is `text`.
class SourcePages {
public:
    SourcePages(const std::string& path, std::size_t index, PieceStore* pieces,
                std::shared_ptr<const std::string> text, bool held, bool large,
                const std::string& encoding, const ParagraphShape& shape, bool notation)
        : path_(path), index_(index), pieces_(pieces), text_(std::move(text)), held_(held),
          large_(large), encoding_(encoding), shape_(shape), notation_(notation) {}

    // One chapter: cut into pages when `cut` is set, and then each page listed under a name
    // with its number, or only the first one under the chapter's name.
    void AddChapter(const ChapterSpan& span, int level, bool cut, bool listEveryPage,
                    TChapterList& chapters) {
        const std::vector<Range> pages =
            cut ? CutPages(*text_, span.range, shape_.style) : std::vector<Range>{span.range};
        for (std::size_t i = 0; i < pages.size(); ++i) {
            FileList page;
            page.Name = listEveryPage ? PieceName(span.name, ++numbered_) : span.name;
            page.Heading = i == 0 ? span.heading : HeadingKind::None;
            page.Level = level;
            page.Listed = span.listed && (listEveryPage || i == 0);
            page.Paragraphs = shape_;
            page.BeforeHeadings = span.beforeHeadings && index_ == 0;
            page.Notation = notation_;
            page.Source = index_;
            page.Numbered = i == 0 && span.numbered;
            page.Begin = pages[i].first;
            page.End = pages[i].second;
            if (held_) page.Text = text_;
            // A page of text that is not held is read again: from a piece kept for it, or
            // from the source when it is all of it.
            const bool wholeSource = pages[i].first == 0 && pages[i].second == text_->size();
            if (!held_ && (large_ || !wholeSource)) {
                page.Path = pieces_->Keep(index_, ++kept_, PieceOf(*text_, pages[i]), path_);
            } else {
                page.Path = path_;
                page.Encoding = encoding_; // read again as it was read now
            }
            chapters.push_back(std::move(page));
        }
    }

private:
    const std::string& path_;
    std::size_t index_;
    PieceStore* pieces_;
    std::shared_ptr<const std::string> text_;
    bool held_;
    bool large_;
    const std::string& encoding_;
    ParagraphShape shape_;
    bool notation_;
    int kept_ = 0;
    std::size_t numbered_ = 0; // pages listed under the name with a number, so far
};

// The chapters of text[body) by its headings: what stands before the first one, when it is
// not blank, under the source's own name, then one per heading.
std::vector<ChapterSpan> ChaptersByHeadings(std::string_view text, Range body,
                                            const std::vector<HeadingLine>& headings,
                                            const std::string& sourceName) {
    std::vector<ChapterSpan> spans;
    if (!IsBlank(text.substr(body.first, headings.front().begin - body.first)))
        spans.push_back({.range = {body.first, headings.front().begin},
                         .name = sourceName,
                         .heading = HeadingKind::None,
                         .beforeHeadings = true});
    for (std::size_t k = 0; k < headings.size(); ++k) {
        const std::size_t end = k + 1 < headings.size() ? headings[k + 1].begin : body.second;
        spans.push_back({.range = {headings[k].begin, end},
                         .name = headings[k].name,
                         .heading = headings[k].kind,
                         .numbered = headings[k].numbered});
    }
    return spans;
}

// The layout of `text` when it uses the notation and is Japanese; an unused one otherwise.
NotationLayout NotationOf(std::string_view text) {
    NotationLayout layout = FindNotationLayout(text);
    if (layout.used &&
        !DetectLanguage(text.substr(0, kNotationLanguageSample), "").starts_with("ja"))
        layout = {};
    return layout;
}

// The spans cut where the notation says: the legend left out, a page after each page break,
// the colophon a page of its own to the end. A piece that shows nothing (annotations, blank
// lines) after a break stays with the page before; one after the legend goes. The first piece
// shown of a span keeps its name and heading; the others are pages not listed of their own.
std::vector<ChapterSpan> CutByNotation(std::string_view text, std::vector<ChapterSpan> spans,
                                       const NotationLayout& layout) {
    std::vector<std::size_t> cuts;
    for (const std::size_t pageBreak : layout.pageBreaks)
        if (pageBreak < layout.colophonBegin) cuts.push_back(pageBreak);
    if (layout.legendBegin != NotationLayout::npos) {
        cuts.push_back(layout.legendBegin);
        cuts.push_back(layout.legendEnd);
    }
    if (layout.colophonBegin != NotationLayout::npos) cuts.push_back(layout.colophonBegin);
    std::ranges::sort(cuts);
    std::vector<ChapterSpan> result;
    for (const ChapterSpan& span : spans) {
        bool first = true;
        for (auto cut = std::ranges::upper_bound(cuts, span.range.first);;) {
            const std::size_t begin = cut == cuts.begin() || *(cut - 1) < span.range.first
                                          ? span.range.first
                                          : *(cut - 1);
            const std::size_t end =
                cut != cuts.end() && *cut < span.range.second ? *cut : span.range.second;
            const bool blank = IsNotationBlank(text.substr(begin, end - begin));
            if (begin >= layout.colophonBegin) {
                result.push_back({{begin, span.range.second},
                                  std::string(kColophonName),
                                  HeadingKind::None,
                                  true,
                                  true});
                break;
            }
            if (begin == layout.legendBegin || (begin == layout.legendEnd && blank)) {
                // Left out.
            } else if (first) {
                result.push_back({.range = {begin, end},
                                  .name = span.name,
                                  .heading = span.heading,
                                  .listed = span.listed,
                                  .topLevel = span.topLevel,
                                  .numbered = span.numbered});
                first = false;
            } else if (blank && result.back().range.second == begin) {
                result.back().range.second = end;
            } else {
                result.push_back({{begin, end}, span.name, HeadingKind::None, false, false});
            }
            if (end == span.range.second) break;
            ++cut;
        }
    }
    return result;
}

} // namespace

TChapterList BuildChapterList(const std::vector<std::string>& sources, PieceStore* pieces,
                              const ChapterListOptions& options, std::string* languageSample) {
    std::optional<HeadingRules> builtIn;
    if (options.mode == ChapterMode::Auto && !options.rules) builtIn = HeadingRules::BuiltIn();
    const HeadingRules* rules = options.rules ? options.rules : builtIn ? &*builtIn : nullptr;

    TChapterList chapters;
    std::size_t heldBytes = 0;
    bool inVolume = false;
    const auto ruleFor = [&](std::size_t index) {
        return EncodingRule{
            ChosenEncoding(options.legacyEncoding, index < options.sourceEncodings.size()
                                                       ? options.sourceEncodings[index]
                                                       : std::string()),
            {}};
    };
    // For each source read so far, the encoding its own text or the user decided ("" when
    // neither did); the sources not read yet are judged by their first MiB when asked.
    std::vector<std::optional<std::string>> found(sources.size());
    std::optional<std::string> bookPage;
    const BookCodePageQuery bookQuery = [&] {
        if (!bookPage) {
            std::vector<std::string> pages;
            for (std::size_t other = 0; other < sources.size(); ++other) {
                if (found[other]) {
                    pages.push_back(*found[other]);
                    continue;
                }
                try { // one that cannot be read fails in its turn, naming itself
                    const EncodingJudgement judged =
                        GuessSourceEncoding(sources[other], ruleFor(other));
                    if (!JudgedWithoutItsText(judged.basis)) pages.push_back(judged.encoding);
                } catch (const std::exception&) {
                }
            }
            bookPage = BookCodePage(pages);
        }
        return *bookPage;
    };
    // Reading, decoding and searching for headings count a quarter, a quarter and a half of
    // each source's size, in the order they happen.
    std::vector<std::size_t> sizes(sources.size());
    std::size_t total = 0;
    if (options.readingProgress)
        for (std::size_t index = 0; index < sources.size(); ++index)
            total += sizes[index] = static_cast<std::size_t>(
                std::max<std::int64_t>(0, platform::RegularFileSize(sources[index]).value_or(0)));
    std::size_t before = 0;
    const auto report = [&](std::size_t done) {
        if (options.readingProgress) options.readingProgress(std::min(before + done, total), total);
    };
    for (std::size_t index = 0; index < sources.size(); ++index) {
        if (options.checkPoint) options.checkPoint();
        report(0);
        const std::size_t size = sizes[index];
        const std::string& path = sources[index];
        const std::string name = GetFileNameFromPath(path, false);
        EncodingRule rule = ruleFor(index);
        rule.bookPage = bookQuery;
        // Read once: what the pages need is kept, never asked of the file system again.
        platform::FileStatus opened;
        SourceBytes source = ReadingFile(path, [&] { return ReadSourceBytes(path, &opened); });
        if (options.sourceRead) options.sourceRead(path, opened);
        report(size / 4);
        const std::size_t fileSize = source.body.size() + MarkSize(source.encoding);
        EncodingJudgement judged;
        std::size_t undecodable = 0;
        const auto text = ReadingFile(path, [&] {
            return std::make_shared<const std::string>(
                DecodeSource(std::move(source), rule, &judged, &undecodable));
        });
        if (undecodable > 0 && options.notice)
            options.notice({.kind = TextNotice::Kind::BytesNotDecoded,
                            .source = index,
                            .count = undecodable,
                            .encoding = judged.encoding});
        report(size / 2);
        const bool withoutItsText = JudgedWithoutItsText(judged.basis);
        found[index] = withoutItsText ? std::string() : judged.encoding;
        if (withoutItsText && options.encodingReport) options.encodingReport(index, judged);
        if (options.sourceDecoded) options.sourceDecoded(index, judged, *text);
        if (languageSample && languageSample->size() < kLanguageSample)
            languageSample->append(text->substr(0, kLanguageSample - languageSample->size()));
        const bool held = !pieces || (options.heldTextBudget > 0 &&
                                      heldBytes + text->size() <= options.heldTextBudget);
        if (held) heldBytes += text->size();

        const bool large = fileSize > kSizeLimit;
        ReadingFile(path, [&] {
            const ParagraphShape shape = ParagraphShapeOf(*text, options.paragraphs);
            const NotationLayout notation = NotationOf(*text);
            SourcePages pages(path, index, pieces, text, held, large, judged.encoding, shape,
                              notation.used);
            // Headings count only in an archive's body; its licence is not searched.
            const TextSections sections =
                notation.used ? TextSections{0, text->size(), {}} : FindTextSections(*text);
            std::vector<HeadingLine> headings;
            std::vector<TextNotice> notices;
            try {
                const std::size_t decoded = std::max<std::size_t>(1, text->size());
                if (rules)
                    headings = FindHeadings(
                        std::string_view(*text).substr(0, sections.bodyEnd), *rules,
                        options.checkPoint, notation.used ? &notation : nullptr,
                        [&](std::size_t searched) {
                            report(size / 2 + size / 2 * searched / decoded);
                        },
                        &notices);
            } catch (const HeadingPatternError& error) {
                Failure failure = error.Reason();
                failure.path = path;
                throw ConversionError(std::move(failure));
            }
            if (options.notice)
                for (TextNotice& notice : notices) {
                    notice.source = index;
                    options.notice(notice);
                }
            if (notation.used) {
                if (UnknownAnnotations unknown = FindUnknownAnnotations(*text, notation);
                    unknown.count > 0 && options.notice)
                    options.notice({.kind = TextNotice::Kind::AnnotationsNotUnderstood,
                                    .source = index,
                                    .count = unknown.count,
                                    .examples = std::move(unknown.examples)});
                std::vector<ChapterSpan> spans =
                    headings.empty()
                        ? std::vector<ChapterSpan>{{{0, text->size()}, name, HeadingKind::None}}
                        : ChaptersByHeadings(*text, {0, text->size()}, headings, name);
                // Without headings a large source's pages are each listed, numbered on across
                // its page breaks, as without the notation.
                const bool listEveryPage = headings.empty() && large;
                for (ChapterSpan& span : CutByNotation(*text, std::move(spans), notation)) {
                    if (span.heading == HeadingKind::Volume) inVolume = true;
                    if (span.topLevel) inVolume = false;
                    const int level = span.heading != HeadingKind::Volume && inVolume ? 1 : 0;
                    const bool cut = span.range.second - span.range.first > kSizeLimit;
                    const bool numbered = listEveryPage && !span.topLevel;
                    span.listed = span.listed || numbered;
                    pages.AddChapter(span, level, cut || numbered, numbered, chapters);
                }
                return;
            }
            // An archive's header and licence are pages of their own, and hold no chapters.
            const Range body{sections.bodyBegin, sections.bodyEnd};
            std::erase_if(headings, [&](const HeadingLine& heading) {
                return heading.begin < body.first || heading.begin >= body.second;
            });
            const int outerLevel = inVolume ? 1 : 0;
            if (body.first > 0)
                pages.AddChapter({.range = {0, body.first},
                                  .name = name,
                                  .heading = HeadingKind::None,
                                  .beforeHeadings = true},
                                 outerLevel, body.first > kSizeLimit, false, chapters);
            if (headings.empty()) {
                // As the book was before chapters were found: the source, or its pieces.
                const bool whole = body.first == 0 && body.second == text->size();
                const bool cut = whole ? large : body.second - body.first > kSizeLimit;
                if (whole ||
                    !IsBlank(std::string_view(*text).substr(body.first, body.second - body.first)))
                    pages.AddChapter({body, name, HeadingKind::None}, outerLevel, cut, cut,
                                     chapters);
            } else {
                for (const ChapterSpan& span : ChaptersByHeadings(*text, body, headings, name)) {
                    if (span.heading == HeadingKind::Volume) inVolume = true;
                    const int level = span.heading != HeadingKind::Volume && inVolume ? 1 : 0;
                    const bool cut = span.range.second - span.range.first > kSizeLimit;
                    pages.AddChapter(span, level, cut, false, chapters);
                }
            }
            if (body.second < text->size())
                pages.AddChapter({{body.second, text->size()},
                                  sections.endName.empty() ? name : sections.endName,
                                  HeadingKind::None},
                                 inVolume ? 1 : 0, text->size() - body.second > kSizeLimit, false,
                                 chapters);
        });
        before += size;
        report(0);
    }
    return chapters;
}

std::string PieceName(const std::string& name, std::size_t number) {
    return name + " (" + std::to_string(number) + ")";
}

std::string ChapterText(const FileList& chapter, const std::string& legacyEncoding) {
    if (chapter.Text) return chapter.Text->substr(chapter.Begin, chapter.End - chapter.Begin);
    return ReadingFile(chapter.Path, [&] {
        return ReadSourceText(chapter.Path, legacyEncoding, chapter.Encoding);
    });
}

} // namespace folivane::engine
