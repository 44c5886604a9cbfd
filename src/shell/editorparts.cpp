#include "shell/editorparts.h"

#include <QCursor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <vector>

namespace tw {

DragTreeView::DragTreeView(QWidget* parent) : QTreeView(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
}

void DragTreeView::finishEditing()
{
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void DragTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool movesOn = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    QTreeView::closeEditor(editor, movesOn ? QAbstractItemDelegate::NoHint : hint);
}

void DragTreeView::beginDrag()
{
    dragging_ = true;
    dropped_ = false;
    if (handlers_.started)
        handlers_.started();
}

void DragTreeView::endDrag(const QPoint& releasePoint)
{
    const bool endedElsewhere = dragging_ && !dropped_;
    dragging_ = false;
    setMark({});
    if (endedElsewhere && handlers_.endedElsewhere)
        handlers_.endedElsewhere(releasePoint);
}

void DragTreeView::scrollToLongCaptions()
{
    scrollsToLongCaptions_ = true;
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setMinimumSectionSize(viewport()->width());
}

void DragTreeView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    // A column wider than the view would send the view back to its left
    // edge on every selection, away from the caption just scrolled to.
    const int sideways = horizontalScrollBar()->value();
    QTreeView::scrollTo(index, hint);
    if (scrollsToLongCaptions_)
        horizontalScrollBar()->setValue(sideways);
}

void DragTreeView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    if (scrollsToLongCaptions_) {
        header()->setMinimumSectionSize(viewport()->width());
        header()->resizeSections(QHeaderView::ResizeToContents);
    }
}

void DragTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Asterisk || !itemsExpandable() || !currentIndex().isValid()) {
        QTreeView::keyPressEvent(event);
        return;
    }
    expandBranches(currentIndex());
    event->accept();
}

void DragTreeView::expandBranches(const QModelIndex& index)
{
    // Laid out once, after every branch is marked.
    scheduleDelayedItemsLayout();
    std::vector<QModelIndex> pending{index};
    while (!pending.empty()) {
        const QModelIndex branch = pending.back();
        pending.pop_back();
        expand(branch);
        const int rows = model()->rowCount(branch);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = model()->index(row, 0, branch);
            if (model()->hasChildren(child))
                pending.push_back(child);
        }
    }
}

void DragTreeView::mousePressEvent(QMouseEvent* event)
{
    pressedOnDraggable_ = indexAt(event->position().toPoint()).flags().testFlag(Qt::ItemIsDragEnabled);
    QTreeView::mousePressEvent(event);
}

void DragTreeView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons().testFlag(Qt::LeftButton) && !pressedOnDraggable_)
        return;
    QTreeView::mouseMoveEvent(event);
}

void DragTreeView::startDrag(Qt::DropActions)
{
    beginDrag();
    auto* drag = new QDrag(this);
    drag->setMimeData(new QMimeData);
    drag->exec(Qt::MoveAction);
    endDrag(viewport()->mapFromGlobal(QCursor::pos()));
}

bool DragTreeView::accepts(const QPoint& point) const
{
    return dragging_ && handlers_.accepts && handlers_.accepts(point);
}

void DragTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!dragging_) {
        event->ignore();
        return;
    }
    setState(DraggingState);
    event->acceptProposedAction();
}

void DragTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    // The base class scrolls near the edges; the decision is the owner's.
    QTreeView::dragMoveEvent(event);
    const QPoint point = event->position().toPoint();
    if (accepts(point)) {
        event->acceptProposedAction();
        setMark(handlers_.mark ? handlers_.mark(point) : QRect());
    } else {
        event->ignore();
        setMark({});
    }
}

void DragTreeView::dragLeaveEvent(QDragLeaveEvent* event)
{
    setMark({});
    QTreeView::dragLeaveEvent(event);
}

void DragTreeView::setMark(const QRect& mark)
{
    if (mark == mark_)
        return;
    mark_ = mark;
    viewport()->update();
}

void DragTreeView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (mark_.width() <= 0)
        return;
    QPainter painter(viewport());
    const QColor color = palette().color(QPalette::Highlight);
    if (mark_.height() == 0) {
        painter.fillRect(QRect(mark_.left(), mark_.top() - 1, mark_.width(), 2), color);
    } else {
        painter.setPen(QPen(color, 2));
        painter.drawRect(mark_.adjusted(1, 1, -1, -1));
    }
}

void DragTreeView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    setMark({});
    const QPoint point = event->position().toPoint();
    if (!accepts(point)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    dropped_ = true;
    if (handlers_.dropped)
        handlers_.dropped(point);
}

} // namespace tw
