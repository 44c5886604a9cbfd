#pragma once

#include <QLabel>
#include <QTimer>

namespace tw {

// A short confirmation that goes by itself, shown below a control of the
// window in the look of a tooltip. It is a child of the window, not a
// window of its own as Qt's tooltip is: that one hides as soon as the
// window becomes active again, which happens just after a message box that
// preceded the confirmation has closed. As a child it also moves and hides
// with the window.
class PassingNotice : public QLabel {
    Q_OBJECT
public:
    explicit PassingNotice(QWidget* window);

    // Shows text below anchor (a control inside the window) for the given
    // time, kept within the window's width; a long path wraps after its
    // separators.
    void ShowBelow(const QWidget& anchor, const QString& text, int milliseconds);

protected:
    // A click puts it away early, as it does a tooltip.
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer timer_;
};

} // namespace tw
