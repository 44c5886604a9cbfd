#pragma once

// Pages as the folder import reads them: parsed once for their title and
// for what tells the program's own files.

#include "siteimport/xmldocument.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tw {

// The title is in the head of a page; reading no more than this of each
// keeps a huge page from costing its size in memory and time.
inline constexpr std::size_t PageHeadSize = 256 * 1024;

// The page parsed in the encoding PageTitle reads it in; null when nothing
// could be read.
XmlDocument ParsePage(std::string_view html);
// The title of a parsed page, as PageTitle gives it.
std::string PageTitle(const xmlDoc& page, bool* shortened = nullptr);

// html without the blocks the program writes into a site's own pages
// between its markers: a page that carries the menu is still a page.
std::string WithoutEmbeddedBlocks(std::string_view html);

// The head of the page file at path (PageHeadSize), without its embedded
// blocks, parsed; null when nothing could be read of it. Throws tw::Error
// when the file cannot be read.
XmlDocument ParsePageFile(const std::filesystem::path& path);

// True when page (read from path, without its embedded blocks) is a menu
// the generator wrote, or a frameset with a frame that shows one. A menu is
// recognised by what it holds: an element with an item's ID ("Child2,1") as
// its id, a link to a submenu file, or the navigation of a shipped set.
bool IsProgramFile(const std::filesystem::path& path, const xmlDoc& page);

} // namespace tw
