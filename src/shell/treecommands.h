#pragma once

#include "shell/changevaluecommand.h"

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

// A step that concerns one item of the menu tree: once it is undone or
// redone, the item it names is the one to show.
class ItemStep {
public:
    virtual ~ItemStep() = default;
    virtual MenuNode* ItemToShow(bool undone) const = 0;
};

// A new item with its record. Undo takes the very node out of the tree and
// redo puts it back, so that later steps still find it.
class InsertNodeCommand : public QUndoCommand, public ItemStep {
public:
    InsertNodeCommand(const QString& text, TqzHTML& document, NodePlace place, std::string caption);
    ~InsertNodeCommand() override;
    void undo() override;
    void redo() override;
    MenuNode* ItemToShow(bool undone) const override { return undone ? place_.parent : node_; }
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
class RemoveNodeCommand : public QUndoCommand, public ItemStep {
public:
    RemoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node);
    ~RemoveNodeCommand() override;
    void undo() override;
    void redo() override;
    MenuNode* ItemToShow(bool undone) const override { return undone ? &node_ : place_.parent; }

private:
    MenuTree& tree_;
    MenuNode& node_;
    NodePlace place_;
    std::unique_ptr<MenuNode> detached_;
};

// An item moved with its subtree (drag and drop).
class MoveNodeCommand : public QUndoCommand, public ItemStep {
public:
    MoveNodeCommand(const QString& text, MenuTree& tree, MenuNode& node, NodePlace to);
    void undo() override;
    void redo() override;
    MenuNode* ItemToShow(bool) const override { return &node_; }

private:
    MenuTree& tree_;
    MenuNode& node_;
    NodePlace from_;
    NodePlace to_;
};

// A value of one item (its caption, its link and target).
template <typename Value>
class ChangeItemValueCommand : public ChangeValueCommand<Value>, public ItemStep {
public:
    ChangeItemValueCommand(const QString& text, MenuNode& node, typename ChangeValueCommand<Value>::Setter set,
                           Value oldValue, Value newValue)
        : ChangeValueCommand<Value>(text, std::move(set), std::move(oldValue), std::move(newValue)), node_(node)
    {
    }
    MenuNode* ItemToShow(bool) const override { return &node_; }

private:
    MenuNode& node_;
};

} // namespace tw
