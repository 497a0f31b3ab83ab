// Dialogs answered from a script, for tests: nothing modal ever opens.
#pragma once

#include "ui/Dialogs.h"

#include <QUrl>

#include <functional>

namespace folivane::ui {

// Answers each dialog with the next queued answer of its kind and records every call.
// An empty queue answers like a user who cancels (for a message box: No, else Cancel,
// else the first button offered).
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { OpenFiles, OpenFile, OpenFolder, SaveFile, Message };

    struct Call {
        Kind kind = Kind::Message;
        QString title{};
        QString text{};          // message boxes
        QString suggestedName{}; // save dialog
        QString folder{};        // file dialogs: where they start
        QStringList actions{};   // message boxes with actions
        QList<FileType> types{}; // file dialogs
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons{};
        QWidget* owner = nullptr;
    };

    QList<QStringList> openFilesAnswers;
    QStringList openFileAnswers;
    QStringList openFolderAnswers;
    QStringList saveAnswers;
    QList<QMessageBox::StandardButton> messageAnswers;
    QList<int> actionAnswers;   // an empty queue closes the box (-1)
    QList<QUrl> openedUrls;     // what the desktop was asked to open, never opened
    QList<bool> openUrlAnswers; // whether the desktop could open it; an empty queue: it could

    QList<Call> calls;
    // Runs inside each call, before it answers: the moment a real dialog would be up.
    std::function<void(const Call&)> onCall;

    // The message boxes among the calls, in order, those with actions too.
    QList<Call> Messages() const;

    QStringList OpenFiles(QWidget* owner, const QString& title, const QList<FileType>& types,
                          const QString& folder) override;
    QString OpenFile(QWidget* owner, const QString& title, const QList<FileType>& types) override;
    QString OpenFolder(QWidget* owner, const QString& title, const QString& folder) override;
    QString SaveFile(QWidget* owner, const QString& suggestedName, const QList<FileType>& types,
                     const QString& folder) override;
    QMessageBox::StandardButton Message(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    int MessageWithActions(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                           const QString& text, const QStringList& actions) override;
    bool OpenUrl(const QUrl& url) override;

private:
    void Record(const Call& call);
};

} // namespace folivane::ui
