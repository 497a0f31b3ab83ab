// The cover field: a read-only path with a button that opens the picker.
#include "EllipsisEdit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

namespace folivane::ui {

EllipsisEdit::EllipsisEdit(QWidget* parent) : QLineEdit(parent), button_(new QToolButton(this)) {
    setReadOnly(true);
    // Read-only fields look disabled in some styles; this one stays white like an input.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    button_->setText(QStringLiteral("..."));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setAccessibleName(QStringLiteral("Choose"));
    connect(button_, &QToolButton::clicked, this, &EllipsisEdit::editButtonClicked);
}

void EllipsisEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    // Square button inside the frame; the text stops short of it.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int side = height() - 2 * frame;
    button_->setGeometry(width() - frame - side, frame, side, side);
    setTextMargins(0, 0, side, 0);
}

void EllipsisEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F4:
        emit editButtonClicked();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace folivane::ui
