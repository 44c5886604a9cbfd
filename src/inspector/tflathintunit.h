#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QHelpEvent;
class QMouseEvent;

namespace tw {

// The screen quadrant that held the pointer when a hint was placed.
enum HintCorner { hcTopRight = 0, hcTopLeft = 1, hcBottomRight = 2, hcBottomLeft = 3 };

struct HintPlacement {
    HintCorner corner = hcTopLeft;
    QRect rect; // screen pixels
};

// The window adds 22 pixels to the text's width (arrow strip, border and
// margins) and 6 to its height.
inline constexpr int HintExtraWidth = 22;
inline constexpr int HintExtraHeight = 6;

// Where a hint window of the given text size goes for the pointer at
// pointer on a screen of screen pixels: beside the pointer, away from the
// screen's nearest corner.
HintPlacement PlaceHint(const QPoint& pointer, const QSize& textSize, const QRect& screen);
// The size of text word-wrapped for a window at most maxHintWidth wide.
QSize HintTextSize(const QString& text, const QFont& font, int maxHintWidth);

class TFlatHint;

// The flat hint window: a bordered box with the arrow strip on the side
// facing the pointer and the word-wrapped text beside it.
class TFlatHintWindow : public QWidget {
    Q_OBJECT
public:
    explicit TFlatHintWindow(const TFlatHint& settings);

    // Sizes and places the window beside the pointer (screen pixels) and
    // shows it without activating it.
    void Activate(const QString& text, const QPoint& pointer);
    QString Text() const { return text_; }
    HintCorner Corner() const { return corner_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TFlatHint& settings_;
    QString text_;
    HintCorner corner_ = hcTopLeft;
};

// Gives every tooltip of the application one flat look: a coloured box with
// a thin border, a strip on one side with an arrow pointing at the mouse
// pointer, and word-wrapped text. Construct one on the main window; it shows
// the program's own hint window in place of Qt's tooltips.
//
// Qt asks for a tooltip only after its style's wake-up delay, so the hint
// keeps its own timer, started by mouse moves: 500 ms before the first hint,
// 25 ms when a hint is visible or was hidden less than 500 ms ago. A hint
// hides after 5 s, on a mouse press, a key press, a wheel turn, on leaving
// its control and when the window is deactivated.
class TFlatHint : public QObject {
    Q_OBJECT
public:
    // Index of the four colours, in the order of the setter.
    enum ColorIndex { ColorBackground, ColorBorder, ColorArrowBackground, ColorArrow };
    using ShowHintHandler = std::function<void(QString& hint, bool& canShow)>;

    explicit TFlatHint(QWidget* owner);
    ~TFlatHint() override;

    QColor Color(ColorIndex index) const { return colors_[index]; }
    void SetColor(ColorIndex index, const QColor& color) { colors_[index] = color; }
    int MaxHintWidth() const { return maxHintWidth_; }
    void SetMaxHintWidth(int width) { maxHintWidth_ = width; }
    QFont Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    void SetOnShowHint(ShowHintHandler handler) { onShowHint_ = std::move(handler); }

    // The hint window as it is now (null before the first hint).
    TFlatHintWindow* HintWindow() const { return window_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the hint of widget for a tooltip request; false when it has none.
    bool ShowHint(QWidget& widget, QHelpEvent& event);
    void ScheduleHint(QWidget& widget, const QMouseEvent& event);
    void WakeUp();
    void HideHint();
    bool HintVisible() const;

    std::array<QColor, 4> colors_;
    int maxHintWidth_ = 200;
    QFont font_;
    ShowHintHandler onShowHint_;

    std::unique_ptr<TFlatHintWindow> window_;
    QPointer<QWidget> hintWidget_; // whose hint the window shows
    QPointer<QWidget> pendingWidget_;
    QPoint pendingPos_;
    QPoint pendingGlobalPos_;
    QTimer wakeTimer_;
    QTimer hideTimer_;
    QElapsedTimer sinceHidden_;
};

} // namespace tw
