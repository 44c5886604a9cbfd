#include "shell/treecommands.h"

#include "document/qzhtml.h"

namespace tw {

namespace {

// Moves node to place, given as the row it is to have afterwards.
void MoveNodeTo(MenuTree& tree, MenuNode& node, NodePlace place)
{
    // The tree counts the row before the node is taken out.
    const bool later = node.Parent() == place.parent && node.Row() < place.row;
    tree.Move(node, *place.parent, later ? place.row + 1 : place.row);
}

} // namespace

InsertNodeCommand::InsertNodeCommand(const QString& text, TqzHTML& document, NodePlace place, std::string caption)
    : QUndoCommand(text), document_(document), place_(place), caption_(std::move(caption))
{
}

InsertNodeCommand::~InsertNodeCommand() = default;

void InsertNodeCommand::redo()
{
    MenuTree& tree = document_.Tree();
    if (detached_) {
        tree.Attach(std::move(detached_), *place_.parent, place_.row);
        return;
    }
    node_ = &tree.InsertChild(*place_.parent, place_.row, caption_);
    document_.CreateItemData(*node_);
}

void InsertNodeCommand::undo()
{
    detached_ = document_.Tree().Detach(*node_);
}

RemoveNodeCommand::RemoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node)
    : QUndoCommand(text), tree_(tree), node_(node), place_{node.Parent(), node.Row()}
{
}

RemoveNodeCommand::~RemoveNodeCommand() = default;

void RemoveNodeCommand::redo()
{
    detached_ = tree_.Detach(node_);
}

void RemoveNodeCommand::undo()
{
    tree_.Attach(std::move(detached_), *place_.parent, place_.row);
}

MoveNodeCommand::MoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node, NodePlace to)
    : QUndoCommand(text), tree_(tree), node_(node), from_{node.Parent(), node.Row()}, to_(to)
{
}

void MoveNodeCommand::redo()
{
    MoveNodeTo(tree_, node_, to_);
}

void MoveNodeCommand::undo()
{
    MoveNodeTo(tree_, node_, from_);
}

} // namespace tw
