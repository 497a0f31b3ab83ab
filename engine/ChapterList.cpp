// The chapter list: each source read once, cut at its headings and by size into pages.
#include "ChapterList.h"

#include "ConversionError.h"
#include "DocumentWriter.h"
#include "HeadingFinder.h"
#include "SourceText.h"

#include "platform/RegularFile.h"
#include "platform/SystemError.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace folivane::engine {
namespace {

// A source, or a chapter, of more than 100 KiB is cut into pages.
constexpr std::size_t kSizeLimit = 102400;
// A page is closed once its lines take this many bytes (90 KiB) with CR LF line ends. Every
// byte counts, blank lines and line ends too, so that no page can grow without bound.
constexpr std::size_t kPieceThreshold = 92160;
// Pieces carry a byte-order mark so that they are read back as UTF-8, never as a
// legacy code page.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// The language of a book shows in its first pages.
constexpr std::size_t kLanguageSample = 256 << 10;

using Range = std::pair<std::size_t, std::size_t>;

// Where the line that begins at `begin` ends (before its line end), and where the next one
// begins. A line ends at CR LF, at LF or at a lone CR; LF CR is two line ends.
std::pair<std::size_t, std::size_t> LineAt(std::string_view text, std::size_t begin,
                                           std::size_t limit) {
    const char* start = text.data() + begin;
    const auto* lf = static_cast<const char*>(std::memchr(start, '\n', limit - begin));
    const std::size_t lfAt = lf ? static_cast<std::size_t>(lf - text.data()) : limit;
    const auto* cr = static_cast<const char*>(std::memchr(start, '\r', lfAt - begin));
    const std::size_t end = cr ? static_cast<std::size_t>(cr - text.data()) : lfAt;
    std::size_t next = end;
    if (next < limit)
        next += text[next] == '\r' && next + 1 < limit && text[next + 1] == '\n' ? 2u : 1u;
    return {end, next};
}

// The pages of text[range): cut between lines, each closed by the line with which its lines
// reach kPieceThreshold bytes; one page, possibly empty, for a short or empty text.
std::vector<Range> CutPages(std::string_view text, Range range) {
    std::vector<Range> pages;
    std::size_t pageStart = range.first;
    std::size_t counter = 0;
    for (std::size_t at = range.first; at < range.second;) {
        const auto [end, next] = LineAt(text, at, range.second);
        counter += end - at + 2;
        at = next;
        if (counter >= kPieceThreshold) {
            pages.emplace_back(pageStart, at);
            pageStart = at;
            counter = 0;
        }
    }
    if (pageStart < range.second || pages.empty()) pages.emplace_back(pageStart, range.second);
    return pages;
}

// The page's lines, each followed by CR LF, after a UTF-8 mark: the content of a piece file.
std::string PieceOf(std::string_view text, Range page) {
    std::string piece(kUtf8Mark);
    piece.reserve(kUtf8Mark.size() + page.second - page.first + (page.second - page.first) / 16);
    for (std::size_t at = page.first; at < page.second;) {
        const auto [end, next] = LineAt(text, at, page.second);
        piece.append(text.substr(at, end - at));
        piece.append("\r\n");
        at = next;
    }
    return piece;
}

bool IsBlank(std::string_view text) {
    return TrimHeadingSpace(text).empty();
}

// A chapter of a source: its text, name and kind.
struct Part {
    Range range;
    std::string name;
    HeadingKind heading;
};

// Makes the pages of one source, whose decoded text is `text`.
class SourcePages {
public:
    SourcePages(const std::string& path, std::size_t index, const std::string& pieceFolder,
                std::shared_ptr<const std::string> text, bool held, bool large,
                const std::string& encoding)
        : path_(path), pieceFolder_(pieceFolder),
          piecePrefix_(pieceFolder + std::to_string(index) + "-"), text_(std::move(text)),
          held_(held), large_(large), encoding_(encoding) {}

