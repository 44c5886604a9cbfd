#pragma once

#include "document/menutree.h"
#include "siteembed/sitelinks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tw {

// The menu's items in tree order, each with the page of the site it names.
class SiteMenu {
public:
    struct Item {
        const MenuNode* node = nullptr;
        std::size_t parent = 0;              // index; 0 is the root
        int depth = -1;                      // 0 for the top level, -1 for the root
        std::size_t subtreeSize = 1;         // the item and everything below it
        std::optional<std::string> sitePath; // where its link leads inside the site
        std::optional<std::string> page;     // the page file that is
        std::string suffix;                  // the link's query and fragment
    };

    // linkFolder: the site path of the folder the items' links are taken
    // from (that of the main output file).
    SiteMenu(const MenuTree& tree, const SiteFiles& site, const std::string& linkFolder);

    // Index 0 is the root; the items follow in tree order.
    const std::vector<Item>& Items() const { return items_; }
    // The first item that names the page (0 when none) and how many do.
    std::size_t ItemOfPage(const std::string& page) const;
    std::size_t ItemsNaming(const std::string& page) const;
    // The items before and after one in tree order among the items with a
    // page (0 when none).
    std::size_t Previous(std::size_t index) const;
    std::size_t Next(std::size_t index) const;
    bool OnPathTo(std::size_t index, std::size_t target) const
    {
        return target >= index && target < index + items_[index].subtreeSize;
    }

private:
    std::vector<Item> items_;
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> pages_; // first item, count
    std::vector<std::size_t> paged_;                                             // indexes of the items with a page
    std::vector<std::size_t> pagedAt_; // each item's place among them, or npos
};

// The item a page shows as its place in the menu.
struct PageItem {
    std::size_t index = 0; // 0: none
    bool own = false;      // the page's own item, not that of a folder above it
};

// The marker's item attribute when given, else the first item naming the
// page, else the item of the nearest folder above whose index page has one.
// fault tells when the attribute names no item; warning when several items
// name the page.
PageItem FindPageItem(const SiteMenu& menu, const SiteFiles& site, const std::string& page,
                      const std::optional<std::string>& attribute, std::string& fault, std::string& warning);

} // namespace tw
