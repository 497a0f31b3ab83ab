// The window's language: its own texts and Qt's, chosen by the user's locale.
#pragma once

class QCoreApplication;
class QLocale;

namespace folivane::ui {

// Installs the translations of the program and of Qt's standard dialogs (buttons, file
// pickers) for `locale` into `app`, which owns them. English is the source and needs none;
// true when the program's own translation for the locale was found.
bool InstallTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace folivane::ui
