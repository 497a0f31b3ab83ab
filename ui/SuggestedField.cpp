// Suggested text that gives way to the user's.
#include "SuggestedField.h"

#include <QLineEdit>

namespace folivane::ui {

SuggestedField::SuggestedField(QLineEdit* edit) : QObject(edit), edit_(edit) {
    // Any other text than the suggestion, typed or set, is the user's.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (suggested_ && text != suggestion_) Mark(false);
    });
    connect(edit, &QLineEdit::textEdited, this, [this] { Mark(false); });
}

void SuggestedField::Suggest(const QString& text) {
    if (!suggested_ && !edit_->text().trimmed().isEmpty()) return;
    suggestion_ = text;
    Mark(!text.isEmpty());
    edit_->setText(text);
}

void SuggestedField::Withdraw() {
    if (suggested_) Suggest(QString());
}

QString SuggestedField::UserText() const {
    return suggested_ ? QString() : edit_->text();
}

void SuggestedField::Mark(bool suggested) {
    suggested_ = suggested;
    edit_->setProperty("suggested", suggested);
    QFont font = edit_->font();
    font.setItalic(suggested);
    edit_->setFont(font);
}

} // namespace folivane::ui
