#include "projectfiles/itemplacement.h"

#include "document/qzhtml.h"

namespace tw {

MenuNode& AppendItem(TqzHTML& document, MenuNode& parent, std::string caption, std::string link, std::string target)
{
    MenuNode& node = document.Tree().AddChild(parent, std::move(caption));
    document.CreateItemData(node);
    TMTItem& item = *node.Item();
    item.Link = std::move(link);
    item.Target = std::move(target);
    return node;
}

TwoLevelPlacer::TwoLevelPlacer(TqzHTML& document) : document_(document) {}

MenuNode& TwoLevelPlacer::Add(bool subItem, std::string caption, std::string link, std::string target)
{
    MenuNode& root = document_.Tree().Root();
    // A sub-item before any top-level item has no parent of its own; the
    // nearest valid one is the root.
    if (subItem && latestTopLevel_)
        return AppendItem(document_, *latestTopLevel_, std::move(caption), std::move(link), std::move(target));
    MenuNode& node = AppendItem(document_, root, std::move(caption), std::move(link), std::move(target));
    if (!subItem)
        latestTopLevel_ = &node;
    return node;
}

LevelPlacer::LevelPlacer(TqzHTML& document) : document_(document), path_{{&document.Tree().Root(), -1}} {}

MenuNode& LevelPlacer::Add(int level, std::string caption, std::string link, std::string target)
{
    // Levels that jump by more than one, or a first record below level 0,
    // have no parent at their stored level: such a record goes to the nearest
    // valid parent, the deepest item on the path with a lower level (the root
    // at the latest). Later records of the same stored level become its
    // siblings.
    while (path_.size() > 1 && path_.back().level >= level)
        path_.pop_back();
    MenuNode& node = AppendItem(document_, *path_.back().node, std::move(caption), std::move(link), std::move(target));
    path_.push_back({&node, level});
    return node;
}

} // namespace tw
