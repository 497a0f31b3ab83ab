// The engine's failure reasons in the window's language.
#pragma once

#include <QString>

namespace folivane::ui {

// `reason`, an English text of the engine's, as the window's language says it: the reasons a
// user commonly meets (a source or the book that cannot be read or written, a book that would
// replace one of its inputs, a cover refused, a conversion stopped, memory or the disk run
// out) are recognised by their shape, and their file names kept; the system's cause within
// them is translated too when it is one of the usual ones. Any other text is kept as it is,
// so that nothing of a reason is ever lost in translation.
QString TranslatedReason(const QString& reason);

} // namespace folivane::ui
