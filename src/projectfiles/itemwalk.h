#pragma once

#include "document/menutree.h"

namespace tw {

// The node's record; a node without one reads as an empty record.
inline const TMTItem& ItemOf(const MenuNode& node)
{
    static const TMTItem EmptyItem;
    return node.Item() ? *node.Item() : EmptyItem;
}

// Calls visit(node, level) for every item below root in tree order, leaving
// out items deeper than maxLevel together with their sub-items.
template <typename Visit>
void ForEachItem(const MenuNode& root, int maxLevel, Visit visit)
{
    const MenuNode* node = root.NextPreOrder();
    while (node) {
        const int level = node->Level();
        if (level > maxLevel) {
            node = node->NextSkippingChildren();
            continue;
        }
        visit(*node, level);
        node = node->NextPreOrder();
    }
}

} // namespace tw
