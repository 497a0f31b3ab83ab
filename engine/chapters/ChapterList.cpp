// The chapter list: each source read once, cut at its headings and by size into pages.
#include "ChapterList.h"

#include "ChapterSpans.h"
#include "SourcePages.h"

#include "engine/text/ConversionError.h"
#include "engine/text/LegacyCodePage.h"
#include "engine/text/SideTask.h"
#include "engine/text/SourceFiles.h"
#include "engine/text/SourceText.h"
#include "engine/text/UnicodeText.h"

#include "platform/RegularFile.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace folivane::engine {
namespace {

// The language of a book shows in its first pages.
constexpr std::size_t kLanguageSample = 256 << 10;
// A text from which judging its paragraph shape takes longer than starting a thread.
constexpr std::size_t kJudgedAsideFrom = 1 << 20;

// A source read and decoded, with how.
struct DecodedSource {
    std::shared_ptr<const std::string> text;
    std::string name; // DisplayName, or as sourceDecoded left it
    EncodingJudgement judged;
    std::size_t fileSize = 0; // its bytes, the mark included
};

// Makes the chapter list source by source, in steps: read and decode, find chapters, make
// pages. Holds what one source's steps leave for the next: the volume the text is in, the
// code pages found so far, the text held so far.
class ChapterListBuilder {
public:
    ChapterListBuilder(const std::vector<std::string>& sources, PieceStore* pieces,
                       const ChapterListOptions& options, std::string* languageSample)
        : sources_(sources), pieces_(pieces), options_(options), sample_(languageSample),
          found_(sources.size()), sizes_(sources.size()) {
        if (options.mode == ChapterMode::Auto && !options.rules) builtIn_ = HeadingRules::BuiltIn();
        rules_ = options.rules ? options.rules : builtIn_ ? &*builtIn_ : nullptr;
        if (options.progress)
            for (std::size_t index = 0; index < sources.size(); ++index)
                total_ += sizes_[index] = static_cast<std::size_t>(std::max<std::int64_t>(
                    0, platform::RegularFileSize(sources[index]).value_or(0)));
    }

    void AddSource(std::size_t index) {
        if (options_.checkPoint) options_.checkPoint();
        const DecodedSource source = ReadAndDecode(index);
        const std::string& path = sources_[index];
        const std::string& text = *source.text;
        SourceFacts facts{.index = index,
                          .name = source.name,
                          .encoding = source.judged,
                          .paragraphs = {},
                          .text = text,
                          .firstPage = chapters_.size()};
        // The paragraph shape and the chapters are judged each from the text alone: a large
        // text has the shape judged on the second core while its headings are searched.
        SideTask<ParagraphShape> shape(
            [&] {
                return ReadingFile(path,
                                   [&] { return ParagraphShapeOf(text, options_.paragraphs); });
            },
            text.size() >= kJudgedAsideFrom);
        const NotationLayout notation = ReadingFile(path, [&] { return NotationOf(text); });
        facts.notation = notation.used;
        const std::vector<ChapterSpan> spans = ReadingFile(path, [&] {
            return FindChapters(index, source, facts.name, notation.used ? &notation : nullptr);
        });
        facts.paragraphs = shape.Get();
        const bool held = !pieces_ || (options_.heldTextBudget > 0 &&
                                       heldBytes_ + text.size() <= options_.heldTextBudget);
        if (held) heldBytes_ += text.size();
        const std::size_t size = sizes_[index];
        const std::size_t decoded = std::max<std::size_t>(1, text.size());
        SourcePages pages(
            {.path = path,
             .index = index,
             .text = held ? source.text : nullptr,
             .paragraphs = facts.paragraphs,
             .notation = notation.used,
             .pageMade =
                 [&](std::size_t end) { Report(SourceWork::MakingPages, size * end / decoded); }},
            pieces_);
        for (const ChapterSpan& span : spans)
            pages.AddChapter(text, span, chapters_);
        facts.pages = chapters_.size() - facts.firstPage;
        if (options_.sourceDone) options_.sourceDone(facts, chapters_);
        before_ += size;
        Report(SourceWork::FindingChapters, 0);
        Report(SourceWork::MakingPages, 0);
    }

