// Link labels of the main window: the About link and the product's web address.
#include "LinkLabel.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace folivane::ui {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setFocusPolicy(Qt::StrongFocus);
    ApplyColour();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    Follow();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Follow();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    // A label draws no focus of its own; a link the keyboard reached must show it.
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void LinkLabel::Follow() {
    visited_ = true;
    ApplyColour();
    if (address_.isValid()) QDesktopServices::openUrl(address_); // failure is silent on purpose
    emit clicked();
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A new palette from the style or the desktop would drop our colour.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        if (palette().color(QPalette::WindowText) != palette().color(ColourRole())) ApplyColour();
    }
}

QPalette::ColorRole LinkLabel::ColourRole() const {
    // The desktop's highlight colour marks a link not followed yet.
    return visited_ ? QPalette::LinkVisited : QPalette::Highlight;
}

void LinkLabel::ApplyColour() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(ColourRole()));
    setPalette(p);
}

} // namespace folivane::ui
