// Failure reasons recognised by their shape and said again through tr().
#include "FailureReasons.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace folivane::ui {
namespace {

constexpr const char* kContext = "FailureReasons";

// An English reason's shape, with its values in groups, and the text to translate in which
// %1, %2 take them in order.
struct ReasonShape {
    const char* pattern;
    const char* text;
};

constexpr ReasonShape kShapes[] = {
    {R"re(^Cannot read file "(.+)"\. (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot read the file \"%1\". %2")},
    {R"re(^Cannot open file "(.+)"\. (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot open the file \"%1\". %2")},
    {R"re(^Cannot write file "(.+)" to disk\. (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the file \"%1\" to disk. %2")},
    {R"re(^Cannot write the book "(.+)"\. (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot write the book \"%1\". %2")},
    {R"re(^The book "(.+)" would replace its source "(.+)"; choose another name for the book$)re",
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" would replace its source \"%2\"; choose another name "
                       "for the book")},
    {R"re(^The book "(.+)" would replace its cover "(.+)"; choose another name for the book$)re",
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book \"%1\" would replace its cover \"%2\"; choose another name for "
                       "the book")},
    {R"re(^The book would be written to the text file "(.+)"; a book needs a name of its own, such as book\.epub$)re",
     QT_TRANSLATE_NOOP("FailureReasons",
                       "The book would be written to the text file \"%1\"; a book needs a name "
                       "of its own, such as book.epub")},
    {R"re(^Cannot replace the write-protected file "(.+)"\. (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot replace the write-protected file \"%1\". %2")},
    {R"re(^Cannot use "(.+)" as the cover: (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot use \"%1\" as the cover: %2")},
    {R"re(^Cannot find the chapters of "(.+)": (.+)$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Cannot find the chapters of \"%1\": %2")},
    {R"re(^Not enough memory to read "(.+)"$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "Not enough memory to read \"%1\"")},
    {R"re(^The conversion was stopped$)re",
     QT_TRANSLATE_NOOP("FailureReasons", "The conversion was stopped")},
}; // namespace folivane::ui

// The system's causes a user meets most, as the C library says them in English.
constexpr const char* kCauses[] = {
    QT_TRANSLATE_NOOP("FailureReasons", "No space left on device"),
    QT_TRANSLATE_NOOP("FailureReasons", "Permission denied"),
    QT_TRANSLATE_NOOP("FailureReasons", "No such file or directory"),
    QT_TRANSLATE_NOOP("FailureReasons", "File too large"),
    QT_TRANSLATE_NOOP("FailureReasons", "Too many open files"),
    QT_TRANSLATE_NOOP("FailureReasons", "Is a directory"),
    QT_TRANSLATE_NOOP("FailureReasons", "Read-only file system"),
    QT_TRANSLATE_NOOP("FailureReasons", "Disk quota exceeded"),
    QT_TRANSLATE_NOOP("FailureReasons", "Input/output error"),
    QT_TRANSLATE_NOOP("FailureReasons", "Not a regular file"),
};

QString Translate(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// A value that is one of the usual causes, translated; any other as it is.
QString TranslatedCause(const QString& value) {
    for (const char* cause : kCauses)
        if (value == QLatin1String(cause)) return Translate(cause);
    return value;
}

} // namespace

QString TranslatedReason(const QString& reason) {
    for (const ReasonShape& shape : kShapes) {
        const QRegularExpression pattern(QString::fromUtf8(shape.pattern),
                                         QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = pattern.match(reason);
        if (!match.hasMatch()) continue;
        QString text = Translate(shape.text);
        // The values go in one pass, so that a "%2" inside a file name stays as it is.
        QStringList values;
        for (int group = 1; group <= pattern.captureCount(); ++group)
            values << TranslatedCause(match.captured(group));
        switch (values.size()) {
        case 0:
            return text;
        case 1:
            return text.arg(values[0]);
        default:
            return text.arg(values[0], values[1]);
        }
    }
    return TranslatedCause(reason);
}

} // namespace folivane::ui