    // One chapter: cut into pages when `cut` is set, and then each page listed under a name
    // with its number, or only the first one under the chapter's name.
    void AddChapter(const Part& part, int level, bool cut, bool listEveryPage,
                    TChapterList& chapters) {
        const std::vector<Range> pages =
            cut ? CutPages(*text_, part.range) : std::vector<Range>{part.range};
        for (std::size_t i = 0; i < pages.size(); ++i) {
            FileList page;
            page.Name = listEveryPage ? part.name + std::to_string(i + 1) : part.name;
            page.Heading = i == 0 ? part.heading : HeadingKind::None;
            page.Level = level;
            page.Listed = listEveryPage || i == 0;
            page.Begin = pages[i].first;
            page.End = pages[i].second;
            if (held_) page.Text = text_;
            // A page of text that is not held is read again: from a piece in the working
            // folder, or from the source when it is all of it.
            const bool wholeSource = pages[i].first == 0 && pages[i].second == text_->size();
            if (!held_ && (large_ || !wholeSource)) {
                page.Path = piecePrefix_ + std::to_string(++pieces_) + ".txt";
                WriteWorkingFile(pieceFolder_, page.Path, PieceOf(*text_, pages[i]),
                                 "a piece of \"" + platform::ExpandFileName(path_) + "\"");
            } else {
                page.Path = path_;
                page.Encoding = encoding_; // read again as it was read now
            }
            chapters.push_back(std::move(page));
        }
    }

private:
    const std::string& path_;
    const std::string& pieceFolder_;
    std::string piecePrefix_;
    std::shared_ptr<const std::string> text_;
    bool held_;
    bool large_;
    const std::string& encoding_;
    int pieces_ = 0;
};

// The chapters of a text by its headings: what stands before the first one, when it is not
// blank, under the source's own name, then one per heading.
std::vector<Part> PartsByHeadings(std::string_view text, const std::vector<HeadingLine>& headings,
                                  const std::string& sourceName) {
    std::vector<Part> parts;
    if (!IsBlank(text.substr(0, headings.front().begin)))
        parts.push_back({{0, headings.front().begin}, sourceName, HeadingKind::None});
    for (std::size_t k = 0; k < headings.size(); ++k) {
        const std::size_t end = k + 1 < headings.size() ? headings[k + 1].begin : text.size();
        parts.push_back({{headings[k].begin, end}, headings[k].name, headings[k].kind});
    }
    return parts;
}

} // namespace

double GetFileSizeKB(const std::string& path) {
    const std::optional<std::int64_t> size = platform::RegularFileSize(path);
    return size ? static_cast<double>(*size) / 1024.0 : 0;
}

std::string GetFileNameFromPath(const std::string& path, bool wholeName) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (wholeName) return name;
    if (name.size() < 5) return std::string();
    name.resize(name.size() - 4);
    return name;
}

TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder, const ChapterListOptions& options,
                              std::string* languageSample) {
    std::string folder = pieceFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::optional<HeadingRules> builtIn;
    if (options.mode == ChapterMode::Auto && !options.rules) builtIn = HeadingRules::BuiltIn();
    const HeadingRules* rules = options.rules ? options.rules : builtIn ? &*builtIn : nullptr;

    TChapterList chapters;
    std::size_t heldBytes = 0;
    bool inVolume = false;
    for (std::size_t index = 0; index < sources.size(); ++index) {
        if (options.checkPoint) options.checkPoint();
        const std::string& path = sources[index];
        const std::string name = GetFileNameFromPath(path, false);
        const std::string forced =
            index < options.sourceEncodings.size() ? options.sourceEncodings[index] : "";
        // Read once: what the pages need is kept, never asked of the file system again.
        SourceBytes source = ReadingFile(path, [&] { return ReadSourceBytes(path); });
        const std::size_t fileSize = source.body.size() + MarkSize(source.encoding);
        const auto text = ReadingFile(path, [&] {
            return std::make_shared<const std::string>(
                DecodeSource(std::move(source), options.legacyEncoding, forced));
        });
        if (languageSample && languageSample->size() < kLanguageSample)
            languageSample->append(text->substr(0, kLanguageSample - languageSample->size()));
        const bool held =
            options.heldTextBudget > 0 && heldBytes + text->size() <= options.heldTextBudget;
        if (held) heldBytes += text->size();

        const bool large = fileSize > kSizeLimit;
        ReadingFile(path, [&] {
            SourcePages pages(path, index, folder, text, held, large, forced);
            const std::vector<HeadingLine> headings =
                rules ? FindHeadings(*text, *rules) : std::vector<HeadingLine>();
            if (headings.empty()) {
                // As the book was before chapters were found: the source, or its pieces.
                pages.AddChapter({{0, text->size()}, name, HeadingKind::None}, inVolume ? 1 : 0,
                                 large, large, chapters);
                return;
            }
            for (const Part& part : PartsByHeadings(*text, headings, name)) {
                if (part.heading == HeadingKind::Volume) inVolume = true;
                const int level = part.heading != HeadingKind::Volume && inVolume ? 1 : 0;
                const bool cut = part.range.second - part.range.first > kSizeLimit;
                pages.AddChapter(part, level, cut, false, chapters);
            }
        });
    }
    return chapters;
}

TChapterList BuildChapterList(const std::vector<std::string>& sources,
                              const std::string& pieceFolder, const std::string& legacyEncoding,
                              const std::function<void()>& checkPoint) {
    ChapterListOptions options;
    options.mode = ChapterMode::Files;
    options.legacyEncoding = legacyEncoding;
    options.checkPoint = checkPoint;
    options.heldTextBudget = 0;
    return BuildChapterList(sources, pieceFolder, options);
}

std::string ChapterText(const FileList& chapter, const std::string& legacyEncoding) {
    if (chapter.Text) return chapter.Text->substr(chapter.Begin, chapter.End - chapter.Begin);
    return ReadingFile(chapter.Path, [&] {
        return ReadSourceText(chapter.Path, legacyEncoding, chapter.Encoding);
    });
}

} // namespace folivane::engine
