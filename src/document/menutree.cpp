#include "document/menutree.h"

#include "document/blockpool.h"

#include <algorithm>
#include <cassert>

namespace tw {

int MenuNode::Level() const
{
    int level = 0;
    for (const MenuNode* node = parent_; node; node = node->parent_)
        ++level;
    return level;
}

bool MenuNode::HasAsAncestor(const MenuNode* ancestor) const
{
    for (const MenuNode* node = parent_; node; node = node->parent_) {
        if (node == ancestor)
            return true;
    }
    return false;
}

MenuNode* MenuNode::NextPreOrder() const
{
    if (!children_.empty())
        return children_.front().get();
    return NextSkippingChildren();
}

MenuNode* MenuNode::NextSkippingChildren() const
{
    for (const MenuNode* node = this; node->parent_; node = node->parent_) {
        const MenuNode* parent = node->parent_;
        if (node->row_ + 1 < parent->children_.size())
            return parent->children_[node->row_ + 1].get();
    }
    return nullptr;
}

MenuNode::~MenuNode()
{
    // Frees the subtree from its last leaf upwards along the parent links, so
    // that a deep subtree neither recurses once per level nor needs memory.
    MenuNode* node = this;
    for (;;) {
        while (!node->children_.empty())
            node = node->children_.back().get();
        if (node == this)
            return;
        MenuNode* parent = node->parent_;
        parent->children_.pop_back(); // a leaf now: its own destructor has nothing left to free
        node = parent;
    }
}

namespace {

// The pools are never destroyed: nodes that static objects hold are freed
// after the thread's own objects are gone.
BlockPool& NodePool()
{
    thread_local BlockPool* const pool = new BlockPool(sizeof(MenuNode));
    return *pool;
}

BlockPool& RecordPool()
{
    thread_local BlockPool* const pool = new BlockPool(sizeof(TMTItem));
    return *pool;
}

// The first node of node's subtree in post-order.
MenuNode* FirstInPostOrder(MenuNode& node)
{
    MenuNode* first = &node;
    while (first->HasChildren())
        first = first->Child(0);
    return first;
}

} // namespace

void* MenuNode::operator new([[maybe_unused]] std::size_t size)
{
    assert(size == sizeof(MenuNode));
    return NodePool().Allocate();
}

void MenuNode::operator delete(void* node) noexcept
{
    NodePool().Release(node);
}

void* TMTItem::operator new([[maybe_unused]] std::size_t size)
{
    assert(size == sizeof(TMTItem));
    return RecordPool().Allocate();
}

void TMTItem::operator delete(void* record) noexcept
{
    RecordPool().Release(record);
}

MenuTree::MenuTree() : root_(new MenuNode(nullptr, std::string())) {}

MenuTree::~MenuTree()
{
    // Nodes leave quietly here: the owner is going away with the tree.
    observers_.clear();
    deletionHandler_ = nullptr;
}

MenuNode* MenuTree::NodeAt(std::size_t absoluteIndex) const
{
    if (absoluteIndex >= count_)
        return nullptr;
    MenuNode* node = root_.get();
    for (std::size_t index = 0; index < absoluteIndex; ++index)
        node = node->NextPreOrder();
    return node;
}

std::size_t MenuTree::AbsoluteIndex(const MenuNode& node) const
{
    std::size_t index = 0;
    for (const MenuNode* n = root_.get(); n && n != &node; n = n->NextPreOrder())
        ++index;
    return index;
}

MenuNode& MenuTree::AddChild(MenuNode& parent, std::string caption)
{
    return Insert(parent, parent.children_.size(), std::move(caption));
}

MenuNode& MenuTree::AddSibling(MenuNode& sibling, std::string caption)
{
    MenuNode& parent = sibling.parent_ ? *sibling.parent_ : *root_;
    return Insert(parent, parent.children_.size(), std::move(caption));
}

MenuNode& MenuTree::InsertChild(MenuNode& parent, std::size_t row, std::string caption)
{
    return Insert(parent, row, std::move(caption));
}

MenuNode& MenuTree::Insert(MenuNode& parent, std::size_t row, std::string&& caption)
{
    if (row > parent.children_.size())
        row = parent.children_.size();
    for (auto* observer : observers_)
        observer->BeforeInsert(parent, row);
    auto node = std::unique_ptr<MenuNode>(new MenuNode(&parent, std::move(caption)));
    MenuNode& added = *node;
    PutChild(parent, row, std::move(node));
    ++count_;
    for (auto* observer : observers_)
        observer->AfterInsert(added);
    return added;
}

void MenuTree::SetCaption(MenuNode& node, const std::string& caption)
{
    node.caption_ = caption;
    for (auto* observer : observers_)
        observer->CaptionChanged(node);
}

void MenuTree::SetItem(MenuNode& node, std::unique_ptr<TMTItem> item)
{
    node.item_ = std::move(item);
    NotifyRecordChanged(node);
}

void MenuTree::NotifyRecordChanged(MenuNode& node)
{
    for (auto* observer : observers_)
        observer->RecordChanged(node);
}

std::size_t MenuTree::ReportDeletion(MenuNode& node)
{
    // Children before their parent, along the parent links so that deep
    // trees cannot exhaust the stack.
    std::size_t reported = 0;
    MenuNode* current = FirstInPostOrder(node);
    for (;;) {
        if (deletionHandler_)
            deletionHandler_(*current);
        ++reported;
        if (current == &node)
            return reported;
        MenuNode& parent = *current->parent_;
        const std::size_t next = current->row_ + 1;
        current = next < parent.children_.size() ? FirstInPostOrder(*parent.children_[next]) : &parent;
    }
}

void MenuTree::Delete(MenuNode& node)
{
    assert(node.parent_ && "the root cannot be deleted");
    MenuNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    for (auto* observer : observers_)
        observer->BeforeRemove(parent, row, row);
    const std::size_t removed = ReportDeletion(node);
    TakeOut(parent, row, removed); // the subtree goes with the returned owner
}

std::unique_ptr<MenuNode> MenuTree::Detach(MenuNode& node)
{
    assert(node.parent_ && "the root cannot be detached");
    MenuNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    for (auto* observer : observers_)
        observer->BeforeRemove(parent, row, row);
    std::unique_ptr<MenuNode> owned = TakeOut(parent, row, SubtreeSize(node));
    owned->parent_ = nullptr;
    return owned;
}

std::unique_ptr<MenuNode> MenuTree::TakeOut(MenuNode& parent, std::size_t row, std::size_t subtreeSize)
{
    std::unique_ptr<MenuNode> owned = std::move(parent.children_[row]);
    parent.children_.erase(parent.children_.begin() + static_cast<std::ptrdiff_t>(row));
    RenumberFrom(parent, row);
    count_ -= subtreeSize;
    for (auto* observer : observers_)
        observer->AfterRemove(parent);
    return owned;
}

MenuNode& MenuTree::Attach(std::unique_ptr<MenuNode> node, MenuNode& parent, std::size_t row)
{
    assert(node && !node->parent_);
    if (row > parent.children_.size())
        row = parent.children_.size();
    for (auto* observer : observers_)
        observer->BeforeInsert(parent, row);
    node->parent_ = &parent;
    MenuNode& attached = *node;
    PutChild(parent, row, std::move(node));
    count_ += SubtreeSize(attached);
    for (auto* observer : observers_)
        observer->AfterInsert(attached);
    return attached;
}

std::size_t MenuTree::SubtreeSize(const MenuNode& node)
{
    std::size_t size = 1;
    const MenuNode* end = node.NextSkippingChildren();
    for (const MenuNode* n = node.NextPreOrder(); n != end; n = n->NextPreOrder())
        ++size;
    return size;
}

void MenuTree::DeleteChildren(MenuNode& node)
{
    RemoveChildren(node, true);
}

void MenuTree::Clear()
{
    RemoveChildren(*root_, false);
}

void MenuTree::RemoveChildren(MenuNode& node, bool reportDeletion)
{
    assert(reportDeletion || &node == root_.get());
    if (node.children_.empty())
        return;
    for (auto* observer : observers_)
        observer->BeforeRemove(node, 0, node.children_.size() - 1);
    // Without the report, all nodes but the root go: no pass to count them.
    std::size_t removed = count_ - 1;
    if (reportDeletion) {
        removed = 0;
        for (const auto& child : node.children_)
            removed += ReportDeletion(*child);
    }
    std::vector<std::unique_ptr<MenuNode>> owned = std::move(node.children_);
    node.children_.clear();
    count_ -= removed;
    for (auto* observer : observers_)
        observer->AfterRemove(node);
}

void MenuTree::Move(MenuNode& node, MenuNode& newParent, std::size_t row)
{
    assert(node.parent_ && "the root cannot be moved");
    assert(&newParent != &node && !newParent.HasAsAncestor(&node));
    MenuNode& oldParent = *node.parent_;
    const std::size_t oldRow = node.row_;
    if (row > newParent.children_.size())
        row = newParent.children_.size();
    if (&oldParent == &newParent && (row == oldRow || row == oldRow + 1))
        return; // already there
    for (auto* observer : observers_)
        observer->BeforeMove(node, newParent, row);
    std::unique_ptr<MenuNode> owned = std::move(oldParent.children_[oldRow]);
    oldParent.children_.erase(oldParent.children_.begin() + static_cast<std::ptrdiff_t>(oldRow));
    std::size_t insertRow = row;
    if (&oldParent == &newParent && row > oldRow)
        --insertRow;
    owned->parent_ = &newParent;
    newParent.children_.insert(newParent.children_.begin() + static_cast<std::ptrdiff_t>(insertRow), std::move(owned));
    if (&oldParent == &newParent) {
        RenumberFrom(newParent, std::min(oldRow, insertRow));
    } else {
        RenumberFrom(oldParent, oldRow);
        RenumberFrom(newParent, insertRow);
    }
    for (auto* observer : observers_)
        observer->AfterMove(node);
}

void MenuTree::PutChild(MenuNode& parent, std::size_t row, std::unique_ptr<MenuNode> child)
{
    // Most items that have children have several: starting with room for
    // four saves the first steps of the list's growth.
    if (parent.children_.capacity() == 0)
        parent.children_.reserve(4);
    if (row == parent.children_.size()) {
        child->row_ = row;
        parent.children_.push_back(std::move(child));
        return;
    }
    parent.children_.insert(parent.children_.begin() + static_cast<std::ptrdiff_t>(row), std::move(child));
    RenumberFrom(parent, row);
}

void MenuTree::RenumberFrom(MenuNode& parent, std::size_t first)
{
    for (std::size_t row = first; row < parent.children_.size(); ++row)
        parent.children_[row]->row_ = row;
}

void MenuTree::AddObserver(MenuTreeObserver* observer)
{
    observers_.push_back(observer);
}

void MenuTree::RemoveObserver(MenuTreeObserver* observer)
{
    std::erase(observers_, observer);
}

void MenuTree::SetDeletionHandler(std::function<void(MenuNode&)> handler)
{
    deletionHandler_ = std::move(handler);
}

} // namespace tw
