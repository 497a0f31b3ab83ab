// The book's details beyond its name, author and publisher: the "More…" dialog.
#pragma once

#include "engine/epub/BookMetadata.h"
#include "engine/job/BookInput.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QLineEdit;
class QPlainTextEdit;

namespace folivane::ui {

// Made hidden with the main window, which shows it with open() and keeps the controls of
// PersistedControls() in the settings (the rights, which a user's books share; the rest
// belongs to one book). What is typed takes effect at once, so the dialog has only Close and
// Clear. A detail more is a control in the form, a line in ApplyTo() and in Problem().
// User-interface thread only.
class TDetailsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TDetailsDialog(QWidget* parent);

    QList<QPair<QString, QWidget*>> PersistedControls() const;
    // The details as the book's input takes them (subjects and contributors split at ";").
    void ApplyTo(engine::BookInput& input) const;
    // Why the book cannot take what is typed (an ISBN, a date, a series number), in the
    // user's language; empty when it can.
    QString Problem() const;
    // The details filled in, one per line; empty when none is.
    QString Summary() const;
    // What the book takes from its text where a field is left empty, shown in the field.
    void ShowFromText(const engine::BookDetails& planned);
    // Every field emptied.
    void Clear();
    // The field Problem() is about, to put the focus in.
    QWidget* ProblemField() const;

signals:
    // A detail changed (also when the settings are read).
    void detailsChanged();

private:
    QLineEdit* Field(const char* name, const QString& toolTip);

    QPlainTextEdit* m_description;
    QLineEdit* m_subjects;
    QLineEdit* m_series;
    QLineEdit* m_seriesIndex;
    QLineEdit* m_identifier;
    QLineEdit* m_translator;
    QLineEdit* m_contributors;
    QLineEdit* m_date;
    QLineEdit* m_rights;
};

} // namespace folivane::ui
