#include "inspector/gridtreeview.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tw {

GridTreeView::GridTreeView(QWidget* parent) : QTreeView(parent)
{
    setExpandsOnDoubleClick(false);
}

bool GridTreeView::MayMoveTo(const QModelIndex& to)
{
    const QModelIndex from = currentIndex();
    return !to.isValid() || to == from || !selectionGate_ || selectionGate_(from, to);
}

bool GridTreeView::SelectRow(const QModelIndex& index)
{
    if (!MayMoveTo(index))
        return false;
    setCurrentIndex(index);
    return true;
}

QRect GridTreeView::RowRect(const QModelIndex& index) const
{
    const QRect cell = visualRect(index);
    return {0, cell.top(), viewport()->width(), cell.height()};
}

void GridTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!rowPainter_) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    rowPainter_(*painter, QRect(0, option.rect.top(), viewport()->width(), option.rect.height()), index);
}

void GridTreeView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    const bool hasChildren = current.isValid() && model()->hasChildren(current);
    const bool expanded = hasChildren && isExpanded(current);
    QModelIndex target;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        static const QHash<int, CursorAction> actions = {{Qt::Key_Up, MoveUp},         {Qt::Key_Down, MoveDown},
                                                         {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
                                                         {Qt::Key_Home, MoveHome},     {Qt::Key_End, MoveEnd}};
        target = moveCursor(actions.value(event->key()), event->modifiers());
        break;
    }
    // Left and right open and close a row with children, or move between it
    // and its children; the tree's own handling would expand as it moves. A
    // move that is refused has told the user why.
    case Qt::Key_Left:
        if (expanded) {
            collapse(current);
        } else if (current.parent().isValid()) {
            SelectRow(current.parent());
        }
        event->accept();
        return;
    case Qt::Key_Right:
        if (hasChildren && !expanded) {
            expand(current);
        } else if (expanded) {
            SelectRow(model()->index(0, 0, current));
        }
        event->accept();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_Asterisk:
        if (hasChildren)
            setExpanded(current, event->key() != Qt::Key_Minus);
        event->accept();
        return;
    default:
        break;
    }
    if (target.isValid() && !MayMoveTo(target)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void GridTreeView::mousePressEvent(QMouseEvent* event)
{
    if (!MayMoveTo(indexAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void GridTreeView::mouseMoveEvent(QMouseEvent* event)
{
    // Moving with a button held would drag the selection past the gate.
    if (selectionGate_ && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void GridTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!doubleClick_) {
        QTreeView::mouseDoubleClickEvent(event);
        return;
    }
    doubleClick_(event->position().toPoint());
    event->accept();
}

void GridTreeView::keyboardSearch(const QString& search)
{
    // Typing a letter would move the selection past the gate.
    if (!selectionGate_)
        QTreeView::keyboardSearch(search);
}

} // namespace tw
