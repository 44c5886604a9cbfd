#include "inspector/itemviewkeys.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace tw {

bool SelectCurrentOnFirstMove(QAbstractItemView& view, const QKeyEvent& event)
{
    static const int moveKeys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                   Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (event.modifiers() != Qt::NoModifier ||
        std::find(std::begin(moveKeys), std::end(moveKeys), event.key()) == std::end(moveKeys))
        return false;
    QItemSelectionModel* selection = view.selectionModel();
    if (selection == nullptr || view.model() == nullptr || selection->hasSelection())
        return false;
    const QModelIndex index = view.currentIndex().isValid() ? view.currentIndex() : view.model()->index(0, 0);
    if (!index.isValid())
        return false;
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

FirstMoveSelects::FirstMoveSelects(QAbstractItemView* view) : QObject(view)
{
    view->installEventFilter(this);
}

bool FirstMoveSelects::eventFilter(QObject* watched, QEvent* event)
{
    return event->type() == QEvent::KeyPress &&
           SelectCurrentOnFirstMove(*static_cast<QAbstractItemView*>(watched), *static_cast<QKeyEvent*>(event));
}

} // namespace tw
