#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

class MenuNode;
class TqzHTML;

// Places the items of the formats that know two item levels: a top-level item
// goes to the root, a sub-item below the most recent top-level item.
class TwoLevelPlacer {
public:
    explicit TwoLevelPlacer(TqzHTML& document);
    MenuNode& Add(bool subItem, std::string_view caption, std::string_view link, std::string_view target);

private:
    TqzHTML& document_;
    MenuNode* latestTopLevel_ = nullptr;
};

// Places the items of a file that stores each item's level below the root
// (0 for a top-level item) in tree order. A record becomes the last child of
// the most recent item on the current path whose level is lower than its
// own; well-formed files (levels rising by at most one) get exactly their
// stored shape.
class LevelPlacer {
public:
    explicit LevelPlacer(TqzHTML& document);
    MenuNode& Add(int level, std::string_view caption, std::string_view link, std::string_view target);

private:
    struct PathEntry {
        MenuNode* node;
        int level;
    };
    TqzHTML& document_;
    std::vector<PathEntry> path_; // from the root down to the most recent item
};

} // namespace tw
