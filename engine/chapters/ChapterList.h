// The chapter list: the pages of the book, made from its sources, with their place in the
// table of contents.
#pragma once

#include "HeadingRules.h"
#include "ParagraphStyle.h"
#include "TextNotice.h"

#include "engine/text/EncodingJudgement.h"
#include "platform/FileStatus.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace folivane::engine {

// How the book's chapters are found.
enum class ChapterMode {
    Auto,  // at heading lines in the text; a source without any is handled as in Files
    Files, // one chapter per source, a large source cut into pieces of about 90 KiB
};

// What a page is to its book, which decides the name the contents give it.
enum class PageRole {
    Text,        // a chapter, or a piece of a source, named by its heading or its source
    Opening,     // a source's text before its first heading
    WholeSource, // all of a source (or of its body) in which no heading was found, not cut
    Header,      // an archive's header up to its start line, named by its first line
    End,         // an archive's end line and what follows, named by that line
    Colophon,    // the colophon of a text in the notation
};

// One page of the book: its display name, where its text is, and its place in the table of
// contents. The text is held (a part of its source's decoded text) or in a UTF-8 piece file
// at Path, written from the text read at the start; Path names the source otherwise.
struct FileList {
    std::string Name;
    std::string Path;
    std::shared_ptr<const std::string> Text = nullptr; // held decoded text; null: read Path
    std::size_t Begin = 0;                             // the page's part of *Text
    std::size_t End = 0;
    HeadingKind Heading = HeadingKind::None; // the text begins with a heading line of this kind
    int Level = 0;                           // 0 top level, 1 within the volume before it
    bool Listed = true;                      // has an entry of its own in the table of contents
    ParagraphShape Paragraphs = {};          // how its source's lines make paragraphs
    PageRole Role = PageRole::Text;
    bool Notation = false;  // the text uses the notation of Japanese archive texts (Notation.h)
    std::size_t Source = 0; // the index of the source it was made from
    bool Numbered = false;  // its heading was found by its number in a sequence
};

using TChapterList = std::vector<FileList>;

// Where the text of pages that are not held in memory waits until their page is written.
// Called on the thread that builds the chapter list.
class PieceStore {
public:
    virtual ~PieceStore() = default;
    // Keeps `piece`, the text of the `number`th piece (from 1) cut from source `sourceIndex`
    // at `sourcePath`, and returns the path it is read back from: a UTF-8 file with a
    // byte-order mark, one line per line of the page, each ending in CR LF. Raises
    // ConversionError naming the source when it cannot be kept.
    virtual std::string Keep(std::size_t sourceIndex, int number, std::string_view piece,
                             const std::string& sourcePath) = 0;
};

// The kinds of work on the sources, for progress: reading the file, decoding it, searching it
// for headings, making its pages (and keeping those not held).
enum class SourceWork { Reading, Decoding, FindingChapters, MakingPages };

// What was decided about one source while its pages were made.
struct SourceFacts {
    std::size_t index = 0;
    std::string name; // its file name without ".txt", as UTF-8 (DisplayName)
    EncodingJudgement encoding;
    ParagraphShape paragraphs;
    bool notation = false;
    std::string_view text;     // its decoded text, valid during the call only
    std::size_t firstPage = 0; // its pages in the list
    std::size_t pages = 0;
};

