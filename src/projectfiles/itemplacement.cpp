#include "projectfiles/itemplacement.h"

#include "document/qzhtml.h"

namespace tw {

TwoLevelPlacer::TwoLevelPlacer(TqzHTML& document) : document_(document) {}

MenuNode& TwoLevelPlacer::Add(bool subItem, std::string_view caption, std::string_view link, std::string_view target)
{
    MenuNode& root = document_.Tree().Root();
    // A sub-item before any top-level item has no parent of its own; the
    // nearest valid one is the root.
    if (subItem && latestTopLevel_)
        return document_.AppendItem(*latestTopLevel_, caption, link, target);
    MenuNode& node = document_.AppendItem(root, caption, link, target);
    if (!subItem)
        latestTopLevel_ = &node;
    return node;
}

LevelPlacer::LevelPlacer(TqzHTML& document) : document_(document), path_{{&document.Tree().Root(), -1}} {}

MenuNode& LevelPlacer::Add(int level, std::string_view caption, std::string_view link, std::string_view target)
{
    // Levels that jump by more than one, or a first record below level 0,
    // have no parent at their stored level: such a record goes to the nearest
    // valid parent, the deepest item on the path with a lower level (the root
    // at the latest). Later records of the same stored level become its
    // siblings.
    while (path_.size() > 1 && path_.back().level >= level)
        path_.pop_back();
    MenuNode& node = document_.AppendItem(*path_.back().node, caption, link, target);
    path_.push_back({&node, level});
    return node;
}

} // namespace tw
