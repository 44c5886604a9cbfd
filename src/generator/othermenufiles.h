#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace tw {

// Two menus in one folder name their submenu files alike. Of the candidates
// (names in directory that look like this menu's old submenu files), removes
// those another menu still uses: a page of the folder that this generation
// did not write links to them, or a file kept so links to them.
void KeepOtherMenusFiles(const std::string& directory, std::vector<std::string>& candidates,
                         const std::unordered_set<std::string>& written);

} // namespace tw
