// Failures and notices said in English: every kind with its values, the system's cause in
// English whatever the locale, and the kind of every exception the job may catch.
#include "engine/text/FailureText.h"
#include "engine/chapters/TextNotice.h"
#include "engine/text/ConversionError.h"
#include "platform/SystemError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <functional>
#include <string>
#include <system_error>

namespace folivane::engine {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A failure of `kind` with a distinct value in every field; the path holds "%2", which must
// come out as it is.
Failure Sample(FailureKind kind) {
    return {.kind = kind,
            .path = "/books/甲%2.txt",
            .otherPath = "/books/乙.epub",
            .cause = ENOSPC,
            .value = "VALUE-7",
            .excerpt = "EXCERPT-8",
            .detail = "DETAIL-9",
            .number = 1011,
            .second = 1213,
            .limit = 1415};
}

// How `value` of Sample() shows in the English text.
std::string SampleText(FailureValue value) {
    const Failure sample = Sample(FailureKind::Unexpected);
    switch (value) {
    case FailureValue::Path:
        return sample.path;
    case FailureValue::OtherPath:
        return sample.otherPath;
    case FailureValue::Cause:
        return "No space left on device";
    case FailureValue::Value:
        return sample.value;
    case FailureValue::Excerpt:
        return sample.excerpt;
    case FailureValue::Detail:
        return sample.detail;
    case FailureValue::Number:
        return "1011";
    case FailureValue::Second:
        return "1213";
    case FailureValue::Limit:
        return "1415";
    }
    return "?";
}

TEST(FailureText, EveryKindIsASentenceThatNamesEachOfItsValuesOnce) {
    for (std::size_t i = 0; i < kFailureKinds; ++i) {
        const auto kind = static_cast<FailureKind>(i);
        SCOPED_TRACE(FailureForm(kind));
        const std::string text = FailureText(Sample(kind));
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text[0])) || text[0] == '"');
        for (const FailureValue value : FailureValues(kind)) {
            const std::string said = SampleText(value);
            EXPECT_THAT(text, HasSubstr(said));
            EXPECT_EQ(text.find(said), text.rfind(said)) << "named twice";
        }
        // Nothing left to fill in: every %n of the form had its value.
        std::string rest = text;
        const std::string path = Sample(kind).path;
        for (std::size_t at; (at = rest.find(path)) != std::string::npos;)
            rest.erase(at, path.size());
        for (char digit = '1'; digit <= '9'; ++digit)
            EXPECT_THAT(rest, Not(HasSubstr(std::string("%") + digit)));
    }
}