    TChapterList Take() {
        TellSample(); // a book of less text than the sample holds
        return std::move(chapters_);
    }

private:
    // The rule for a source's code page: the user's choice for it, else for the book.
    EncodingRule RuleFor(std::size_t index) const {
        return {ChosenEncoding(options_.legacyEncoding, index < options_.sourceEncodings.size()
                                                            ? options_.sourceEncodings[index]
                                                            : std::string()),
                {}};
    }

    // The code page of the book's other sources, for one whose own text does not tell: those
    // read so far as they were found, the others judged by their first MiB, once.
    std::string BookPage() {
        if (bookPage_) return *bookPage_;
        std::vector<std::string> pages;
        for (std::size_t other = 0; other < sources_.size(); ++other) {
            if (found_[other]) {
                pages.push_back(*found_[other]);
                continue;
            }
            try { // one that cannot be read fails in its turn, naming itself
                const EncodingJudgement judged =
                    GuessSourceEncoding(sources_[other], RuleFor(other));
                if (!JudgedWithoutItsText(judged.basis)) pages.push_back(judged.encoding);
            } catch (const std::exception&) {
            }
        }
        bookPage_ = BookCodePage(pages);
        return *bookPage_;
    }

    // Read once: what the pages need is kept, never asked of the file system again.
    DecodedSource ReadAndDecode(std::size_t index) {
        const std::string& path = sources_[index];
        Report(SourceWork::Reading, 0);
        platform::FileStatus opened;
        SourceBytes bytes = ReadingFile(path, [&] {
            return ReadSourceBytes(path, &opened,
                                   [&](std::size_t read) { Report(SourceWork::Reading, read); });
        });
        if (options_.sourceRead) options_.sourceRead(path, opened);
        Report(SourceWork::Reading, sizes_[index]);
        DecodedSource source;
        source.fileSize = bytes.body.size() + MarkSize(bytes.encoding);
        EncodingRule rule = RuleFor(index);
        rule.bookPage = [this] { return BookPage(); };
        std::size_t undecodable = 0;
        std::string text = ReadingFile(path, [&] {
            return DecodeSource(std::move(bytes), rule, &source.judged, &undecodable);
        });
        source.name = DisplayName(path, source.judged.encoding);
        if (undecodable > 0 && options_.notice)
            options_.notice({.kind = TextNotice::Kind::BytesNotDecoded,
                             .source = index,
                             .count = undecodable,
                             .encoding = source.judged.encoding});
        const bool withoutItsText = JudgedWithoutItsText(source.judged.basis);
        found_[index] = withoutItsText ? std::string() : source.judged.encoding;
        if (withoutItsText && options_.encodingReport)
            options_.encodingReport(index, source.judged);
        if (sample_ && sample_->size() < kLanguageSample) {
            sample_->append(std::string_view(text).substr(0, kLanguageSample - sample_->size()));
            if (sample_->size() == kLanguageSample) TellSample();
        }
        if (options_.sourceDecoded)
            ReadingFile(path, [&] { options_.sourceDecoded(index, text, source.name); });
        source.text = std::make_shared<const std::string>(std::move(text));
        Report(SourceWork::Decoding, sizes_[index]);
        return source;
    }

