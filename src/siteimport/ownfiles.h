#pragma once

// The program's own files among a site's pages: menu files the generator
// wrote (the main file and submenu files, under whatever name) and framesets
// that show them. Importing them would put the menu into itself.

#include "siteimport/xmldocument.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tw {

// html without the blocks the program writes into a site's own pages
// between its markers: a page that carries the menu is still a page.
std::string WithoutEmbeddedBlocks(std::string_view html);

// True when page (read from path, without its embedded blocks) is a menu
// the generator wrote, or a frameset with a frame that shows one. A menu is
// recognised by what it holds: an element with an item's ID ("Child2,1") as
// its id, a link to a submenu file, or the navigation of a shipped set.
bool IsProgramFile(const std::filesystem::path& path, const xmlDoc& page);

} // namespace tw
