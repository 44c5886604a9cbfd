#pragma once

// Drives the drag events of the editors' views without the platform's drag
// loop.

#include "shell/editorparts.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

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

} // namespace tw::shelltest
