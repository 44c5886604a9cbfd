#include "inspector/mybutton.h"

#include <QDialog>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace tw {
namespace {

constexpr int CaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;
const QString SymbolFont = QStringLiteral("Marlett");
// In the symbol font the digit 6 is a downward arrow.
const QString SymbolArrowDown = QStringLiteral("6");

// The symbol font exists only on Windows; elsewhere its arrow is drawn by hand.
bool DrawsSymbolArrow(const QFont& font, const QString& caption)
{
    return caption == SymbolArrowDown && font.family() == SymbolFont && !QFontDatabase::hasFamily(SymbolFont);
}

// A solid triangle pointing down, centred in area, built from pixel rows so
// that it stays sharp at every scale factor.
void PaintArrowDown(QPainter& canvas, const QRect& area, const QColor& color)
{
    const int halfWidth = std::max(2, area.height() / 4);
    const int left = area.left() + area.width() / 2 - halfWidth;
    const int top = area.top() + (area.height() - halfWidth - 1) / 2;
    for (int row = 0; row <= halfWidth; ++row)
        canvas.fillRect(left + row, top + row, 2 * (halfWidth - row) + 1, 1, color);
}

} // namespace

TMYButton::TMYButton(QWidget* parent) : QWidget(parent)
{
    setGeometry(0, 0, 75, 25);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMYButton::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    if (shortcutId_ != 0)
        releaseShortcut(shortcutId_);
    const QKeySequence accelerator = QKeySequence::mnemonic(caption_);
    shortcutId_ = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
    update();
}

void TMYButton::Click()
{
    // Only the result: the dialog decides itself whether the click closes it.
    if (auto* dialog = qobject_cast<QDialog*>(window()))
        dialog->setResult(modalResult_);
    emit clicked();
}

QRect TMYButton::CaptionRect(const QPoint& offset) const
{
    if (caption_.isEmpty())
        return {};
    const QSize text = fontMetrics().boundingRect(QRect(0, 0, width(), 0), CaptionFlags, caption_).size();
    const QPoint topLeft((width() - text.width() + 1) / 2, (height() - text.height() + 1) / 2);
    return {topLeft + offset, text};
}

void TMYButton::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    QPainter canvas(&picture);
    canvas.setFont(font());

    textRect_ = CaptionRect(state_ == State::Down ? QPoint(1, 1) : QPoint(0, 0));
    if (!isEnabled()) {
        state_ = State::Disabled;
        tracking_ = false;
    } else if (state_ == State::Disabled) {
        state_ = State::Up;
    }

    // A disabled button looks exactly like an enabled one.
    QPalette colors = palette();
    if (colors.currentColorGroup() == QPalette::Disabled)
        colors.setCurrentColorGroup(QPalette::Active);
    canvas.fillRect(rect(), colors.color(QPalette::Button));
    PaintFrame(canvas, colors);
    PaintCaption(canvas, colors);
    canvas.end();

    QPainter(this).drawPixmap(0, 0, picture);
}

void TMYButton::PaintFrame(QPainter& canvas, const QPalette& colors) const
{
    if (state_ == State::Down) {
        canvas.fillRect(rect(), colors.color(QPalette::Dark));
        canvas.fillRect(rect().adjusted(1, 1, -1, -1), colors.color(QPalette::Button));
        return;
    }
    QStyleOptionButton option;
    option.initFrom(this);
    option.state = QStyle::State_Enabled | QStyle::State_Raised;
    option.palette = colors;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &canvas, this);
}

void TMYButton::PaintCaption(QPainter& canvas, const QPalette& colors) const
{
    const QColor color = colors.color(QPalette::ButtonText);
    if (DrawsSymbolArrow(font(), caption_)) {
        PaintArrowDown(canvas, textRect_, color);
        return;
    }
    canvas.setPen(color);
    canvas.drawText(textRect_, Qt::AlignCenter | CaptionFlags, caption_);
}

void TMYButton::SetState(State state)
{
    if (state == state_)
        return;
    state_ = state;
    update();
}

bool TMYButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            Click();
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TMYButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    SetState(State::Down);
    tracking_ = true;
    setFocus(Qt::MouseFocusReason);
}

void TMYButton::mouseMoveEvent(QMouseEvent* event)
{
    if (tracking_)
        SetState(rect().contains(event->position().toPoint()) ? State::Down : State::Up);
}

void TMYButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!tracking_)
        return;
    tracking_ = false;
    if (!rect().contains(event->position().toPoint())) {
        update();
        return;
    }
    state_ = State::Up;
    repaint();
    Click();
}

void TMYButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        SetState(State::Down);
    event->accept();
}

void TMYButton::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->key() != Qt::Key_Space || event->isAutoRepeat())
        return;
    SetState(State::Up);
    Click();
}

void TMYButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        state_ = State::Disabled;
        tracking_ = false;
    }
    QWidget::changeEvent(event);
}

} // namespace tw
