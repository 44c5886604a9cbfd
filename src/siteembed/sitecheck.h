#pragma once

// Checks a menu against its site: every internal link leads to a file of the
// site with exactly its letter case, every page of the site is in the menu,
// every item has a page.

#include "siteembed/menusite.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

class TqzHTML;

enum class SiteFaultKind {
    // The link leads to no file of the site.
    MissingFile,
    // The file is there with another letter case, which a web server on
    // most hosts does not find.
    LetterCase,
    // The link names a folder that has no index page.
    FolderWithoutIndex,
    // A page of the site that no item links to.
    UnlinkedPage,
    // An item without a link to a page.
    ItemWithoutPage,
};

struct SiteFault {
    SiteFaultKind kind;
    // The item's place in the tree in pre-order (1 for the first item),
    // 0 for a page; with caption, the window finds and names the item.
    std::size_t item = 0;
    std::string caption;
    // The item's link as written; for a page that no item links to, its
    // site path.
    std::string link;
    // LetterCase: the site path of the file as it is spelt in the site.
    std::string found;
};

// The faults of the document's menu in its site: the items' faults in tree
// order, then the pages no item links to, sorted. The program's own files
// (the main file, submenu files, other generated menus) are no pages.
std::vector<SiteFault> CheckSite(const TqzHTML& document, const MenuSite& site);

// A fault as one German line, Windows-1252.
std::string SiteFaultText(const SiteFault& fault);

} // namespace tw