    // The source's headings by the rules, and the chapters they make.
    std::vector<ChapterSpan> FindChapters(std::size_t index, const DecodedSource& source,
                                          const std::string& name, const NotationLayout* notation) {
        const std::string& text = *source.text;
        SourceLayout layout;
        layout.text = text;
        layout.name = name;
        layout.notation = notation;
        layout.large = source.fileSize > kSizeLimit;
        // Headings count only in an archive's body; its licence is not searched.
        layout.sections = notation ? TextSections{0, text.size(), {}, {}} : FindTextSections(text);
        const std::size_t size = sizes_[index];
        const std::size_t decoded = std::max<std::size_t>(1, text.size());
        std::vector<TextNotice> notices;
        try {
            if (rules_)
                layout.headings = FindHeadings(
                    std::string_view(text).substr(0, layout.sections.bodyEnd), *rules_,
                    options_.checkPoint, notation,
                    [&](std::size_t searched) {
                        Report(SourceWork::FindingChapters, size * searched / decoded);
                    },
                    &notices);
        } catch (const HeadingPatternError& error) {
            Failure failure = error.Reason();
            failure.path = sources_[index];
            throw ConversionError(std::move(failure));
        }
        if (options_.notice)
            for (TextNotice& notice : notices) {
                notice.source = index;
                options_.notice(notice);
            }
        if (UnknownAnnotations unknown =
                notation ? FindUnknownAnnotations(text, *notation) : UnknownAnnotations{};
            unknown.count > 0 && options_.notice)
            options_.notice({.kind = TextNotice::Kind::AnnotationsNotUnderstood,
                             .source = index,
                             .count = unknown.count,
                             .examples = std::move(unknown.examples)});
        return FindChapterSpans(layout, inVolume_);
    }

    // The language sample, to options_.sampleTaken, once.
    void TellSample() {
        if (sample_ && options_.sampleTaken && !sampleTold_) options_.sampleTaken(*sample_);
        sampleTold_ = true;
    }

    // `done` bytes of the current source's `work`, told as the whole list's.
    void Report(SourceWork work, std::size_t done) {
        if (options_.progress) options_.progress(work, std::min(before_ + done, total_), total_);
    }

    const std::vector<std::string>& sources_;
    PieceStore* pieces_;
    const ChapterListOptions& options_;
    std::string* sample_;
    bool sampleTold_ = false;
    std::optional<HeadingRules> builtIn_;
    const HeadingRules* rules_ = nullptr;
    TChapterList chapters_;
    std::size_t heldBytes_ = 0;
    bool inVolume_ = false;
    // For each source read so far, the encoding its own text or the user decided ("" when
    // neither did).
    std::vector<std::optional<std::string>> found_;
    std::optional<std::string> bookPage_;
    // Each source's size when the list was begun, their sum, and the sum of those before
    // the current one: what progress is told in.
    std::vector<std::size_t> sizes_;
    std::size_t total_ = 0;
    std::size_t before_ = 0;
};

} // namespace

TChapterList BuildChapterList(const std::vector<std::string>& sources, PieceStore* pieces,
                              const ChapterListOptions& options, std::string* languageSample) {
    ChapterListBuilder builder(sources, pieces, options, languageSample);
    for (std::size_t index = 0; index < sources.size(); ++index)
        builder.AddSource(index);
    return builder.Take();
}

std::string PieceName(const std::string& name, std::size_t number) {
    return name + " (" + std::to_string(number) + ")";
}

std::string DisplayName(const std::string& path, const std::string& encoding) {
    const std::string name = GetFileNameFromPath(path, false);
    const std::size_t invalid = FindInvalidUtf8(name);
    if (invalid == name.size()) return name;
    // Only a code page that is not Unicode can have written the name.
    if (!encoding.empty() && !encoding.starts_with("UTF")) {
        try {
            constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
            std::string decoded = platform::ConvertText(name, encoding, "UTF-8", kReplacement);
            if (decoded.find(kReplacement) == std::string::npos) return decoded;
        } catch (const std::exception&) {
        }
    }
    return ReplaceInvalidUtf8(name, invalid);
}

std::string ChapterText(const FileList& chapter, const std::string& legacyEncoding) {
    if (chapter.Text) return chapter.Text->substr(chapter.Begin, chapter.End - chapter.Begin);
    return ReadingFile(chapter.Path, [&] { return ReadSourceText(chapter.Path, legacyEncoding); });
}

} // namespace folivane::engine
