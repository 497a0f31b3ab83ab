// A text that behaves like a web link: underlined, highlight colour, visited colour once used.
#pragma once

#include <QLabel>
#include <QUrl>

namespace folivane::ui {

// Emits clicked() on a left click, and on Return, Enter or Space when it has the keyboard
// focus (Tab reaches it); with an address set, it also opens that address with the desktop's
// handler and says nothing when that fails. Parent-owned like any widget.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetAddress(const QUrl& address) { address_ = address; }
    const QUrl& Address() const { return address_; }
    bool Visited() const { return visited_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Follow();
    QPalette::ColorRole ColourRole() const;
    void ApplyColour();

    QUrl address_;
    bool visited_ = false;
};

} // namespace folivane::ui
