#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

namespace tw {

// The screen quadrant that held the pointer when a hint was placed.
enum HintCorner { hcTopRight = 0, hcTopLeft = 1, hcBottomRight = 2, hcBottomLeft = 3 };

struct HintPlacement {
    HintCorner corner = hcTopLeft;
    QRect rect; // screen pixels
};

// Where a hint window of the given text size goes for the pointer at
// pointer on a screen of screen pixels: beside the pointer, away from the
// screen's nearest corner.
HintPlacement PlaceHint(const QPoint& pointer, const QSize& textSize, const QRect& screen);

// Gives every tooltip of the application one flat look: a coloured box with
// a thin border, a strip on one side with an arrow pointing at the mouse
// pointer, and word-wrapped text. Construct one on the main window; it shows
// the program's own hint window in place of Qt's tooltips.
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
    QWidget* HintWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QColor, 4> colors_;
    int maxHintWidth_ = 200;
    QFont font_;
    ShowHintHandler onShowHint_;
};

} // namespace tw
