// A field the program fills for the user until the user writes in it.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace folivane::ui {

// Watches a line edit whose text the program may suggest (the book's title and author, as
// the plan decided them). A suggestion shows in italics, with the dynamic property
// "suggested" true, until the user edits the field; the next suggestion replaces it, and
// Withdraw removes it. What the user wrote is never replaced. Lives on the user-interface
// thread, as a child of the edit.
class SuggestedField : public QObject {
    Q_OBJECT
public:
    explicit SuggestedField(QLineEdit* edit);

    // Shows `text` as a suggestion, unless the field holds what the user wrote.
    void Suggest(const QString& text);
    // Empties the field when it holds a suggestion.
    void Withdraw();
    bool IsSuggestion() const { return suggested_; }
    // What the user wrote; empty when the field is blank or holds a suggestion, so that the
    // book decides it.
    QString UserText() const;

private:
    void Mark(bool suggested);

    QLineEdit* edit_;
    bool suggested_ = false;
    QString suggestion_;
};

} // namespace folivane::ui
