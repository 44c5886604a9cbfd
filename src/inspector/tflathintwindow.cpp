#include "inspector/tflathintunit.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <array>

namespace tw {
namespace {

constexpr int ArrowStripWidth = 14;

// The arrow for a window right of and below the pointer, as offsets from its
// tip; the other corners mirror it.
constexpr std::array<QPoint, 18> ArrowPoints{QPoint(0, 0), QPoint(0, 6), QPoint(1, 6), QPoint(1, 0), QPoint(6, 0),
                                             QPoint(6, 1), QPoint(2, 1), QPoint(2, 4), QPoint(5, 7), QPoint(6, 7),
                                             QPoint(3, 4), QPoint(3, 3), QPoint(6, 6), QPoint(7, 6), QPoint(3, 2),
                                             QPoint(4, 2), QPoint(7, 5), QPoint(7, 6)};

bool StripOnLeft(HintCorner corner)
{
    return corner == hcTopLeft || corner == hcBottomLeft;
}

bool PointerAbove(HintCorner corner)
{
    return corner == hcTopLeft || corner == hcTopRight;
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Draws the arrow's strokes pixel by pixel, each without its end point, so
// it stays sharp at every scale factor. The strokes are all horizontal,
// vertical or diagonal.
void PaintArrow(QPainter& painter, const QPoint& tip, HintCorner corner, const QColor& color)
{
    const int mirrorX = StripOnLeft(corner) ? 1 : -1;
    const int mirrorY = PointerAbove(corner) ? 1 : -1;
    const auto at = [&](const QPoint& offset) { return tip + QPoint(offset.x() * mirrorX, offset.y() * mirrorY); };
    for (std::size_t i = 1; i < ArrowPoints.size(); ++i) {
        const QPoint to = at(ArrowPoints[i]);
        QPoint pixel = at(ArrowPoints[i - 1]);
        const QPoint step(Sign(to.x() - pixel.x()), Sign(to.y() - pixel.y()));
        for (; pixel != to; pixel += step)
            painter.fillRect(QRect(pixel, QSize(1, 1)), color);
    }
}

} // namespace

HintPlacement PlaceHint(const QPoint& pointer, const QSize& textSize, const QRect& screen)
{
    const QSize size(textSize.width() + HintExtraWidth, textSize.height() + HintExtraHeight);
    const QPoint relative = pointer - screen.topLeft();
    const bool left = relative.x() < screen.width() / 2;
    const bool top = relative.y() < screen.height() / 2;
    HintPlacement placement;
    placement.corner = top ? (left ? hcTopLeft : hcTopRight) : (left ? hcBottomLeft : hcBottomRight);
    const int distance = placement.corner == hcTopLeft ? 12 : 5;
    const int x = StripOnLeft(placement.corner) ? pointer.x() + distance : pointer.x() - size.width() - distance;
    const int y = PointerAbove(placement.corner) ? pointer.y() + distance : pointer.y() - size.height() - distance;
    placement.rect = QRect(QPoint(x, y), size);
    return placement;
}

QSize HintTextSize(const QString& text, const QFont& font, int maxHintWidth)
{
    const QRect bounds(0, 0, maxHintWidth - HintExtraWidth, 0);
    return QFontMetrics(font).boundingRect(bounds, Qt::TextWordWrap, text).size();
}

TFlatHintWindow::TFlatHintWindow(const TFlatHint& settings)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint), settings_(settings)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TFlatHintWindow::Activate(const QString& text, const QPoint& pointer)
{
    text_ = text;
    setFont(settings_.Font());
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = this->screen();
    const HintPlacement placement =
        PlaceHint(pointer, HintTextSize(text, settings_.Font(), settings_.MaxHintWidth()), screen->geometry());
    corner_ = placement.corner;
    setGeometry(placement.rect);
    show();
    raise();
    update();
}

void TFlatHintWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    QRect strip = inner;
    QRect textArea = inner;
    if (StripOnLeft(corner_)) {
        strip.setWidth(ArrowStripWidth);
        textArea.setLeft(strip.right() + 1);
    } else {
        strip.setLeft(inner.right() + 1 - ArrowStripWidth);
        textArea.setRight(strip.left() - 1);
    }

    painter.fillRect(rect(), settings_.Color(TFlatHint::ColorBorder));
    painter.fillRect(strip, settings_.Color(TFlatHint::ColorArrowBackground));
    painter.fillRect(textArea, settings_.Color(TFlatHint::ColorBackground));

    // The tip sits two pixels inside the strip's corner nearest the pointer.
    const QPoint tip(StripOnLeft(corner_) ? strip.left() + 2 : strip.right() - 2,
                     PointerAbove(corner_) ? strip.top() + 2 : strip.bottom() - 2);
    PaintArrow(painter, tip, corner_, settings_.Color(TFlatHint::ColorArrow));

    painter.setFont(settings_.Font());
    // The theme's tooltip text, which the owner pairs with the theme's
    // tooltip background.
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(textArea.adjusted(3, 1, -3, -1), Qt::TextWordWrap, text_);
}

} // namespace tw
