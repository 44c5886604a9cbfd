#include "document/menutree.h"

#include <algorithm>
#include <cassert>
#include <new>

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
        return children_.front();
    return NextSkippingChildren();
}

MenuNode* MenuNode::NextSkippingChildren() const
{
    for (const MenuNode* node = this; node->parent_; node = node->parent_) {
        const MenuNode* parent = node->parent_;
        if (node->row_ + 1 < parent->children_.size())
            return parent->children_[node->row_ + 1];
    }
    return nullptr;
}

MenuTree::MenuTree() : root_(NewNode(nullptr)) {}

MenuTree::~MenuTree()
{
    // Nodes leave quietly here: the owner is going away with the tree.
    observers_.clear();
    deletionHandler_ = nullptr;
    DestroySubtree(root_);
}

MenuNode* MenuTree::NodeAt(std::size_t absoluteIndex) const
{
    if (absoluteIndex >= count_)
        return nullptr;
    MenuNode* node = root_;
    for (std::size_t index = 0; index < absoluteIndex; ++index)
        node = node->NextPreOrder();
    return node;
}

std::size_t MenuTree::AbsoluteIndex(const MenuNode& node) const
{
    std::size_t index = 0;
    for (const MenuNode* n = root_; n && n != &node; n = n->NextPreOrder())
        ++index;
    return index;
}

MenuNode& MenuTree::AddChild(MenuNode& parent, std::string caption)
{
    return InsertChild(parent, parent.children_.size(), std::move(caption));
}

MenuNode& MenuTree::AddSibling(MenuNode& sibling, std::string caption)
{
    MenuNode& parent = sibling.parent_ ? *sibling.parent_ : *root_;
    return AddChild(parent, std::move(caption));
}

MenuNode& MenuTree::InsertChild(MenuNode& parent, std::size_t row, std::string caption)
{
    if (row > parent.children_.size())
        row = parent.children_.size();
    for (auto* observer : observers_)
        observer->BeforeInsert(parent, row);
    MenuNode* node = NewNode(&parent);
    node->caption_ = std::move(caption);
    MenuNode& added = *node;
    parent.children_.insert(parent.children_.begin() + static_cast<std::ptrdiff_t>(row), node);
    RenumberFrom(parent, row);
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
    // Children before their parent, iteratively so deep trees cannot
    // exhaust the stack.
    std::size_t reported = 0;
    std::vector<std::pair<MenuNode*, std::size_t>> stack{{&node, 0}};
    while (!stack.empty()) {
        auto& [current, next] = stack.back();
        if (next < current->children_.size()) {
            MenuNode* child = current->children_[next++];
            stack.emplace_back(child, 0);
            continue;
        }
        if (deletionHandler_)
            deletionHandler_(*current);
        ++reported;
        stack.pop_back();
    }
    return reported;
}

void MenuTree::Delete(MenuNode& node)
{
    assert(node.parent_ && "the root cannot be deleted");
    MenuNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    for (auto* observer : observers_)
        observer->BeforeRemove(parent, row, row);
    const std::size_t removed = ReportDeletion(node);
    MenuNode* owned = parent.children_[row];
    parent.children_.erase(parent.children_.begin() + static_cast<std::ptrdiff_t>(row));
    RenumberFrom(parent, row);
    count_ -= removed;
    for (auto* observer : observers_)
        observer->AfterRemove(parent);
    DestroySubtree(owned);
}

void MenuTree::DeleteChildren(MenuNode& node)
{
    if (node.children_.empty())
        return;
    for (auto* observer : observers_)
        observer->BeforeRemove(node, 0, node.children_.size() - 1);
    std::size_t removed = 0;
    for (MenuNode* child : node.children_)
        removed += ReportDeletion(*child);
    std::vector<MenuNode*> owned = std::move(node.children_);
    node.children_.clear();
    count_ -= removed;
    for (auto* observer : observers_)
        observer->AfterRemove(node);
    for (MenuNode* child : owned)
        DestroySubtree(child);
}

MenuNode* MenuTree::NewNode(MenuNode* parent)
{
    void* space;
    if (!freed_.empty()) {
        space = freed_.back();
        freed_.pop_back();
    } else {
        if (usedInLastBlock_ == NodesPerBlock) {
            blocks_.emplace_back(new NodeSpace[NodesPerBlock]);
            usedInLastBlock_ = 0;
        }
        space = &blocks_.back()[usedInLastBlock_++];
    }
    return new (space) MenuNode(parent);
}

void MenuTree::DestroySubtree(MenuNode* node)
{
    // Without recursion, so that deep trees cannot exhaust the stack.
    std::vector<MenuNode*> pending{node};
    while (!pending.empty()) {
        MenuNode* current = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), current->children_.begin(), current->children_.end());
        current->~MenuNode();
        freed_.push_back(current);
    }
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
    MenuNode* owned = oldParent.children_[oldRow];
    oldParent.children_.erase(oldParent.children_.begin() + static_cast<std::ptrdiff_t>(oldRow));
    std::size_t insertRow = row;
    if (&oldParent == &newParent && row > oldRow)
        --insertRow;
    owned->parent_ = &newParent;
    newParent.children_.insert(newParent.children_.begin() + static_cast<std::ptrdiff_t>(insertRow), owned);
    if (&oldParent == &newParent) {
        RenumberFrom(newParent, std::min(oldRow, insertRow));
    } else {
        RenumberFrom(oldParent, oldRow);
        RenumberFrom(newParent, insertRow);
    }
    for (auto* observer : observers_)
        observer->AfterMove(node);
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
