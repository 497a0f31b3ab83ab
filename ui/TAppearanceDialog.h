// The book's appearance choices: paragraph indent, spacing, the user's own style sheet.
#pragma once

#include "engine/job/BookInput.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QDoubleSpinBox;

namespace folivane::ui {

class Dialogs;
class EllipsisEdit;

// Made hidden with the main window, which shows it with open() and keeps its controls in the
// settings; a choice takes effect as it is made, so the dialog has only Close (and Restore
// Defaults). A choice more is a control in the form, a line in PersistedControls() and one
// in ApplyTo(). `dialogs` answers the style sheet's file dialog and refusal and must outlive
// the dialog. User-interface thread only.
class TAppearanceDialog : public QDialog {
    Q_OBJECT
public:
    TAppearanceDialog(Dialogs& dialogs, QWidget* parent);

    // The controls kept from one start to the next, by key; TForm1 reads and writes them.
    QList<QPair<QString, QWidget*>> PersistedControls() const;
    // The choices as the book's input takes them.
    void ApplyTo(engine::BookInput& input) const;
    // The choices that differ from the defaults, one per line; empty when none does.
    QString Summary() const;
    // Every choice back to its default.
    void RestoreDefaults();

signals:
    // A choice changed (also when the settings are read).
    void choicesChanged();

private:
    QDoubleSpinBox* EmBox(const char* name, const QString& toolTip);
    void ChooseStyleSheet();

    Dialogs& dialogs_;
    QDoubleSpinBox* m_indent;
    QDoubleSpinBox* m_paragraphSpacing;
    EllipsisEdit* m_styleSheet;
};

} // namespace folivane::ui
