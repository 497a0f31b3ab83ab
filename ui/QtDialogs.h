// The real dialogs: Qt's file dialogs and message boxes.
#pragma once

#include "Dialogs.h"

namespace folivane::ui {

// Shows Qt's own dialogs, modal to their owner.
class QtDialogs : public Dialogs {
public:
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
};

// The name filter for one file type, matching its suffixes in any letter case
// ("*.txt (*.[tT][xX][tT])"); file dialogs show only the part before the parentheses.
QString NameFilter(const FileType& type);

} // namespace folivane::ui
