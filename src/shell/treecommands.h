#pragma once

#include <QUndoCommand>

#include <cstddef>
#include <memory>
#include <string>

namespace tw {

class MenuNode;
class MenuTree;
class TqzHTML;

// Where a node stands: its parent and its position among the parent's
// children once it is there.
struct NodePlace {
    MenuNode* parent = nullptr;
    std::size_t row = 0;
};

// A new item with its record. Undo takes the very node out of the tree and
// redo puts it back, so that later steps still find it.
class InsertNodeCommand : public QUndoCommand {
public:
    InsertNodeCommand(const QString& text, TqzHTML& document, NodePlace place, std::string caption);
    ~InsertNodeCommand() override;
    void undo() override;
    void redo() override;
    MenuNode* Node() const { return node_; }

private:
    TqzHTML& document_;
    NodePlace place_;
    std::string caption_;
    MenuNode* node_ = nullptr;
    std::unique_ptr<MenuNode> detached_;
};

// An item deleted with its subtree. The nodes are moved out of the tree and
// kept here, not copied, so undoing a large deletion costs what it did.
class RemoveNodeCommand : public QUndoCommand {
public:
    RemoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node);
    ~RemoveNodeCommand() override;
    void undo() override;
    void redo() override;

private:
    MenuTree& tree_;
    MenuNode& node_;
    NodePlace place_;
    std::unique_ptr<MenuNode> detached_;
};

// An item moved with its subtree (drag and drop).
class MoveNodeCommand : public QUndoCommand {
public:
    MoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node, NodePlace to);
    void undo() override;
    void redo() override;

private:
    MenuTree& tree_;
    MenuNode& node_;
    NodePlace from_;
    NodePlace to_;
};

// Moves node to place, given as the row it is to have afterwards.
void MoveNodeTo(MenuTree& tree, MenuNode& node, NodePlace place);

} // namespace tw
