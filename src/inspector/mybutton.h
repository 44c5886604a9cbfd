#pragma once

#include <QRect>
#include <QWidget>

class QPainter;
class QPalette;

namespace tw {

// A push button that paints itself flicker-free into an off-screen picture,
// shows a flat look while pressed and can carry a dialog result. It raises
// its own clicks: on release of the left button inside it, on release of the
// space bar, and on its "&" accelerator.
class TMYButton : public QWidget {
    Q_OBJECT
public:
    enum class State { Up, Disabled, Down };

    explicit TMYButton(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // Hands ModalResult to the dialog the button sits on (also when it is 0),
    // then emits clicked().
    void Click();

    State state() const { return state_; }
    // Where the caption was last laid out, in client pixels.
    QRect textRect() const { return textRect_; }

signals:
    void clicked();

protected:
    // Implemented with the button's own painting, mouse, keyboard and
    // accelerator handling.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where the caption goes for the given press offset, in client pixels.
    QRect CaptionRect(const QPoint& offset) const;
    void PaintFrame(QPainter& canvas, const QPalette& colors) const;
    void PaintCaption(QPainter& canvas, const QPalette& colors) const;
    // Sets the drawing state and repaints when it changed.
    void SetState(State state);

    QString caption_;
    int modalResult_ = 0;
    QRect textRect_;
    bool tracking_ = false;
    State state_ = State::Up;
    int shortcutId_ = 0;
};

} // namespace tw
