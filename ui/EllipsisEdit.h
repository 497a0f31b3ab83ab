// A read-only line edit with a "..." button inside its right end.
#pragma once

#include <QLineEdit>

class QToolButton;

namespace folivane::ui {

// The button takes no keyboard focus, so the field keeps its place in the tab order;
// Return, Enter or F4 in the field press it instead. Parent-owned like any widget.
class EllipsisEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit EllipsisEdit(QWidget* parent = nullptr);

    QToolButton* Button() const { return button_; }

signals:
    void editButtonClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* button_;
};

} // namespace folivane::ui
