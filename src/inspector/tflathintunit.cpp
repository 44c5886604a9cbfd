#include "inspector/tflathintunit.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>

namespace tw {
namespace {

constexpr int HintFirstDelay = 500;
constexpr int HintNeighbourDelay = 25;
constexpr int HintHideDelay = 5000;

// The tooltip Qt would show for widget: its own or, failing that, the first
// one on the way up to its window.
QString ToolTipOf(const QWidget& widget)
{
    for (const QWidget* candidate = &widget; candidate; candidate = candidate->parentWidget()) {
        if (!candidate->toolTip().isEmpty())
            return candidate->toolTip();
        if (candidate->isWindow())
            break;
    }
    return {};
}

} // namespace

TFlatHint::TFlatHint(QWidget* owner)
    : QObject(owner), colors_{QColor(Qt::white), QColor(Qt::black), QColor(255, 210, 83), QColor(Qt::black)}
{
    wakeTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&wakeTimer_, &QTimer::timeout, this, &TFlatHint::WakeUp);
    connect(&hideTimer_, &QTimer::timeout, this, &TFlatHint::HideHint);
    qApp->installEventFilter(this);
}

TFlatHint::~TFlatHint()
{
    qApp->removeEventFilter(this);
}

bool TFlatHint::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return ShowHint(*widget, static_cast<QHelpEvent&>(*event));
        break;
    case QEvent::MouseMove:
        if (auto* widget = qobject_cast<QWidget*>(watched))
            ScheduleHint(*widget, static_cast<const QMouseEvent&>(*event));
        break;
    case QEvent::Leave:
        if (watched == hintWidget_)
            HideHint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::WindowDeactivate:
        wakeTimer_.stop();
        HideHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool TFlatHint::ShowHint(QWidget& widget, QHelpEvent& event)
{
    QString text = ToolTipOf(widget);
    if (text.isEmpty()) {
        HideHint();
        return false;
    }
    event.accept();
    // Qt's own, later request for the hint that is already up.
    if (HintVisible() && &widget == hintWidget_ && text == window_->Text())
        return true;
    bool canShow = true;
    if (onShowHint_)
        onShowHint_(text, canShow);
    if (!canShow || text.isEmpty()) {
        HideHint();
        return true;
    }
    if (!window_)
        window_ = std::make_unique<TFlatHintWindow>(*this);
    hintWidget_ = &widget;
    window_->Activate(text, event.globalPos());
    hideTimer_.start(HintHideDelay);
    return true;
}

void TFlatHint::ScheduleHint(QWidget& widget, const QMouseEvent& event)
{
    if (event.buttons() != Qt::NoButton || (window_ && widget.window() == window_.get()))
        return;
    const QPoint global = event.globalPosition().toPoint();
    // The same move, passed on to a parent that has mouse tracking.
    if (global == pendingGlobalPos_ && pendingWidget_ && widget.isAncestorOf(pendingWidget_))
        return;
    // Moving within the control keeps its hint where it is.
    if (HintVisible() && &widget == hintWidget_)
        return;
    pendingWidget_ = &widget;
    pendingPos_ = event.position().toPoint();
    pendingGlobalPos_ = global;
    const bool recent = HintVisible() || (sinceHidden_.isValid() && sinceHidden_.elapsed() < HintFirstDelay);
    wakeTimer_.start(recent ? HintNeighbourDelay : HintFirstDelay);
}

void TFlatHint::WakeUp()
{
    if (!pendingWidget_)
        return;
    const QWidget* window = pendingWidget_->window();
    if (!window->isActiveWindow() && !window->testAttribute(Qt::WA_AlwaysShowToolTips))
        return;
    QHelpEvent request(QEvent::ToolTip, pendingPos_, pendingGlobalPos_);
    QCoreApplication::sendEvent(pendingWidget_, &request);
}

void TFlatHint::HideHint()
{
    hideTimer_.stop();
    hintWidget_ = nullptr;
    if (!HintVisible())
        return;
    window_->hide();
    sinceHidden_.start();
}

bool TFlatHint::HintVisible() const
{
    return window_ && window_->isVisible();
}

} // namespace tw
