// Painting of the inspector's rows and of its column divider.

#include "document/ccolor.h"
#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "inspector/mypanel.h"
#include "inspector/oic.h"

#include <QLineEdit>
#include <QPainter>

namespace tw {
namespace {

// A horizontal or vertical line that stops before its end point.
void Line(QPainter& painter, const QColor& color, QPoint from, QPoint to)
{
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
    if (step.isNull())
        return;
    painter.setPen(color);
    painter.drawLine(from, to - step);
}

// The rectangle from (left, top) up to but without (right, bottom): a
// one-pixel outline around the fill.
void Box(QPainter& painter, int left, int top, int right, int bottom, const QColor& outline, const QColor& fill)
{
    painter.setPen(outline);
    painter.setBrush(fill);
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
    painter.setBrush(Qt::NoBrush);
}

void Text(QPainter& painter, const QRect& clip, int x, int y, const QString& text)
{
    painter.save();
    painter.setClipRect(clip);
    painter.drawText(QRect(x, y, clip.right() - x + 1, clip.bottom() - y + 1),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

QColor Rgb(TColor color)
{
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

} // namespace

void tOIC::PaintRow(QPainter& painter, const QRect& rect, const QModelIndex& index) const
{
    const QPalette& palette = c_.tree->palette();
    const QColor face = palette.color(QPalette::Button);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor light = palette.color(QPalette::Light);
    const QColor window = palette.color(QPalette::Base);
    const int L = rect.left();
    const int T = rect.top();
    const int R = L + rect.width();
    const int B = T + rect.height();
    const int level = index.parent().isValid() ? 1 : 0;
    const int x0 = L + 2 + 15 * level;
    const int y0 = T + 3;
    const int kind = index.data(InspectorKindRole).toInt();
    const int setting = index.data(InspectorSettingRole).toInt();
    const bool selected = index == c_.tree->currentIndex();

    painter.fillRect(rect, face);
    Line(painter, shadow, {L, B - 1}, {R, B - 1});
    Line(painter, face, {L, B - 2}, {L, T});
    Line(painter, face, {L, T}, {R, T});
    if (selected) {
        if (kind != ikGroup)
            Box(painter, splitPos_ + 2, T, R + 1, B, face, window);
        // A sunken frame around the row.
        Line(painter, shadow, {L, T - 1}, {R, T - 1});
        Line(painter, Qt::black, {L, B}, {L, T});
        Line(painter, Qt::black, {L, T}, {R, T});
        Line(painter, light, {L, B - 1}, {R, B - 1});
    }
    if (c_.tree->model()->hasChildren(index)) {
        Box(painter, x0 + 1, y0, x0 + 10, y0 + 9, shadow, window);
        Line(painter, Qt::black, {x0 + 3, y0 + 4}, {x0 + 8, y0 + 4});
        if (!c_.tree->isExpanded(index))
            Line(painter, Qt::black, {x0 + 5, y0 + 2}, {x0 + 5, y0 + 7});
    }
    const TColor color = kind == ikColor ? document_.GetColor(setting) : clNone;
    if (kind == ikColor) {
        // No colour: an empty swatch, struck through.
        Box(painter, splitPos_ + 4, y0, splitPos_ + 19, y0 + 9, shadow, color == clNone ? window : Rgb(color));
        if (color == clNone)
            Line(painter, shadow, {splitPos_ + 5, y0 + 7}, {splitPos_ + 18, y0});
    }

    painter.setFont(c_.tree->font());
    painter.setPen(palette.color(QPalette::Text));
    const int captionX = L + CaptionLeft(level);
    Text(painter, QRect(QPoint(captionX, T + 1), QPoint(splitPos_ - 1, B - 2)), captionX, T + 1,
         index.data(Qt::DisplayRole).toString());
    const QRect valueClip(QPoint(splitPos_ + 3, T + 1), QPoint(R - 1, B - 2));
    // The selected row's editor shows the value itself.
    if ((kind == ikText || kind == ikFont || kind == ikPicture) && !(selected && c_.editor->isVisible())) {
        Text(painter, valueClip, splitPos_ + 3, T + 2, FromCp1252(document_.GetString(setting)));
    } else if (kind == ikColor) {
        const QString value = selected          ? QStringLiteral("#")
                              : color == clNone ? QStringLiteral("(N/A)")
                                                : FromCp1252(ColorToText(color, true));
        Text(painter, valueClip, splitPos_ + 21, T + 2, value);
    }
}

// The divider's two lines continue the grid lines of every visible row, and
// the selected row's sunken frame runs across it.
void tOIC::PaintDivider(QPainter& painter) const
{
    const QPalette& palette = c_.tree->palette();
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor light = palette.color(QPalette::Light);
    painter.fillRect(c_.divider->rect(), palette.color(QPalette::Button));
    const QModelIndex current = c_.tree->currentIndex();
    for (QModelIndex index = c_.tree->indexAt(QPoint(0, 0)); index.isValid(); index = c_.tree->indexBelow(index)) {
        const QRect row = c_.tree->RowRect(index).translated(0, -c_.divider->y());
        if (row.top() > c_.divider->height())
            break;
        const int T = row.top();
        const int B = T + row.height();
        Line(painter, shadow, {0, T}, {0, B});
        Line(painter, light, {1, T}, {1, B});
        if (index == current) {
            Line(painter, shadow, {0, T - 1}, {2, T - 1});
            Line(painter, Qt::black, {0, T}, {2, T});
            Line(painter, light, {0, B - 1}, {2, B - 1});
        }
    }
}

} // namespace tw
