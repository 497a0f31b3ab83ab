// The seam between the windows and every modal dialog or message box they show.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace folivane::ui {

// One entry of a file dialog's type list: the name shown and the suffixes (without the
// dot) that it lets through, in any letter case.
struct FileType {
    QString name;
    QStringList suffixes;
};

// Asks the user through modal dialogs. The windows hold a reference to one instance, which
// must outlive them; every call comes from the user-interface thread and returns when the
// user has answered. Tests put a scripted implementation here so nothing blocks.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Several existing files; empty when the user cancels.
    virtual QStringList OpenFiles(QWidget* owner, const QString& title,
                                  const QList<FileType>& types) = 0;
    // One existing file; empty when the user cancels.
    virtual QString OpenFile(QWidget* owner, const QString& title,
                             const QList<FileType>& types) = 0;
    // The path to write, after the overwrite question when the file exists; empty when the
    // user cancels. A name typed without a suffix gets the first suffix of the chosen type.
    virtual QString SaveFile(QWidget* owner, const QString& suggestedName,
                             const QList<FileType>& types) = 0;
    // A message box; returns the button that closed it. The text is shown as plain text.
    virtual QMessageBox::StandardButton Message(QWidget* owner, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;
};

} // namespace folivane::ui
