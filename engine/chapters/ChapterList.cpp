// The chapter list: each source read once, cut at its headings and by size into pages.
#include "ChapterList.h"

#include "HeadingFinder.h"
#include "PageCuts.h"

#include "engine/text/ConversionError.h"
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
};

// Makes the pages of one source, whose decoded text is `text`.
class SourcePages {
public:
    SourcePages(const std::string& path, std::size_t index, PieceStore* pieces,
                std::shared_ptr<const std::string> text, bool held, bool large,
                const std::string& encoding)
        : path_(path), index_(index), pieces_(pieces), text_(std::move(text)), held_(held),
          large_(large), encoding_(encoding) {}

    // One chapter: cut into pages when `cut` is set, and then each page listed under a name
    // with its number, or only the first one under the chapter's name.
    void AddChapter(const ChapterSpan& span, int level, bool cut, bool listEveryPage,
                    TChapterList& chapters) {
        const std::vector<Range> pages =
            cut ? CutPages(*text_, span.range) : std::vector<Range>{span.range};
        for (std::size_t i = 0; i < pages.size(); ++i) {
            FileList page;
            page.Name = listEveryPage ? PieceName(span.name, i + 1) : span.name;
            page.Heading = i == 0 ? span.heading : HeadingKind::None;
            page.Level = level;
            page.Source = index_;
            page.Listed = listEveryPage || i == 0;
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
    int kept_ = 0;
};

// The chapters of a text by its headings: what stands before the first one, when it is not
// blank, under the source's own name, then one per heading.
std::vector<ChapterSpan> ChaptersByHeadings(std::string_view text,
                                            const std::vector<HeadingLine>& headings,
                                            const std::string& sourceName) {
    std::vector<ChapterSpan> spans;
    if (!IsBlank(text.substr(0, headings.front().begin)))
        spans.push_back({{0, headings.front().begin}, sourceName, HeadingKind::None});
    for (std::size_t k = 0; k < headings.size(); ++k) {
        const std::size_t end = k + 1 < headings.size() ? headings[k + 1].begin : text.size();
        spans.push_back({{headings[k].begin, end}, headings[k].name, headings[k].kind});
    }
    return spans;
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
        const auto text = ReadingFile(path, [&] {
            return std::make_shared<const std::string>(
                DecodeSource(std::move(source), rule, &judged));
        });
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
            SourcePages pages(path, index, pieces, text, held, large, judged.encoding);
            std::vector<HeadingLine> headings;
            try {
                const std::size_t decoded = std::max<std::size_t>(1, text->size());
                if (rules)
                    headings =
                        FindHeadings(*text, *rules, options.checkPoint, [&](std::size_t searched) {
                            report(size / 2 + size / 2 * searched / decoded);
                        });
            } catch (const HeadingPatternError& error) {
                throw ConversionError("Cannot find the chapters of \"" + path +
                                      "\": " + error.what());
            }
            if (headings.empty()) {
                // As the book was before chapters were found: the source, or its pieces.
                pages.AddChapter({{0, text->size()}, name, HeadingKind::None}, inVolume ? 1 : 0,
                                 large, large, chapters);
                return;
            }
            for (const ChapterSpan& span : ChaptersByHeadings(*text, headings, name)) {
                if (span.heading == HeadingKind::Volume) inVolume = true;
                const int level = span.heading != HeadingKind::Volume && inVolume ? 1 : 0;
                const bool cut = span.range.second - span.range.first > kSizeLimit;
                pages.AddChapter(span, level, cut, false, chapters);
            }
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
