// Where the main window stands and how wide its columns are, kept between
// runs.
#include "shell/mainform.h"

#include "inspector/oic.h"
#include "shell/csetting.h"
#include "shell/variablespage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace tw {

void Tmainform::RestoreFormSettings()
{
    const FormSettings values = ReadFormSettings();
    if (values.Left || values.Top)
        move(OnVisibleScreen(QPoint(values.Left.value_or(x()), values.Top.value_or(y()))));
    if (values.LayoutWidth)
        inspector_->SetSplitPos(*values.LayoutWidth);
    const auto widths = variablesPage_->columnWidths();
    variablesPage_->setColumnWidths(values.ColVarNameWidth.value_or(widths.name),
                                    values.ColVarTextWidth.value_or(widths.value));
}

QPoint Tmainform::OnVisibleScreen(const QPoint& topLeft) const
{
    // A position stored for a larger or a detached screen is moved so that
    // the whole window lies on the screen nearest to it.
    const QScreen* screen = QGuiApplication::screenAt(topLeft);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return topLeft;
    const QRect available = screen->availableGeometry();
    // Before the window is first shown its frame is not known yet: the
    // title bar and the borders are estimated from the style.
    QSize frame = frameGeometry().size();
    if (frame == size()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        frame += QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
    }
    return {
        std::clamp(topLeft.x(), available.left(), std::max(available.left(), available.right() + 1 - frame.width())),
        std::clamp(topLeft.y(), available.top(), std::max(available.top(), available.bottom() + 1 - frame.height()))};
}

void Tmainform::StoreFormSettings()
{
    FormSettings values;
    values.Left = x();
    values.Top = y();
    values.LayoutWidth = inspector_->SplitPos();
    const auto widths = variablesPage_->columnWidths();
    values.ColVarNameWidth = widths.name;
    values.ColVarTextWidth = widths.value;
    if (const QString problem = WriteFormSettings(values); !problem.isEmpty())
        dialogs_.Message(this, problem);
}

} // namespace tw
