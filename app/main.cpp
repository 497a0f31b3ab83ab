// Entry point of the windowed program: the main window and its message loop.
#include "engine/job/WorkingTree.h"
#include "platform/Memory.h"
#include "platform/SystemError.h"
#include "platform/TerminationSignals.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QLocale>
#include <QSocketNotifier>
#include <QStyleFactory>

#include <cstdio>
#include <memory>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // The end of the session (SIGTERM, SIGHUP), Ctrl+C in a terminal or another signal that
    // would end the program stops a running conversion, which removes what it made, before
    // the program ends; a write beyond `ulimit -f` fails with a reason instead of killing it.
    const folivane::platform::TerminationSignals termination;
    folivane::platform::PreferHeapForLargeBuffers();
    if (termination.Error() != 0)
        std::fprintf(stderr,
                     "folivane: the end of the session will not stop a conversion "
                     "cleanly: %s\n",
                     folivane::platform::SystemErrorText(termination.Error()).c_str());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel Folivane Converter"));
    // Ties the running window to app/folivane.desktop, whose name and icon docks show.
    QGuiApplication::setDesktopFileName(QStringLiteral("folivane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The user's language when there is a translation for it (zh_CN), else English.
    folivane::ui::InstallTranslations(app, QLocale::system());

    // Working folders of jobs that were killed would otherwise stay for ever.
    folivane::engine::RemoveStaleWorkingTrees(folivane::engine::TempFolderPath());

    folivane::ui::QtDialogs dialogs;
    folivane::ui::TForm1 form(dialogs);
    QObject::connect(&form, &folivane::ui::TForm1::terminated, &app, &QApplication::exit);
    std::unique_ptr<QSocketNotifier> notifier;
    if (termination.NotifyDescriptor() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(termination.NotifyDescriptor(),
                                                     QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, &form, [&] {
            char byte = 0;
            while (::read(termination.NotifyDescriptor(), &byte, 1) > 0) {
            }
            form.TerminateForSignal(folivane::platform::TerminationSignals::Received());
        });
    }
    form.show();
    return QApplication::exec();
}
