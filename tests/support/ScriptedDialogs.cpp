// Scripted answers to the dialog seam, recorded for tests.
#include "support/ScriptedDialogs.h"

namespace folivane::ui {
namespace {

// The first answer the test queued, taken from the queue; an empty one when none is left,
// as a cancelled dialog gives.
template <class Answer> Answer NextAnswer(QList<Answer>& answers) {
    return answers.isEmpty() ? Answer() : answers.takeFirst();
}

} // namespace

QList<ScriptedDialogs::Call> ScriptedDialogs::Messages() const {
    QList<Call> messages;
    for (const Call& call : calls)
        if (call.kind == Kind::Message) messages << call;
    return messages;
}

void ScriptedDialogs::Record(const Call& call) {
    calls << call;
    if (onCall) onCall(call);
}

QStringList ScriptedDialogs::OpenFiles(QWidget* owner, const QString& title,
                                       const QList<FileType>& types, const QString& folder) {
    Record({.kind = Kind::OpenFiles,
            .title = title,
            .folder = folder,
            .types = types,
            .owner = owner});
    return NextAnswer(openFilesAnswers);
}

QString ScriptedDialogs::OpenFile(QWidget* owner, const QString& title,
                                  const QList<FileType>& types) {
    Record({.kind = Kind::OpenFile, .title = title, .types = types, .owner = owner});
    return NextAnswer(openFileAnswers);
}

QString ScriptedDialogs::OpenFolder(QWidget* owner, const QString& title, const QString& folder) {
    Record({.kind = Kind::OpenFolder, .title = title, .folder = folder, .owner = owner});
    return NextAnswer(openFolderAnswers);
}

QString ScriptedDialogs::SaveFile(QWidget* owner, const QString& suggestedName,
                                  const QList<FileType>& types, const QString& folder) {
    Record({.kind = Kind::SaveFile,
            .suggestedName = suggestedName,
            .folder = folder,
            .types = types,
            .owner = owner});
    return NextAnswer(saveAnswers);
}

QMessageBox::StandardButton ScriptedDialogs::Message(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    Record({.kind = Kind::Message,
            .title = title,
            .text = text,
            .icon = icon,
            .buttons = buttons,
            .owner = owner});
    if (!messageAnswers.isEmpty()) return messageAnswers.takeFirst();
    for (const QMessageBox::StandardButton b : {QMessageBox::No, QMessageBox::Cancel})
        if (buttons.testFlag(b)) return b;
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
        if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit)))
            return static_cast<QMessageBox::StandardButton>(bit);
    return QMessageBox::NoButton;
}

int ScriptedDialogs::MessageWithActions(QWidget* owner, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        const QStringList& actions) {
    Record({.kind = Kind::Message,
            .title = title,
            .text = text,
            .actions = actions,
            .icon = icon,
            .buttons = QMessageBox::Ok,
            .owner = owner});
    return actionAnswers.isEmpty() ? -1 : actionAnswers.takeFirst();
}

bool ScriptedDialogs::OpenUrl(const QUrl& url) {
    openedUrls << url;
    return openUrlAnswers.isEmpty() || openUrlAnswers.takeFirst();
}

} // namespace folivane::ui
