#include "shell/treemovekeys.h"

#include "shell/documenteditor.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeView>

namespace tw {

std::optional<DropPlace> StepDestination(const MenuNode& node, MoveStep step)
{
    MenuNode* parent = node.Parent();
    if (parent == nullptr)
        return std::nullopt;
    const std::size_t row = node.Row();
    switch (step) {
    case MoveStep::Up:
        if (row > 0)
            return DropPlace{parent, row - 1};
        break;
    case MoveStep::Down:
        if (row + 1 < parent->ChildCount())
            return DropPlace{parent, row + 2};
        break;
    case MoveStep::Out:
        if (!parent->IsRoot())
            return DropPlace{parent->Parent(), parent->Row() + 1};
        break;
    case MoveStep::In:
        if (row > 0) {
            MenuNode* above = parent->Child(row - 1);
            return DropPlace{above, above->ChildCount()};
        }
        break;
    }
    return std::nullopt;
}

TreeMoveKeys::TreeMoveKeys(QTreeView& tree, MenuTreeModel& model, DocumentEditor& editor)
    : QObject(&tree), tree_(tree), model_(model), editor_(editor),
      menu_(new QMenu(QStringLiteral("&Verschieben"), &tree))
{
    const struct {
        MoveStep step;
        const char16_t* caption;
        Qt::Key key;
    } commands[] = {{MoveStep::Up, u"Nach &oben", Qt::Key_Up},
                    {MoveStep::Down, u"Nach &unten", Qt::Key_Down},
                    {MoveStep::Out, u"&Ausrücken", Qt::Key_Left},
                    {MoveStep::In, u"&Einrücken", Qt::Key_Right}};
    for (const auto& command : commands) {
        QAction* action =
            menu_->addAction(QString::fromUtf16(command.caption), this, [this, step = command.step] { move(step); });
        // A key of the tree only: the caption editor keeps Ctrl with the arrows.
        action->setShortcut(QKeySequence(Qt::CTRL | command.key));
        action->setShortcutContext(Qt::WidgetShortcut);
        tree_.addAction(action);
        actions_[static_cast<int>(command.step)] = action;
    }
    follow(nullptr);
    // Where a move leads nowhere its command is disabled and the key would
    // reach the tree, which moves its cursor away from the selection.
    tree_.installEventFilter(this);
}

bool TreeMoveKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &tree_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left ||
                           key->key() == Qt::Key_Right;
        return arrow && key->modifiers() == Qt::ControlModifier;
    }
    return false;
}

void TreeMoveKeys::follow(const MenuNode* node)
{
    for (const MoveStep step : {MoveStep::Up, MoveStep::Down, MoveStep::Out, MoveStep::In})
        actions_[static_cast<int>(step)]->setEnabled(node != nullptr && StepDestination(*node, step).has_value());
}

void TreeMoveKeys::move(MoveStep step)
{
    MenuNode* node = MenuTreeModel::nodeOf(tree_.selectionModel()->selectedIndexes().value(0));
    if (node == nullptr)
        return;
    const std::optional<DropPlace> place = StepDestination(*node, step);
    if (!place)
        return;
    editor_.MoveItem(*node, *place->parent, place->row);
    const QModelIndex moved = model_.indexOf(node);
    tree_.expand(moved.parent());
    tree_.setCurrentIndex(moved);
    tree_.scrollTo(moved);
    follow(node);
}

} // namespace tw
