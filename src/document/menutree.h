#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tw {

// One menu item's record.
struct TMTItem {
    std::string Link;
    std::string Target;
    std::string LinkID;

    // Records come and go with their nodes; both live in pools of their own.
    static void* operator new(std::size_t size);
    static void operator delete(void* record) noexcept;
};

class MenuTree;

// A node of the menu tree: caption, ordered children, the attached record.
// The root (level 0) is the project node and carries no record.
class MenuNode {
public:
    MenuNode(const MenuNode&) = delete;
    MenuNode& operator=(const MenuNode&) = delete;

    // Destroys the subtree without recursing once per level.
    ~MenuNode();

    // Nodes come from a pool of the thread (see BlockPool): a large menu is
    // built and freed without a heap call per node. A node is freed on the
    // thread that made it.
    static void* operator new(std::size_t size);
    static void operator delete(void* node) noexcept;

    const std::string& Caption() const { return caption_; }
    TMTItem* Item() const { return item_.get(); }

    MenuNode* Parent() const { return parent_; }
    std::size_t ChildCount() const { return children_.size(); }
    bool HasChildren() const { return !children_.empty(); }
    MenuNode* Child(std::size_t index) const { return children_[index].get(); }
    // Position among the parent's children (0 for the root).
    std::size_t Row() const { return row_; }
    // 0 for the root, 1 for top-level items, and so on.
    int Level() const;
    bool IsRoot() const { return parent_ == nullptr; }
    // True when ancestor lies on the path from this node up to the root
    // (the node itself does not count).
    bool HasAsAncestor(const MenuNode* ancestor) const;

    // The next node in pre-order (a node before its children), or nullptr.
    MenuNode* NextPreOrder() const;
    // The node after this node's whole subtree in pre-order, or nullptr.
    MenuNode* NextSkippingChildren() const;

private:
    friend class MenuTree;
    MenuNode(MenuNode* parent, std::string&& caption) : caption_(std::move(caption)), parent_(parent) {}

    std::string caption_;
    std::unique_ptr<TMTItem> item_;
    MenuNode* parent_;
    std::size_t row_ = 0;
    std::vector<std::unique_ptr<MenuNode>> children_;
};

// Told about every change of the tree. Structural changes come as a
// before/after pair so a view model can mirror them.
class MenuTreeObserver {
public:
    virtual ~MenuTreeObserver() = default;
    virtual void BeforeInsert(MenuNode& /*parent*/, std::size_t /*row*/) {}
    virtual void AfterInsert(MenuNode& /*node*/) {}
    // Rows first..last of parent are about to go.
    virtual void BeforeRemove(MenuNode& /*parent*/, std::size_t /*first*/, std::size_t /*last*/) {}
    virtual void AfterRemove(MenuNode& /*parent*/) {}
    // node moves from its place to position destRow of destParent, where
    // destRow counts before the node is taken out (as Qt's beginMoveRows).
    virtual void BeforeMove(MenuNode& /*node*/, MenuNode& /*destParent*/, std::size_t /*destRow*/) {}
    virtual void AfterMove(MenuNode& /*node*/) {}
    virtual void CaptionChanged(MenuNode& /*node*/) {}
    virtual void RecordChanged(MenuNode& /*node*/) {}
};

// The ordered tree of menu nodes. The root always exists. Nodes are owned by
// the tree; every node that leaves the tree passes through the deletion
// handler first (children before their parent).
class MenuTree {
public:
    MenuTree();
    ~MenuTree();
    MenuTree(const MenuTree&) = delete;
    MenuTree& operator=(const MenuTree&) = delete;

    MenuNode& Root() { return *root_; }
    const MenuNode& Root() const { return *root_; }

    // Number of all nodes, the root included.
    std::size_t Count() const { return count_; }
    // Node at a pre-order index (0 is the root); linear, use NextPreOrder
    // to walk. nullptr when out of range.
    MenuNode* NodeAt(std::size_t absoluteIndex) const;
    // Pre-order position of a node; linear.
    std::size_t AbsoluteIndex(const MenuNode& node) const;

    MenuNode& AddChild(MenuNode& parent, std::string caption);
    // Adds a node as the last child of sibling's parent.
    MenuNode& AddSibling(MenuNode& sibling, std::string caption);
    MenuNode& InsertChild(MenuNode& parent, std::size_t row, std::string caption);

    void SetCaption(MenuNode& node, const std::string& caption);
    void SetItem(MenuNode& node, std::unique_ptr<TMTItem> item);
    // Tells the observers that the node's record was changed in place.
    void NotifyRecordChanged(MenuNode& node);

    // Deletes node with its subtree (the root cannot be deleted).
    void Delete(MenuNode& node);
    void DeleteChildren(MenuNode& node);
    // Removes every node below the root as a new tree would be: the observers
    // are told, the deletion handler is not (the records go with their
    // nodes), so that starting over costs one pass over the nodes.
    void Clear();

    // Takes node with its subtree out of the tree without destroying it: the
    // records stay and the deletion handler is not called, so that Attach
    // can put the very same nodes back (undo of a deletion).
    std::unique_ptr<MenuNode> Detach(MenuNode& node);
    // Inserts a detached subtree at position row of parent.
    MenuNode& Attach(std::unique_ptr<MenuNode> node, MenuNode& parent, std::size_t row);

    // Moves node with its subtree to position row of newParent (row counted
    // before the node is taken out). newParent must not lie in node's subtree.
    void Move(MenuNode& node, MenuNode& newParent, std::size_t row);

    void AddObserver(MenuTreeObserver* observer);
    void RemoveObserver(MenuTreeObserver* observer);
    // Called for every node that leaves the tree, before it is destroyed.
    void SetDeletionHandler(std::function<void(MenuNode&)> handler);

    // Releases a node's record (for the deletion handler).
    static std::unique_ptr<TMTItem> TakeItem(MenuNode& node) { return std::move(node.item_); }

private:
    // InsertChild without moving the caption from parameter to parameter.
    MenuNode& Insert(MenuNode& parent, std::size_t row, std::string&& caption);
    // Inserts child (whose parent is set) at row and numbers the rows.
    static void PutChild(MenuNode& parent, std::size_t row, std::unique_ptr<MenuNode> child);
    static void RenumberFrom(MenuNode& parent, std::size_t first);
    // Removes node's children with their subtrees, the observers told; the
    // deletion handler only with reportDeletion (else node must be the root).
    void RemoveChildren(MenuNode& node, bool reportDeletion);
    // Hands node and its subtree to the deletion handler; returns how many.
    std::size_t ReportDeletion(MenuNode& node);
    // Takes the child at row out of parent, with the observers told.
    std::unique_ptr<MenuNode> TakeOut(MenuNode& parent, std::size_t row, std::size_t subtreeSize);
    static std::size_t SubtreeSize(const MenuNode& node);

    std::unique_ptr<MenuNode> root_;
    std::size_t count_ = 1;
    std::vector<MenuTreeObserver*> observers_;
    std::function<void(MenuNode&)> deletionHandler_;
};

} // namespace tw
