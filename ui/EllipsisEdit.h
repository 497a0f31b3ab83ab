// A read-only line edit with a "..." button inside its right end, and a button that clears it.
#pragma once

#include <QLineEdit>

class QToolButton;

namespace folivane::ui {

// The buttons take no keyboard focus, so the field keeps its place in the tab order;
// Return, Enter or F4 in the field press "...", Delete or Backspace clear the field. The
// clear button shows only while there is something to clear. Parent-owned like any widget.
class EllipsisEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit EllipsisEdit(QWidget* parent = nullptr);

    QToolButton* Button() const { return button_; }
    QToolButton* ClearButton() const { return clear_; }

signals:
    void editButtonClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceButtons();

    QToolButton* button_;
    QToolButton* clear_;
};

} // namespace folivane::ui
