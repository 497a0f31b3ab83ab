// The texts of the engine's failures, the system's causes and the notices, through tr().
#include "FailureReasons.h"

#include "engine/text/FailureText.h"

#include "platform/SystemError.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <iterator>

namespace folivane::ui {
namespace {

constexpr const char* kContext = "FailureReasons";

using K = engine::FailureKind;

struct FailureSourceText {
    engine::FailureKind kind;
    const char* text;
};

// In the order of engine::FailureKind; the English is the command line's, which the tests
// hold it to.
constexpr FailureSourceText kFailures[] = {
    {K::FileNotOpened, QT_TRANSLATE_NOOP("FailureReasons", "Cannot open file \"%1\". %2")},
    {K::FileNotCreated, QT_TRANSLATE_NOOP("FailureReasons", "Cannot create file \"%1\". %2")},
    {K::FileNotRead, QT_TRANSLATE_NOOP("FailureReasons", "Cannot read file \"%1\". %2")},
    {K::FileNotWritten, QT_TRANSLATE_NOOP("FailureReasons", "Cannot write file \"%1\". %2")},
    {K::FileNotWrittenToDisk,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot write file \"%1\" to disk. %2")},
    {K::FileNotClosed, QT_TRANSLATE_NOOP("FailureReasons", "Cannot close file \"%1\". %2")},
    {K::FileNotSeeked, QT_TRANSLATE_NOOP("FailureReasons", "Cannot seek in file \"%1\". %2")},
    {K::FileNotResized, QT_TRANSLATE_NOOP("FailureReasons", "Cannot resize file \"%1\". %2")},
    {K::ProtectedFileNotKept,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot replace the write-protected file \"%1\". %2")},
    {K::BookFolderNotRead,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot read the book folder \"%1\". %2")},
    {K::WorkingFolderNotMade,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot create a working folder in \"%1\". %2")},
    {K::WorkingFolderNotReady,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot prepare the working folder \"%1\". %2")},
    {K::PieceNotKept,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot write a piece of \"%1\" in the temporary folder \"%2\". %3")},

    {K::OutputNotNamed,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the book \"%1\": no output file is named")},
    {K::OutputIsSource,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" would replace its source \"%2\"; choose another name for "
                       "the book")},
    {K::OutputIsCover,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" would replace its cover \"%2\"; choose another name for "
                       "the book")},
    {K::OutputIsTextFile,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book would be written to the text file \"%1\"; a book needs a name of "
                       "its own, such as book.epub")},
    {K::OutputIsStyleSheet,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" would replace its style sheet \"%2\"; choose another name "
                       "for the book")},
    {K::OutputLinksToTextFile,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book would be written to the text file \"%1\" that \"%2\" links to; a "
                       "book needs a name of its own, such as book.epub")},
    {K::OutputLinkNotOwned,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot write the book \"%1\": it is a symbolic link of another user's, "
                       "which a book is not written through; choose another name for the book")},
    {K::OutputLinkLoops,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the book \"%1\": it is a symbolic link "
                                         "that leads round in a circle")},
    {K::EpubVersionUnknown,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot write the book \"%1\" as EPUB %2: the converter makes EPUB 2 and "
                       "EPUB 3 books")},
    {K::VerticalNeedsEpub3,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot write the book \"%1\" vertically as EPUB 2: vertical writing needs "
                       "EPUB 3")},
    {K::BookNotWritten, QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the book \"%1\". %2")},
    {K::BookWriterFault, QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the book \"%1\". %2")},
    {K::BookNeedsZip64,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot write the book \"%1\": a book of 4 GiB or of 65,535 files needs "
                       "Zip64, which the converter does not write")},
    {K::BookEntryNotPacked,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot pack \"%1\" into the book: %2")},
    {K::BookEntryGone,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot pack \"%1\" into the book: it has disappeared")},
    {K::BookNotAsPlanned,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" was not written as it must be (%2); the earlier file, if "
                       "any, is kept")},
    {K::BookOutOfMemory,
     QT_TRANSLATE_NOOP("FailureReasons", "Not enough memory to write the book \"%1\"")},

    {K::OutOfMemory, QT_TRANSLATE_NOOP("FailureReasons", "Not enough memory for the conversion")},
    {K::FileOutOfMemory, QT_TRANSLATE_NOOP("FailureReasons", "Not enough memory to read \"%1\"")},
    {K::SystemRefused,
     QT_TRANSLATE_NOOP("FailureReasons", "The system refused what the conversion needs. %1")},
    {K::Cancelled, QT_TRANSLATE_NOOP("FailureReasons", "The conversion was stopped")},
    {K::Unexpected, QT_TRANSLATE_NOOP("FailureReasons", "Unexpected failure: %1")},

    {K::CoverNotPicture,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: it is not a JPEG, PNG, GIF or BMP "
                       "picture")},
    {K::CoverFileTooLarge,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: the picture file is too large (%2 MB; a "
                       "cover may have at most %3 MB)")},
    {K::CoverRunLengthBmp,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: run-length encoded BMP pictures are not "
                       "supported; save it as PNG or JPEG")},
    {K::CoverDamaged,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: the picture is damaged (%2)")},
    {K::CoverCutShort,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: the picture is damaged (it is cut "
                       "short)")},
    {K::CoverUnknownBlock,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: the picture is damaged (it holds an "
                       "unknown block before its picture)")},
    {K::CoverTooManyPixels,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: the picture is too large (%2 x %3 "
                       "pixels; a cover may have at most %4 million)")},
    {K::CoverOutOfMemory,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: there is not enough memory to check the "
                       "picture")},
    {K::CoverNotConvertible,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use \"%1\" as the cover: it cannot be converted to PNG")},

    {K::StyleSheetTooLarge,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": it is larger than 1 MiB, too large for "
                       "a style sheet")},
    {K::StyleSheetNotUtf8,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": it is not UTF-8 text")},
    {K::StyleSheetNotText,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": it is not text (it holds NUL bytes)")},
    {K::StyleSheetEmpty,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot use the style sheet \"%1\": it is empty")},
    {K::StyleSheetImports,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": it imports another style sheet "
                       "(@import); a book takes one of yours, so put its rules in this one")},
    {K::StyleSheetUrlNotClosed,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": a url( is not closed")},
    {K::StyleSheetNamesNetwork,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": it names \"%2\" on the network; a book "
                       "holds its own fonts and pictures, so name a file next to the style sheet")},
    {K::StyleSheetResourceKindUnknown,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": \"%2\" is not a font or picture a book "
                       "can hold (TrueType, OpenType, WOFF, WOFF2, PNG, JPEG, GIF or SVG)")},
    {K::StyleSheetResourceNotRead,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": cannot read \"%2\". %3")},
    {K::StyleSheetResourceTooLarge,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot use the style sheet \"%1\": \"%2\" is larger than 64 MiB")},
    {K::StyleSheetResourceNotItsKind,
     QT_TRANSLATE_NOOP(
         "FailureReasons",
         "Cannot use the style sheet \"%1\": \"%2\" is not a %3 file, as its name says")},

    {K::UnknownEncoding, QT_TRANSLATE_NOOP("FailureReasons", "Unknown text encoding \"%1\"")},
    {K::LanguageTagInvalid,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "\"%1\" is not a language tag (BCP 47, such as en, zh-CN or ja)")},
    {K::ChapterPatternInvalid,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The chapter pattern \"%1\" does not compile: %2 at offset %3")},
    {K::VolumePatternInvalid,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The volume pattern \"%1\" does not compile: %2 at offset %3")},
    {K::ChapterPatternTooCostly,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot find the chapters of \"%1\": the chapter pattern \"%2\" needs too "
                       "much work to match the line \"%3\"; simplify it (nested repeats such as "
                       "(a+)+ backtrack without end)")},
    {K::VolumePatternTooCostly,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot find the chapters of \"%1\": the volume pattern \"%2\" needs too "
                       "much work to match the line \"%3\"; simplify it (nested repeats such as "
                       "(a+)+ backtrack without end)")},
    {K::ChapterPatternOftenCostly,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot find the chapters of \"%1\": the chapter pattern \"%2\" needs too "
                       "much work to match lines such as \"%3\"; simplify it (nested repeats such "
                       "as (a+)+ backtrack without end)")},
    {K::VolumePatternOftenCostly,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot find the chapters of \"%1\": the volume pattern \"%2\" needs too "
                       "much work to match lines such as \"%3\"; simplify it (nested repeats such "
                       "as (a+)+ backtrack without end)")},
    {K::ChineseScriptNotLoaded,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot load the Chinese script conversion \"%1\". %2")},
    {K::IsbnInvalid,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "\"%1\" is not a valid ISBN: an ISBN has 10 or 13 digits and its last "
                       "digit must match the others")},
    {K::DateInvalid,
     QT_TRANSLATE_NOOP("FailureReasons", "\"%1\" is not a date of the form YYYY, YYYY-MM or "
                                         "YYYY-MM-DD")},
    {K::BatchInputNotTextOrFolder,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "\"%1\" is neither a .txt file nor a folder; give text files or folders "
                       "of them")},
    {K::BatchFolderNotRead,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot read the folder \"%1\". %2")},
    {K::BatchFoundNoText,
     QT_TRANSLATE_NOOP("FailureReasons", "No .txt file found in the folder \"%1\"")},
    {K::BooksFolderIsFile,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "Cannot put the books in \"%1\": it is a file, not a folder")},
    {K::BooksFolderNotMade,
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot create the folder \"%1\" for the books. %2")},
    {K::ClockOutOfRange,
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The system clock gives a time no book can record (%1 s)")},
};

constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < std::size(kFailures); ++i)
        if (static_cast<std::size_t>(kFailures[i].kind) != i) return false;
    return std::size(kFailures) == engine::kFailureKinds;
}
static_assert(InKindOrder(), "one text per failure kind, in the order of FailureKind");

struct CauseText {
    int cause;
    const char* text;
};

// The causes a user meets, in the C library's English.
constexpr CauseText kCauses[] = {
    {ENOSPC, QT_TRANSLATE_NOOP("FailureReasons", "No space left on device")},
    {EDQUOT, QT_TRANSLATE_NOOP("FailureReasons", "Disk quota exceeded")},
    {EFBIG, QT_TRANSLATE_NOOP("FailureReasons", "File too large")},
    {EACCES, QT_TRANSLATE_NOOP("FailureReasons", "Permission denied")},
    {EPERM, QT_TRANSLATE_NOOP("FailureReasons", "Operation not permitted")},
    {EROFS, QT_TRANSLATE_NOOP("FailureReasons", "Read-only file system")},
    {ENOENT, QT_TRANSLATE_NOOP("FailureReasons", "No such file or directory")},
    {ENOTDIR, QT_TRANSLATE_NOOP("FailureReasons", "Not a directory")},
    {EISDIR, QT_TRANSLATE_NOOP("FailureReasons", "Is a directory")},
    {EEXIST, QT_TRANSLATE_NOOP("FailureReasons", "File exists")},
    {ENOTEMPTY, QT_TRANSLATE_NOOP("FailureReasons", "Directory not empty")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("FailureReasons", "File name too long")},
    {ELOOP, QT_TRANSLATE_NOOP("FailureReasons", "Too many levels of symbolic links")},
    {EMLINK, QT_TRANSLATE_NOOP("FailureReasons", "Too many links")},
    {EXDEV, QT_TRANSLATE_NOOP("FailureReasons", "Invalid cross-device link")},
    {EMFILE, QT_TRANSLATE_NOOP("FailureReasons", "Too many open files")},
    {ENFILE, QT_TRANSLATE_NOOP("FailureReasons", "Too many open files in system")},
    {ENOMEM, QT_TRANSLATE_NOOP("FailureReasons", "Cannot allocate memory")},
    {EAGAIN, QT_TRANSLATE_NOOP("FailureReasons", "Resource temporarily unavailable")},
    {EIO, QT_TRANSLATE_NOOP("FailureReasons", "Input/output error")},
    {EBUSY, QT_TRANSLATE_NOOP("FailureReasons", "Device or resource busy")},
    {ETXTBSY, QT_TRANSLATE_NOOP("FailureReasons", "Text file busy")},
    {ENXIO, QT_TRANSLATE_NOOP("FailureReasons", "No such device or address")},
    {ENODEV, QT_TRANSLATE_NOOP("FailureReasons", "No such device")},
    {EINVAL, QT_TRANSLATE_NOOP("FailureReasons", "Invalid argument")},
    {EOVERFLOW, QT_TRANSLATE_NOOP("FailureReasons", "Value too large for defined data type")},
    {EOPNOTSUPP, QT_TRANSLATE_NOOP("FailureReasons", "Operation not supported")},
    {EINTR, QT_TRANSLATE_NOOP("FailureReasons", "Interrupted system call")},
    {ESTALE, QT_TRANSLATE_NOOP("FailureReasons", "Stale file handle")},
    {ETIMEDOUT, QT_TRANSLATE_NOOP("FailureReasons", "Connection timed out")},
    {ENOLCK, QT_TRANSLATE_NOOP("FailureReasons", "No locks available")},
    {platform::kNotRegularFile, QT_TRANSLATE_NOOP("FailureReasons", "Not a regular file")},
};

