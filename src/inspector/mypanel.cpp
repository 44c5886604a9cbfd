#include "inspector/mypanel.h"

#include <QPainter>

#include <utility>

namespace tw {

TMyPanel::TMyPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
}

void TMyPanel::SetOwnerDraw(bool ownerDraw)
{
    ownerDraw_ = ownerDraw;
    update();
}

void TMyPanel::SetOnPaint(PaintHandler handler)
{
    onPaint_ = std::move(handler);
    update();
}

void TMyPanel::SetCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

void TMyPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (ownerDraw_ && onPaint_) {
        onPaint_(*this, painter);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Window));
    drawFrame(&painter);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

} // namespace tw
