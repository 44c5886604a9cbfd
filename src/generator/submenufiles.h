#pragma once

#include "document/menutree.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace tw {

// The name of the file that holds the submenu of node: its link ID and the
// submenu extension.
inline std::string SubmenuFileName(const MenuNode& node, const std::string& extension)
{
    return node.Item()->LinkID + extension;
}

// True when name is one the generator gives a submenu file: "Child", one or
// more positive decimal numbers without leading zeros joined by single
// commas, and exactly the submenu extension (which may be empty).
bool IsSubmenuFileName(const std::string& name, const std::string& extension);

// The paths (directory + name) of the regular files in directory that are
// named like submenu files but are not among the names written by the
// generation, nor linked from another menu's pages, in the order of their positions (Child2,9 before Child2,10).
// Throws tw::Error when the directory cannot be read.
std::vector<std::string> StaleSubmenuFiles(const std::string& directory, const std::string& extension,
                                           const std::unordered_set<std::string>& written);

} // namespace tw
