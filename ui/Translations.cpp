// Loading the compiled translations: ours from the program's resources, Qt's from the system.
#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace folivane::ui {
namespace {

// Installs `name`_<locale>.qm from `folder` when there is one; the application owns it.
bool Install(QCoreApplication& app, const QLocale& locale, const QString& name,
             const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) return false;
    translator->setParent(&app);
    QCoreApplication::installTranslator(translator.release());
    return true;
}

} // namespace

bool InstallTranslations(QCoreApplication& app, const QLocale& locale) {
    // Qt's own texts (OK, Cancel, the file dialog) come with Debian's qt6-translations-l10n;
    // without it they stay English, and the window's texts are translated all the same.
    Install(app, locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return Install(app, locale, QStringLiteral("folivane"), QStringLiteral(":/i18n"));
}

} // namespace folivane::ui
