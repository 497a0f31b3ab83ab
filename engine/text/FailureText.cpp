// The English text of every failure kind and the values it names.
#include "FailureText.h"

#include "platform/SystemError.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace folivane::engine {
namespace {

using K = FailureKind;
using V = FailureValue;

struct Form {
    FailureKind kind;
    std::array<FailureValue, 4> values; // the first `count`, where count is the highest %n
    const char* english;
};

// In the order of FailureKind, which the static_assert below holds to.
constexpr Form kForms[] = {
    {K::FileNotOpened, {V::Path, V::Cause}, "Cannot open file \"%1\". %2"},
    {K::FileNotCreated, {V::Path, V::Cause}, "Cannot create file \"%1\". %2"},
    {K::FileNotRead, {V::Path, V::Cause}, "Cannot read file \"%1\". %2"},
    {K::FileNotWritten, {V::Path, V::Cause}, "Cannot write file \"%1\". %2"},
    {K::FileNotWrittenToDisk, {V::Path, V::Cause}, "Cannot write file \"%1\" to disk. %2"},
    {K::FileNotClosed, {V::Path, V::Cause}, "Cannot close file \"%1\". %2"},
    {K::FileNotSeeked, {V::Path, V::Cause}, "Cannot seek in file \"%1\". %2"},
    {K::FileNotResized, {V::Path, V::Cause}, "Cannot resize file \"%1\". %2"},
    {K::ProtectedFileNotKept,
     {V::Path, V::Cause},
     "Cannot replace the write-protected file \"%1\". %2"},
    {K::BookFolderNotRead, {V::Path, V::Cause}, "Cannot read the book folder \"%1\". %2"},
    {K::WorkingFolderNotMade, {V::Path, V::Cause}, "Cannot create a working folder in \"%1\". %2"},
    {K::WorkingFolderNotReady, {V::Path, V::Cause}, "Cannot prepare the working folder \"%1\". %2"},
    {K::PieceNotKept,
     {V::Path, V::OtherPath, V::Cause},
     "Cannot write a piece of \"%1\" in the temporary folder \"%2\". %3"},

    {K::OutputNotNamed, {V::Path}, "Cannot write the book \"%1\": no output file is named"},
    {K::OutputIsSource,
     {V::Path, V::OtherPath},
     "The book \"%1\" would replace its source \"%2\"; choose another name for the book"},
    {K::OutputIsCover,
     {V::Path, V::OtherPath},
     "The book \"%1\" would replace its cover \"%2\"; choose another name for the book"},
    {K::OutputIsTextFile,
     {V::Path},
     "The book would be written to the text file \"%1\"; a book needs a name of its own, such "
     "as book.epub"},
    {K::OutputIsStyleSheet,
     {V::Path, V::OtherPath},
     "The book \"%1\" would replace its style sheet \"%2\"; choose another name for the book"},
    {K::OutputLinksToTextFile,
     {V::Path, V::OtherPath},
     "The book would be written to the text file \"%1\" that \"%2\" links to; a book needs a "
     "name of its own, such as book.epub"},
    {K::OutputLinkNotOwned,
     {V::Path},
     "Cannot write the book \"%1\": it is a symbolic link of another user's, which a book is "
     "not written through; choose another name for the book"},
    {K::OutputLinkLoops,
     {V::Path},
     "Cannot write the book \"%1\": it is a symbolic link that leads round in a circle"},
    {K::EpubVersionUnknown,
     {V::Path, V::Number},
     "Cannot write the book \"%1\" as EPUB %2: the converter makes EPUB 2 and EPUB 3 books"},
    {K::VerticalNeedsEpub3,
     {V::Path},
     "Cannot write the book \"%1\" vertically as EPUB 2: vertical writing needs EPUB 3"},
    {K::BookNotWritten, {V::Path, V::Cause}, "Cannot write the book \"%1\". %2"},
    {K::BookWriterFault, {V::Path, V::Detail}, "Cannot write the book \"%1\". %2"},
    {K::BookNeedsZip64,
     {V::Path},
     "Cannot write the book \"%1\": a book of 4 GiB or of 65,535 files needs Zip64, which the "
     "converter does not write"},
    {K::BookEntryNotPacked, {V::Path, V::Detail}, "Cannot pack \"%1\" into the book: %2"},
    {K::BookEntryGone, {V::Path}, "Cannot pack \"%1\" into the book: it has disappeared"},
    {K::BookNotAsPlanned,
     {V::Path, V::Detail},
     "The book \"%1\" was not written as it must be (%2); the earlier file, if any, is kept"},
    {K::BookOutOfMemory, {V::Path}, "Not enough memory to write the book \"%1\""},

    {K::OutOfMemory, {}, "Not enough memory for the conversion"},
    {K::FileOutOfMemory, {V::Path}, "Not enough memory to read \"%1\""},
    {K::SystemRefused, {V::Cause}, "The system refused what the conversion needs. %1"},
    {K::Cancelled, {}, "The conversion was stopped"},
    {K::Unexpected, {V::Detail}, "Unexpected failure: %1"},

    {K::CoverNotPicture,
     {V::Path},
     "Cannot use \"%1\" as the cover: it is not a JPEG, PNG, GIF or BMP picture"},
    {K::CoverFileTooLarge,
     {V::Path, V::Number, V::Limit},
     "Cannot use \"%1\" as the cover: the picture file is too large (%2 MB; a cover may have at "
     "most %3 MB)"},
    {K::CoverRunLengthBmp,
     {V::Path},
     "Cannot use \"%1\" as the cover: run-length encoded BMP pictures are not supported; save it "
     "as PNG or JPEG"},
    {K::CoverDamaged,
     {V::Path, V::Detail},
     "Cannot use \"%1\" as the cover: the picture is damaged (%2)"},
    {K::CoverCutShort,
     {V::Path},
     "Cannot use \"%1\" as the cover: the picture is damaged (it is cut short)"},
    {K::CoverUnknownBlock,
     {V::Path},
     "Cannot use \"%1\" as the cover: the picture is damaged (it holds an unknown block before "
     "its picture)"},
    {K::CoverTooManyPixels,
     {V::Path, V::Number, V::Second, V::Limit},
     "Cannot use \"%1\" as the cover: the picture is too large (%2 x %3 pixels; a cover may have "
     "at most %4 million)"},
    {K::CoverOutOfMemory,
     {V::Path},
     "Cannot use \"%1\" as the cover: there is not enough memory to check the picture"},
    {K::CoverNotConvertible,
     {V::Path},
     "Cannot use \"%1\" as the cover: it cannot be converted to PNG"},

    {K::StyleSheetTooLarge,
     {V::Path},
     "Cannot use the style sheet \"%1\": it is larger than 1 MiB, too large for a style sheet"},
    {K::StyleSheetNotUtf8, {V::Path}, "Cannot use the style sheet \"%1\": it is not UTF-8 text"},
    {K::StyleSheetNotText,
     {V::Path},
     "Cannot use the style sheet \"%1\": it is not text (it holds NUL bytes)"},
    {K::StyleSheetEmpty, {V::Path}, "Cannot use the style sheet \"%1\": it is empty"},
    {K::StyleSheetImports,
     {V::Path},
     "Cannot use the style sheet \"%1\": it imports another style sheet (@import); a book takes "
     "one of yours, so put its rules in this one"},
    {K::StyleSheetUrlNotClosed,
     {V::Path},
     "Cannot use the style sheet \"%1\": a url( is not closed"},
    {K::StyleSheetNamesNetwork,
     {V::Path, V::Value},
     "Cannot use the style sheet \"%1\": it names \"%2\" on the network; a book holds its own "
     "fonts and pictures, so name a file next to the style sheet"},
    {K::StyleSheetResourceKindUnknown,
     {V::Path, V::OtherPath},
     "Cannot use the style sheet \"%1\": \"%2\" is not a font or picture a book can hold "
     "(TrueType, OpenType, WOFF, WOFF2, PNG, JPEG, GIF or SVG)"},
    {K::StyleSheetResourceNotRead,
     {V::Path, V::OtherPath, V::Cause},
     "Cannot use the style sheet \"%1\": cannot read \"%2\". %3"},
    {K::StyleSheetResourceTooLarge,
     {V::Path, V::OtherPath},
     "Cannot use the style sheet \"%1\": \"%2\" is larger than 64 MiB"},
    {K::StyleSheetResourceNotItsKind,
     {V::Path, V::OtherPath, V::Value},
     "Cannot use the style sheet \"%1\": \"%2\" is not a %3 file, as its name says"},

    {K::UnknownEncoding, {V::Value}, "Unknown text encoding \"%1\""},
    {K::LanguageTagInvalid,
     {V::Value},
     "\"%1\" is not a language tag (BCP 47, such as en, zh-CN or ja)"},
    {K::ChapterPatternInvalid,
     {V::Value, V::Detail, V::Number},
     "The chapter pattern \"%1\" does not compile: %2 at offset %3"},
    {K::VolumePatternInvalid,
     {V::Value, V::Detail, V::Number},
     "The volume pattern \"%1\" does not compile: %2 at offset %3"},
    {K::ChapterPatternTooCostly,
     {V::Path, V::Value, V::Excerpt},
     "Cannot find the chapters of \"%1\": the chapter pattern \"%2\" needs too much work to "
     "match the line \"%3\"; simplify it (nested repeats such as (a+)+ backtrack without end)"},
    {K::VolumePatternTooCostly,
     {V::Path, V::Value, V::Excerpt},
     "Cannot find the chapters of \"%1\": the volume pattern \"%2\" needs too much work to "
     "match the line \"%3\"; simplify it (nested repeats such as (a+)+ backtrack without end)"},
    {K::ChapterPatternOftenCostly,
     {V::Path, V::Value, V::Excerpt},
     "Cannot find the chapters of \"%1\": the chapter pattern \"%2\" needs too much work to "
     "match lines such as \"%3\"; simplify it (nested repeats such as (a+)+ backtrack without "
     "end)"},
    {K::VolumePatternOftenCostly,
     {V::Path, V::Value, V::Excerpt},
     "Cannot find the chapters of \"%1\": the volume pattern \"%2\" needs too much work to "
     "match lines such as \"%3\"; simplify it (nested repeats such as (a+)+ backtrack without "
     "end)"},
    {K::ChineseScriptNotLoaded,
     {V::Path, V::Detail},
     "Cannot load the Chinese script conversion \"%1\". %2"},
    {K::IsbnInvalid,
     {V::Value},
     "\"%1\" is not a valid ISBN: an ISBN has 10 or 13 digits and its last digit must match "
     "the others"},
    {K::DateInvalid, {V::Value}, "\"%1\" is not a date of the form YYYY, YYYY-MM or YYYY-MM-DD"},
    {K::BatchInputNotTextOrFolder,
     {V::Path},
     "\"%1\" is neither a .txt file nor a folder; give text files or folders of them"},
    {K::BatchFolderNotRead, {V::Path, V::Cause}, "Cannot read the folder \"%1\". %2"},
    {K::BatchFoundNoText, {V::Path}, "No .txt file found in the folder \"%1\""},
    {K::BooksFolderIsFile, {V::Path}, "Cannot put the books in \"%1\": it is a file, not a folder"},
    {K::BooksFolderNotMade,
     {V::Path, V::Cause},
     "Cannot create the folder \"%1\" for the books. %2"},
    {K::ClockOutOfRange, {V::Number}, "The system clock gives a time no book can record (%1 s)"},
};

constexpr bool InKindOrder() {
    for (std::size_t i = 0; i < std::size(kForms); ++i)
        if (static_cast<std::size_t>(kForms[i].kind) != i) return false;
    return std::size(kForms) == kFailureKinds;
}
static_assert(InKindOrder(), "one row per failure kind, in the order of FailureKind");

// The highest %n of a form: how many values it names.
constexpr std::size_t PlaceCount(std::string_view form) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < form.size(); ++i)
        if (form[i] == '%' && form[i + 1] >= '1' && form[i + 1] <= '9')
            count = std::max<std::size_t>(count, static_cast<std::size_t>(form[i + 1] - '0'));
    return count;
}

