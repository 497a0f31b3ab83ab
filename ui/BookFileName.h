// The file name the save dialog suggests for a book.
#pragma once

#include <QString>

namespace folivane::ui {

// "`title`.epub", with what file systems refuse in a name made harmless: the characters
// Windows and FAT refuse (the cards and readers books are copied to) and control characters
// each become "_", white space and dots at either end go (a leading dot would hide the file,
// a trailing one Windows drops), and a name longer than file systems take is cut, whole
// characters kept. `fallback` names the book when nothing of the title is left.
QString BookFileName(const QString& title, const QString& fallback);

} // namespace folivane::ui
