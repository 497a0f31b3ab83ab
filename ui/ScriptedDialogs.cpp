// Scripted answers to the dialog seam, recorded for tests.
#include "ScriptedDialogs.h"

namespace folivane::ui {

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
                                       const QList<FileType>& types) {
    Call call;
    call.kind = Kind::OpenFiles;
    call.title = title;
    call.types = types;
    call.owner = owner;
    Record(call);
    return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
}

QString ScriptedDialogs::OpenFile(QWidget* owner, const QString& title,
                                  const QList<FileType>& types) {
    Call call;
    call.kind = Kind::OpenFile;
    call.title = title;
    call.types = types;
    call.owner = owner;
    Record(call);
    return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
}

QString ScriptedDialogs::SaveFile(QWidget* owner, const QString& suggestedName,
                                  const QList<FileType>& types) {
    Call call;
    call.kind = Kind::SaveFile;
    call.suggestedName = suggestedName;
    call.types = types;
    call.owner = owner;
    Record(call);
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

QMessageBox::StandardButton ScriptedDialogs::Message(QWidget* owner, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons) {
    Call call;
    call.kind = Kind::Message;
    call.title = title;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.owner = owner;
    Record(call);
    if (!messageAnswers.isEmpty()) return messageAnswers.takeFirst();
    for (const QMessageBox::StandardButton b : {QMessageBox::No, QMessageBox::Cancel})
        if (buttons.testFlag(b)) return b;
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
        if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit)))
            return static_cast<QMessageBox::StandardButton>(bit);
    return QMessageBox::NoButton;
}

} // namespace folivane::ui