struct ChapterListOptions {
    ChapterMode mode = ChapterMode::Auto;
    // How the lines of every source make paragraphs; Auto: each source's own, judged once.
    ParagraphChoice paragraphs = ParagraphChoice::Auto;
    const HeadingRules* rules = nullptr; // null: the built-in rules
    std::string legacyEncoding;
    // The code page the user chose for each source, by index; an empty or missing entry
    // leaves the choice to the byte-order mark and detection.
    std::vector<std::string> sourceEncodings;
    // Called before each source and every few thousand lines while headings are found; may
    // raise to stop.
    std::function<void()> checkPoint;
    // Called with each source's path and its file as opened, once it is read and before its
    // pages are made; may raise to stop. Asks nothing more of the file system.
    std::function<void(const std::string& path, const platform::FileStatus& opened)> sourceRead;
    // Called with a source's index and how it was read, for each source without a mark whose
    // own text was too short or unclear to tell its code page (JudgedWithoutItsText).
    std::function<void(std::size_t, const EncodingJudgement&)> encodingReport;
    // Called with each source's decoded text and name (DisplayName) before its chapters are
    // found, once the language sample has its text; may change both (the reader's script):
    // the pages, their names and the pieces are made of what it leaves.
    std::function<void(std::size_t index, std::string& text, std::string& name)> sourceDecoded;
    // Called for every source once its pages are made, with what was decided about it.
    std::function<void(const SourceFacts&, const TChapterList&)> sourceDone;
    // Called with what the rules decided about a source that its reader should know.
    std::function<void(const TextNotice&)> notice;
    // Called once with the language sample (see BuildChapterList) as soon as it is complete:
    // full, or every source read. It does not change afterwards.
    std::function<void(std::string_view sample)> sampleTaken;
    // Called as the sources are read, decoded and searched for chapters: for each kind of
    // work, `done` of `total` bytes, `total` being the sum of the sources' sizes when the list
    // was begun. Each kind's `done` only grows, reaching `total` when the last source is done,
    // and a large source reports as it goes, so that a front end's bar moves from the start.
    std::function<void(SourceWork work, std::size_t done, std::size_t total)> progress;
    // Decoded text is held for the pages up to this many bytes in all; the text of sources
    // beyond it goes to the piece store. Without a store every text is held.
    std::size_t heldTextBudget = std::size_t{64} << 20;
};

// Reads and decodes each source once and makes its pages. A source without a mark that its
// own text cannot judge is read in the code page the book's other sources were found in
// (judged from their text, or chosen), else as JudgeCodePage goes on.
// - Files mode, and a source in which no heading is found: a source of at most 100 KiB is
//   one page named after the source ("name" for name.txt, WholeSource); a larger one is cut
//   between lines into pages of about 90 KiB (every byte counted, line ends too) named
//   "name (1)", "name (2)", ..., each listed.
// - A text with an archive's start and end lines ("*** START OF ...", "*** END OF ...") has
//   its header, up to the start line, and its end, from the end line, as pages of their own
//   (Header, named by the header's first line; End, named by the end line); headings count
//   only between them.
// - Auto mode: each heading line starts a chapter named by the heading; text before the
//   first heading, when not blank, is a chapter named after the source (Opening). A chapter
//   over 100 KiB is cut into pages as above, of which only the first is listed.
// - Pages are cut at paragraph ends of the source's paragraph style where they can be.
//   Chapters after a volume heading lie within it (Level 1) until the next volume heading,
//   across sources.
// - A source judged Japanese that uses the notation (its legend or ［＃ annotations): its
//   annotated headings count whatever the mode's rules; the legend is left out; 改ページ
//   lines start a page not listed of its own; from the line beginning 底本： on is a page of
//   its own at the top level, named 底本 (Colophon). Its pages carry Notation. Its annotations
//   that ask for nothing this program does are counted to `options.notice`
//   (AnnotationsNotUnderstood).
// - A source read in a code page that leaves bytes undecoded is told to `options.notice`
//   (BytesNotDecoded), so that no garbled text goes by in silence.
// Names from file names are made UTF-8 by DisplayName. Pages whose text is not held (beyond
// the budget) are kept in `pieces` as they are made, from the text read now: no source is
// read twice. A text that decodes to nothing still gives one empty page, so that the source
// keeps its place. `languageSample`, when given, receives up to 256 KiB of the decoded text,
// from every source in turn. Raises ConversionError naming the file when a source cannot be
// read or a piece kept.
TChapterList BuildChapterList(const std::vector<std::string>& sources, PieceStore* pieces,
                              const ChapterListOptions& options,
                              std::string* languageSample = nullptr);

// The name of the `number`th piece (from 1) of a source named `name`: "big (201)", the
// number kept apart so that a name ending in a digit still reads as itself.
std::string PieceName(const std::string& name, std::size_t number);

// The name of a source in the book: its file name less ".txt", as UTF-8. A name that is not
// UTF-8 is read in the code page its text was read in (`encoding`) when it reads cleanly so,
// as names and texts made on one system share a code page; else each byte that is not UTF-8
// becomes U+FFFD.
std::string DisplayName(const std::string& path, const std::string& encoding);

// The text of a page: held, or read from its piece.
std::string ChapterText(const FileList& chapter, const std::string& legacyEncoding);

} // namespace folivane::engine