constexpr bool FormsNameTheirValues() {
    for (const Form& form : kForms)
        if (PlaceCount(form.english) > form.values.size()) return false;
    return true;
}
static_assert(FormsNameTheirValues(), "at most four values a kind");

const Form& FormOf(FailureKind kind) {
    return kForms[static_cast<std::size_t>(kind)];
}

std::string ValueText(const Failure& failure, FailureValue value) {
    switch (value) {
    case V::Path:
        return failure.path;
    case V::OtherPath:
        return failure.otherPath;
    case V::Cause:
        return platform::SystemErrorText(failure.cause);
    case V::Value:
        return failure.value;
    case V::Excerpt:
        return failure.excerpt;
    case V::Detail:
        return failure.detail;
    case V::Number:
        return std::to_string(failure.number);
    case V::Second:
        return std::to_string(failure.second);
    case V::Limit:
        return std::to_string(failure.limit);
    }
    return std::string();
}

} // namespace

std::span<const FailureValue> FailureValues(FailureKind kind) {
    const Form& form = FormOf(kind);
    return {form.values.data(), PlaceCount(form.english)};
}

const char* FailureForm(FailureKind kind) {
    return FormOf(kind).english;
}

std::string FailureText(const Failure& failure) {
    std::vector<std::string> values;
    for (const FailureValue value : FailureValues(failure.kind))
        values.push_back(ValueText(failure, value));
    return FillIn(FailureForm(failure.kind), values);
}

std::ostream& operator<<(std::ostream& out, const Failure& failure) {
    return out << FailureText(failure);
}

std::string FillIn(std::string_view form, std::span<const std::string> values) {
    std::string text;
    text.reserve(form.size());
    for (std::size_t i = 0; i < form.size(); ++i) {
        const char next = i + 1 < form.size() ? form[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (form[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            text += values[index];
            ++i;
        } else {
            text += form[i];
        }
    }
    return text;
}

} // namespace folivane::engine
