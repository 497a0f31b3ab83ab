// The engine's failures and notices in the window's language.
#pragma once

#include "engine/chapters/TextNotice.h"
#include "engine/text/Failure.h"

#include <QString>

namespace folivane::ui {

// `failure` as the window's language says it (tr(), context "FailureReasons"): file names as
// the file system has them, the system's cause translated (TranslatedCause), the user's own
// values and a library's words as they are.
QString TranslatedFailure(const engine::Failure& failure);

// One value of `failure` as the window shows it within TranslatedFailure's text.
QString FailureValueText(const engine::Failure& failure, engine::FailureValue value);

// The text of `kind` with %1, %2, ... for its values (engine::FailureValues), untranslated:
// the English the window starts from, which is the command line's.
const char* FailureSource(engine::FailureKind kind);

// The system's cause, an errno value or platform::kNotRegularFile, in the window's language:
// the causes a user meets have texts of their own; any other is named by its number with the
// system's English words.
QString TranslatedCause(int cause);

// The errno values with texts of their own, for the tests that walk them.
QList<int> TranslatedCauses();

// A notice of the chapter and notation rules, without the source's name.
QString TranslatedNotice(const engine::TextNotice& notice);

} // namespace folivane::ui
