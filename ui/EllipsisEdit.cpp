// The cover field: a read-only path with a button that opens the picker and one that clears it.
#include "EllipsisEdit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

namespace folivane::ui {

EllipsisEdit::EllipsisEdit(QWidget* parent)
    : QLineEdit(parent), button_(new QToolButton(this)), clear_(new QToolButton(this)) {
    setReadOnly(true);
    // Read-only fields look disabled in some styles; this one stays white like an input.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    button_->setText(QStringLiteral("..."));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setAccessibleName(tr("Choose"));
    connect(button_, &QToolButton::clicked, this, &EllipsisEdit::editButtonClicked);

    clear_->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton, nullptr, this));
    clear_->setAutoRaise(true);
    clear_->setFocusPolicy(Qt::NoFocus);
    clear_->setCursor(Qt::ArrowCursor);
    clear_->setAccessibleName(tr("Clear"));
    clear_->hide();
    connect(clear_, &QToolButton::clicked, this, &QLineEdit::clear);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        clear_->setVisible(!text.isEmpty());
        PlaceButtons();
    });
}

void EllipsisEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceButtons();
}

void EllipsisEdit::PlaceButtons() {
    // Square buttons inside the frame, "..." at the end; the text stops short of them.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int side = height() - 2 * frame;
    button_->setGeometry(width() - frame - side, frame, side, side);
    clear_->setGeometry(width() - frame - 2 * side, frame, side, side);
    setTextMargins(0, 0, clear_->isVisibleTo(this) ? 2 * side : side, 0);
}

void EllipsisEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F4:
        emit editButtonClicked();
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        clear();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace folivane::ui
