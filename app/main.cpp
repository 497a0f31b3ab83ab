// Entry point of the windowed program: the main window and its message loop.
#include "engine/WorkingTree.h"
#include "ui/QtDialogs.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel Folivane Converter"));
    // Ties the running window to app/folivane.desktop, whose name and icon docks show.
    QGuiApplication::setDesktopFileName(QStringLiteral("folivane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // Working folders of jobs that were killed would otherwise stay for ever.
    folivane::engine::RemoveStaleWorkingTrees(folivane::engine::TempFolderPath());

    folivane::ui::QtDialogs dialogs;
    folivane::ui::TForm1 form(dialogs);
    form.show();
    return QApplication::exec();
}
