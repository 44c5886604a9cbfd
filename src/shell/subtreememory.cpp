#include "shell/subtreememory.h"

#include "document/menutree.h"
#include "shell/menutreemodel.h"

#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace tw {
namespace {

// Only items with items below them can be open: leaves are passed over.
template <typename Visit>
void ForBranches(const MenuNode& node, const Visit& visit)
{
    if (!node.HasChildren())
        return;
    visit(node);
    for (std::size_t row = 0; row < node.ChildCount(); ++row)
        ForBranches(*node.Child(row), visit);
}

} // namespace

SubtreeMemory::SubtreeMemory(QTreeView& view, MenuTreeModel& model) : QObject(&view), view_(view), model_(model)
{
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &SubtreeMemory::Remember);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &SubtreeMemory::Restore);
    // A new or loaded project brings other nodes.
    connect(&model, &QAbstractItemModel::modelReset, this, [this] { shown_.clear(); });
}

void SubtreeMemory::Remember(const QModelIndex& parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const MenuNode* node = MenuTreeModel::nodeOf(model_.index(row, 0, parent));
        if (node == nullptr)
            continue;
        Shown shown;
        shown.scroll = view_.verticalScrollBar()->value();
        ForBranches(*node, [&](const MenuNode& item) {
            if (view_.isExpanded(model_.indexOf(&item)))
                shown.expanded.push_back(&item);
        });
        std::sort(shown.expanded.begin(), shown.expanded.end());
        shown_.insert(node, std::move(shown));
    }
}

void SubtreeMemory::Restore(const QModelIndex& parent, int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const MenuNode* node = MenuTreeModel::nodeOf(model_.index(row, 0, parent));
        const auto found = shown_.constFind(node);
        if (node == nullptr || found == shown_.constEnd())
            continue;
        const Shown shown = *found;
        shown_.erase(found);
        // Only nodes that are still part of this subtree: an address may
        // have been taken by a later node.
        ForBranches(*node, [&](const MenuNode& item) {
            if (std::binary_search(shown.expanded.begin(), shown.expanded.end(), &item))
                view_.expand(model_.indexOf(&item));
        });
        // Once the view has laid out the rows that came back.
        QTimer::singleShot(0, &view_, [this, scroll = shown.scroll] { view_.verticalScrollBar()->setValue(scroll); });
    }
}

} // namespace tw
