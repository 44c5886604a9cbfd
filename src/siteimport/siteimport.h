#pragma once

#include "platform/messages.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

class TqzHTML;

// One menu item read from a site, with the items of its submenu. Texts are
// Windows-1252.
struct ImportedItem {
    std::string caption;
    std::string link;
    // What the natural order compares: the file or folder name.
    std::string sortName;
    // The start page of the site goes first.
    bool leading = false;
    std::vector<ImportedItem> children;
};

// The menu read from a site, in menu order.
struct ImportedSite {
    std::vector<ImportedItem> items;
};

// Reads the menu of an existing site. source is a folder of web pages or a
// local sitemap.xml. Links to a folder's pages are relative to the folder of
// outputFile or, when that is empty, to the source folder; a sitemap's links
// are its addresses. Pages that cannot be read are skipped and told in one
// message; every other problem is told to reporter too.
[[nodiscard]] ImportedSite ReadSite(const std::string& source, const std::string& outputFile, MessageSink& reporter);

// Adds the items below the document's root, after the items it holds, each
// with its record. Returns how many items were added, submenus included.
std::size_t AddImportedItems(TqzHTML& document, const ImportedSite& site);

} // namespace tw