// Sentences users, scripts and the suites know, kept word for word; the book's own write
// failures say the system's cause directly after the book, never a second sentence.
TEST(FailureText, KeepsTheWordsUsersKnow) {
    struct Row {
        const char* name;
        Failure failure;
        const char* text;
    };
    const Row rows[] = {
        {"an output that is a device",
         {.kind = FailureKind::FileNotCreated,
          .path = "/dev/null",
          .cause = platform::kNotRegularFile},
         "Cannot create file \"/dev/null\". Not a regular file"},
        {"a full disk under the book",
         {.kind = FailureKind::BookNotWritten, .path = "/b/x.epub", .cause = ENOSPC},
         "Cannot write the book \"/b/x.epub\". No space left on device"},
        {"a protected book",
         {.kind = FailureKind::ProtectedFileNotKept, .path = "/b/x.epub", .cause = EACCES},
         "Cannot replace the write-protected file \"/b/x.epub\". Permission denied"},
        {"an output that is a source",
         {.kind = FailureKind::OutputIsSource, .path = "/b/a.txt", .otherPath = "/b/a.txt"},
         "The book \"/b/a.txt\" would replace its source \"/b/a.txt\"; choose another name for "
         "the book"},
        {"a pattern that does not compile",
         {.kind = FailureKind::ChapterPatternInvalid,
          .value = "第(",
          .detail = "missing closing parenthesis",
          .number = 2},
         "The chapter pattern \"第(\" does not compile: missing closing parenthesis at offset 2"},
        {"a stopped job", {.kind = FailureKind::Cancelled}, "The conversion was stopped"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FailureText(row.failure), row.text) << row.name;
}

TEST(FailureText, SystemCauseIsEnglishWhateverTheLocale) {
    // Where a translated locale is installed the C library's strerror would speak it.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"de_DE.UTF-8", "fr_FR.UTF-8", "zh_CN.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_ALL, locale)) break;
    EXPECT_EQ(platform::SystemErrorText(ENOSPC), "No space left on device");
    EXPECT_EQ(platform::SystemErrorText(EACCES), "Permission denied");
    EXPECT_EQ(platform::SystemErrorText(platform::kNotRegularFile), "Not a regular file");
    EXPECT_EQ(platform::SystemErrorText(4242), "Unknown error 4242");
    std::setlocale(LC_ALL, before.c_str());
}

TEST(CaughtFailure, EveryExceptionTheJobMayMeetGetsItsKindAndValues) {
    struct Row {
        const char* name;
        std::function<void()> raise;
        Failure failure;
    };
    const Failure refusedCover{.kind = FailureKind::CoverNotPicture, .path = "/c.png"};
    const Row rows[] = {
        {"the engine's own", [&] { throw ConversionError(refusedCover); }, refusedCover},
        {"a file that cannot be opened",
         [] { throw platform::EFOpenError("/a.txt", ENOENT); },
         {.kind = FailureKind::FileNotOpened, .path = "/a.txt", .cause = ENOENT}},
        {"a sync the disk refused",
         [] { throw platform::EWriteError("/b.epub", EIO, platform::FileOperation::WriteToDisk); },
         {.kind = FailureKind::FileNotWrittenToDisk, .path = "/b.epub", .cause = EIO}},
        {"a write-protected file",
         [] {
             throw platform::EStreamError(platform::FileOperation::ReplaceProtected, "/b.epub",
                                          EPERM);
         },
         {.kind = FailureKind::ProtectedFileNotKept, .path = "/b.epub", .cause = EPERM}},
        {"a stream's own fault",
         [] { throw platform::EStreamError("Putback overflow"); },
         {.kind = FailureKind::Unexpected, .detail = "Putback overflow"}},
        {"memory run out", [] { throw std::bad_alloc(); }, {.kind = FailureKind::OutOfMemory}},
        {"a thread the system would not start",
         [] { throw std::system_error(EAGAIN, std::generic_category()); },
         {.kind = FailureKind::SystemRefused, .cause = EAGAIN}},
        {"any other exception",
         [] { throw std::logic_error("odd"); },
         {.kind = FailureKind::Unexpected, .detail = "odd"}},
        {"no exception at all",
         [] { throw 42; },
         {.kind = FailureKind::Unexpected, .detail = "an exception of no known type"}},
    };
    for (const Row& row : rows) {
        try {
            row.raise();
            ADD_FAILURE() << row.name << ": nothing raised";
        } catch (...) {
            EXPECT_EQ(CaughtFailure(), row.failure) << row.name;
        }
    }
}

TEST(NoticeText, SaysEveryKindInEnglish) {
    using Kind = TextNotice::Kind;
    struct Row {
        TextNotice notice;
        const char* text;
    };
    const Row rows[] = {
        {{.kind = Kind::NumberMissing, .number = 7}, "chapter 7 missing"},
        {{.kind = Kind::NumberRepeated, .number = 12}, "chapter 12 repeated"},
        {{.kind = Kind::AnnotationsNotUnderstood, .count = 1}, "1 annotation not understood"},
        {{.kind = Kind::AnnotationsNotUnderstood, .count = 3, .examples = {"［＃a］", "［＃b］"}},
         "3 annotations not understood: ［＃a］, ［＃b］"},
        {{.kind = Kind::BytesNotDecoded, .count = 1, .encoding = "CP932"},
         "1 byte is not CP932 text, shown as U+FFFD"},
        {{.kind = Kind::BytesNotDecoded, .count = 4, .encoding = "GB18030"},
         "4 bytes are not GB18030 text, each shown as U+FFFD"},
    };
    bool seen[kTextNoticeKinds] = {};
    for (const Row& row : rows) {
        EXPECT_EQ(NoticeText(row.notice), row.text);
        seen[static_cast<std::size_t>(row.notice.kind)] = true;
    }
    for (std::size_t i = 0; i < kTextNoticeKinds; ++i)
        EXPECT_TRUE(seen[i]) << "notice kind " << i << " has no row";
}

} // namespace
} // namespace folivane::engine
