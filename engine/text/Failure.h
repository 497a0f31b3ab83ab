// Why a conversion failed, as a kind and its values: each front end says it in its own words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace folivane::engine {

// Every failure a user can meet. After each kind, its values in the order its texts name
// them; the English text (FailureText) and the window's translation take them as %1, %2, ...
// in that order. To add a kind: a line here, its row in FailureText.cpp (values and English)
// and in the window's table (ui/FailureReasons.cpp), and its zh_CN and zh_TW texts; the
// tests walk every kind and find a missing row or translation.
enum class FailureKind {
    // A file the system refused: path, cause.
    FileNotOpened,         // opening it to read
    FileNotCreated,        // creating or replacing it
    FileNotRead,           // reading it
    FileNotWritten,        // writing it
    FileNotWrittenToDisk,  // fsync
    FileNotClosed,         // a deferred write error at its close
    FileNotSeeked,         // moving in it
    FileNotResized,        // ftruncate
    ProtectedFileNotKept,  // replacing a file its owner protected from writing
    BookFolderNotRead,     // listing a folder of a book's files
    WorkingFolderNotMade,  // making the job's folder in the temporary folder (path)
    WorkingFolderNotReady, // preparing the job's folder (path)
    PieceNotKept,          // path: the source; otherPath: the temporary folder; cause

    // The output the user chose.
    OutputNotNamed,        // path: blank
    OutputIsSource,        // path: the book; otherPath: the source it would replace
    OutputIsCover,         // path: the book; otherPath: the cover it would replace
    OutputIsTextFile,      // path: a .txt name, a source's name with the book's forgotten
    OutputIsStyleSheet,    // path: the book; otherPath: the style sheet it would replace
    OutputLinksToTextFile, // path: the .txt file; otherPath: the output, a link to it
    OutputLinkNotOwned,    // path: the output, another user's symbolic link
    OutputLinkLoops,       // path: the output, links that lead round in a circle
    EpubVersionUnknown,    // path, number: the version asked for
    VerticalNeedsEpub3,    // path
    BookNotWritten,        // path, cause: the system refused the book's file
    BookWriterFault,       // path, detail: the archive writer's own words (a program fault)
    BookNeedsZip64,        // path: 4 GiB or 65,535 entries, which need Zip64
    BookEntryNotPacked,    // path: a file of a book folder; detail: the archive writer's
    BookEntryGone,         // path: a file of a book folder that disappeared
    BookNotAsPlanned,      // path, detail: what the check of the written book found
    BookOutOfMemory,       // path

    // The job itself.
    OutOfMemory,     // none
    FileOutOfMemory, // path: the file being read
    SystemRefused,   // cause: a resource the job needs (a thread)
    Cancelled,       // none: the user or a signal stopped the job
    Unexpected,      // detail: a program fault's own words

    // The cover.
    CoverNotPicture,     // path
    CoverFileTooLarge,   // path, number: its size in MB, limit: in MB
    CoverRunLengthBmp,   // path
    CoverDamaged,        // path, detail: the decoder's reason
    CoverCutShort,       // path
    CoverUnknownBlock,   // path: a GIF with an unknown block before its picture
    CoverTooManyPixels,  // path, number: width, second: height, limit: millions of pixels
    CoverOutOfMemory,    // path
    CoverNotConvertible, // path: a BMP that could not be made PNG

    // The user's style sheet: path.
    StyleSheetTooLarge,
    StyleSheetNotUtf8,
    StyleSheetNotText, // it holds NUL bytes
    StyleSheetEmpty,
    StyleSheetImports,             // path
    StyleSheetUrlNotClosed,        // path
    StyleSheetNamesNetwork,        // path, value: the reference
    StyleSheetResourceKindUnknown, // path, otherPath: the file it names
    StyleSheetResourceNotRead,     // path, otherPath, cause
    StyleSheetResourceTooLarge,    // path, otherPath
    StyleSheetResourceNotItsKind,  // path, otherPath, value: the kind its name says

    // The text and the rules.
    UnknownEncoding,           // value: the code page's name
    LanguageTagInvalid,        // value: the tag
    ChapterPatternInvalid,     // value: the pattern, detail: PCRE2's message, number: offset
    VolumePatternInvalid,      // value, detail, number, as ChapterPatternInvalid
    ChapterPatternTooCostly,   // path, value: the pattern, excerpt: the line
    VolumePatternTooCostly,    // path, value, excerpt
    ChapterPatternOftenCostly, // path, value, excerpt: one of the many costly lines
    VolumePatternOftenCostly,  // path, value, excerpt
    ChineseScriptNotLoaded,    // path: OpenCC's configuration, detail: OpenCC's words
    IsbnInvalid,               // value: the identifier given, whose check digit or form is wrong
    DateInvalid,               // value: the date given, not YYYY, YYYY-MM or YYYY-MM-DD

    // One book per source: what was given to find the sources and to hold the books.
    BatchInputNotTextOrFolder, // path: neither a .txt file nor a folder
    BatchFolderNotRead,        // path: a folder given, cause
    BatchFoundNoText,          // path: the folder searched (the first, when several were)
    BooksFolderIsFile,         // path: the folder asked for the books, a file
    BooksFolderNotMade,        // path: the folder asked for the books, cause
    ClockOutOfRange,           // number: the system's time in seconds
};

// The number of kinds, for tables and for the tests that walk them: a new kind goes before
// ClockOutOfRange or moves this.
constexpr std::size_t kFailureKinds = static_cast<std::size_t>(FailureKind::ClockOutOfRange) + 1;

// A failure and its values; which values a kind has, the comments above say. Made with
// designated initializers: Failure{.kind = FailureKind::FileNotOpened, .path = p, .cause = e}.
struct Failure {
    FailureKind kind = FailureKind::Unexpected;
    std::string path = {};      // the file it concerns, as the user would find it (absolute)
    std::string otherPath = {}; // the second file, when two are concerned
    int cause = 0;              // the system's errno, or platform::kNotRegularFile
    std::string value = {};     // what the user gave: a pattern, a code page, a language tag
    std::string excerpt = {};   // a line of the text
    std::string detail = {};    // a library's or the program's own words, said as they are
    std::int64_t number = 0;
    std::int64_t second = 0;
    std::int64_t limit = 0; // the bound that `number` passed

    bool operator==(const Failure&) const = default;
};

// The values a kind's texts name, in the order they name them.
enum class FailureValue { Path, OtherPath, Cause, Value, Excerpt, Detail, Number, Second, Limit };

} // namespace folivane::engine
