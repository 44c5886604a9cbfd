#include "shell/passingnotice.h"

#include <algorithm>

namespace tw {
namespace {

// Distance to the anchor and to the window's edges.
constexpr int Gap = 2;

} // namespace

PassingNotice::PassingNotice(QWidget* window) : QLabel(window)
{
    setFrameShape(QFrame::Box);
    setMargin(2);
    setWordWrap(true);
    setAutoFillBackground(true);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    hide();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
}

void PassingNotice::ShowBelow(const QWidget& anchor, const QString& text, int milliseconds)
{
    // A long path may wrap after each of its separators.
    QString breakable = text;
    breakable.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    breakable.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
    setText(breakable);
    const int available = parentWidget()->width() - 2 * Gap;
    const int natural = fontMetrics().horizontalAdvance(breakable) + 2 * (margin() + frameWidth()) + 1;
    const int width = std::min(natural, available);
    resize(width, heightForWidth(width));
    const QPoint below = anchor.mapTo(parentWidget(), QPoint(0, anchor.height() + Gap));
    move(std::clamp(below.x(), Gap, std::max(Gap, parentWidget()->width() - Gap - width)), below.y());
    raise();
    show();
    timer_.start(milliseconds);
}

void PassingNotice::mousePressEvent(QMouseEvent* event)
{
    hide();
    QLabel::mousePressEvent(event);
}

} // namespace tw
