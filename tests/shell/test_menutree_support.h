#pragma once

// Support for the tests of the menu tree and variables editors: drags
// without the platform's drag loop, the modal variable dialog, tree captions.

#include "document/menutree.h"
#include "shell/editorparts.h"
#include "shell/vlistdlg.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tw::shelltest {

// Enter, move and drop at a point of the view's viewport; true when the drop
// was accepted.
inline bool SendDragEvents(DragTreeView& view, const QPoint& point)
{
    QMimeData mime;
    QDragEnterEvent enter(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(point, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QDropEvent drop(QPointF(point), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drop);
    EXPECT_EQ(move.isAccepted(), drop.isAccepted());
    return drop.isAccepted();
}

// A whole drag of the view's selected item, released at point.
inline bool DragSelectionTo(DragTreeView& view, const QPoint& point)
{
    view.beginDrag();
    const bool accepted = SendDragEvents(view, point);
    view.endDrag(point);
    return accepted;
}

// Presses the left button at point of the view's viewport and moves the
// mouse far enough to start a drag. The offscreen platform ends every drag at
// once, without a drop, with the mouse cursor where it is.
inline void PressAndDrag(DragTreeView& view, const QPoint& point)
{
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, point);
    const QPoint step(0, QApplication::startDragDistance() + 2);
    QTest::mouseMove(view.viewport(), point + step);
    QTest::mouseMove(view.viewport(), point + step * 2);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, point + step * 2);
}

// Runs action on the variable dialog once its modal event loop runs, and
// closes the dialog afterwards if the action left it open.
inline void WhenTheDialogShows(std::function<void(Tvlistform&)> action)
{
    QTimer::singleShot(0, [action] {
        auto* form = qobject_cast<Tvlistform*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        action(*form);
        if (form->isVisible())
            form->reject();
    });
}

inline std::vector<std::string> ChildCaptions(const MenuNode& parent)
{
    std::vector<std::string> captions;
    for (std::size_t row = 0; row < parent.ChildCount(); ++row)
        captions.push_back(parent.Child(row)->Caption());
    return captions;
}

} // namespace tw::shelltest
