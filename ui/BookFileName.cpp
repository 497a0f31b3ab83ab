// Book file names made from titles.
#include "BookFileName.h"

#include <QList>

namespace folivane::ui {
namespace {

// Bytes of a file name in most file systems (ext4, Btrfs, XFS); NTFS and exFAT count 255
// UTF-16 units, which a name of this many UTF-8 bytes never passes.
constexpr qsizetype kMaxNameBytes = 255;

bool Refused(char32_t c) {
    // Only the first plane holds refused characters; QChar would cut a code point above it
    // to its low 16 bits (U+1002F to '/').
    return c < 0x20 || c == 0x7F ||
           (c <= 0xFFFF && QStringView(u"/\\:*?\"<>|").contains(QChar(static_cast<char16_t>(c))));
}

bool TrimmedAtEnds(QChar c) {
    return c.isSpace() || c == QLatin1Char('.');
}

QString Trimmed(QString name) {
    qsizetype start = 0;
    while (start < name.size() && TrimmedAtEnds(name[start]))
        ++start;
    qsizetype end = name.size();
    while (end > start && TrimmedAtEnds(name[end - 1]))
        --end;
    return name.mid(start, end - start);
}

} // namespace

QString BookFileName(const QString& title, const QString& fallback) {
    const QString suffix = QStringLiteral(".epub");
    QString name;
    const qsizetype room = kMaxNameBytes - suffix.size();
    for (const uint code : title.toUcs4()) {
        const char32_t c = code;
        const QString character = Refused(c) ? QStringLiteral("_") : QString::fromUcs4(&c, 1);
        if ((name + character).toUtf8().size() > room) break;
        name += character;
    }
    name = Trimmed(name);
    return (name.isEmpty() ? fallback : name) + suffix;
}

} // namespace folivane::ui
