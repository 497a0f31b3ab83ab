// The seam between the windows and every modal dialog or message box they show.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QUrl;
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

    // Several existing files, starting in `folder` (empty: the dialog's own choice); empty
    // when the user cancels.
    virtual QStringList OpenFiles(QWidget* owner, const QString& title,
                                  const QList<FileType>& types, const QString& folder) = 0;
    // One existing file; empty when the user cancels.
    virtual QString OpenFile(QWidget* owner, const QString& title,
                             const QList<FileType>& types) = 0;
    // An existing folder, starting in `folder` (empty: the dialog's own choice); empty when
    // the user cancels.
    virtual QString OpenFolder(QWidget* owner, const QString& title, const QString& folder) = 0;
    // The path to write, starting in `folder` (empty: the dialog's own choice); empty when
    // the user cancels. It does not ask about replacing an existing file: the caller first
    // decides whether it may be written at all, so that the user is asked one question. A
    // name typed without a suffix gets the first suffix of the chosen type.
    virtual QString SaveFile(QWidget* owner, const QString& suggestedName,
                             const QList<FileType>& types, const QString& folder) = 0;
    // A message box; returns the button that closed it. The text is shown as plain text, which
    // the user can select and copy.
    virtual QMessageBox::StandardButton Message(QWidget* owner, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;
    // A message box with an OK button and one button per entry of `actions`; returns the
    // index of the action chosen, or -1 for OK, Escape and a closed box.
    virtual int MessageWithActions(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                   const QString& text, const QStringList& actions) = 0;
    // Opens a file or folder with the desktop's program for it; false when the desktop has
    // none or could not start it (the caller then says so).
    virtual bool OpenUrl(const QUrl& url) = 0;
};

} // namespace folivane::ui