QString Translate(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// Puts `values` into `text` for %1 to %9 in one pass, so that a "%2" within a file name
// stays as it is.
QString FillIn(const QString& text, const QStringList& values) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        const int index = next.unicode() - u'1';
        if (text[i] == u'%' && index >= 0 && index < 9 && index < values.size()) {
            result += values[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace

QString FailureValueText(const engine::Failure& failure, engine::FailureValue value) {
    using V = engine::FailureValue;
    switch (value) {
    case V::Path:
        return QFile::decodeName(failure.path.c_str());
    case V::OtherPath:
        return QFile::decodeName(failure.otherPath.c_str());
    case V::Cause:
        return TranslatedCause(failure.cause);
    case V::Value:
        return QString::fromStdString(failure.value);
    case V::Excerpt:
        return QString::fromStdString(failure.excerpt);
    case V::Detail:
        return QString::fromStdString(failure.detail);
    case V::Number:
        return QString::number(failure.number);
    case V::Second:
        return QString::number(failure.second);
    case V::Limit:
        return QString::number(failure.limit);
    }
    return QString();
}

const char* FailureSource(engine::FailureKind kind) {
    return kFailures[static_cast<std::size_t>(kind)].text;
}

QString TranslatedFailure(const engine::Failure& failure) {
    QStringList values;
    for (const engine::FailureValue value : engine::FailureValues(failure.kind))
        values << FailureValueText(failure, value);
    return FillIn(Translate(FailureSource(failure.kind)), values);
}

QString TranslatedCause(int cause) {
    for (const CauseText& known : kCauses)
        if (known.cause == cause) return Translate(known.text);
    return QCoreApplication::translate("FailureReasons", "System error %1 (%2)")
        .arg(cause)
        .arg(QString::fromStdString(platform::SystemErrorText(cause)));
}

QList<int> TranslatedCauses() {
    QList<int> causes;
    for (const CauseText& known : kCauses)
        causes << known.cause;
    return causes;
}

QString TranslatedNotice(const engine::TextNotice& notice) {
    using Kind = engine::TextNotice::Kind;
    switch (notice.kind) {
    case Kind::NumberMissing:
        return QCoreApplication::translate("FailureReasons", "chapter %1 missing")
            .arg(notice.number);
    case Kind::NumberRepeated:
        return QCoreApplication::translate("FailureReasons", "chapter %1 repeated")
            .arg(notice.number);
    case Kind::BytesNotDecoded: {
        const QString count = QString::number(notice.count);
        const QString page = QString::fromStdString(notice.encoding);
        return notice.count == 1
                   ? QCoreApplication::translate("FailureReasons",
                                                 "%1 byte is not %2 text, shown as U+FFFD")
                         .arg(count, page)
                   : QCoreApplication::translate("FailureReasons",
                                                 "%1 bytes are not %2 text, each shown as U+FFFD")
                         .arg(count, page);
    }
    case Kind::AnnotationsNotUnderstood:
        break;
    }
    QStringList examples;
    for (const std::string& example : notice.examples)
        examples << QString::fromStdString(example);
    const QString count = QString::number(notice.count);
    // English alone tells one from many; the sources differ only for it.
    if (examples.isEmpty())
        return notice.count == 1
                   ? QCoreApplication::translate("FailureReasons", "%1 annotation not understood")
                         .arg(count)
                   : QCoreApplication::translate("FailureReasons", "%1 annotations not understood")
                         .arg(count);
    const QString list = examples.join(QCoreApplication::translate("FailureReasons", ", "));
    return notice.count == 1
               ? QCoreApplication::translate("FailureReasons", "%1 annotation not understood: %2")
                     .arg(count, list)
               : QCoreApplication::translate("FailureReasons", "%1 annotations not understood: %2")
                     .arg(count, list);
}

} // namespace folivane::ui
