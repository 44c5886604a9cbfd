#pragma once

#include <string>
#include <vector>

namespace tw {

class TqzHTML;

// The older text format, read only. The menu file (menuLines) gives one item
// per line, a sub-item when the line starts with TAB; the item file (".tmf")
// holds caption, link and target of line i in its line i, separated by ";".
// A missing item file or one with too few lines throws tw::Error; the items
// read before stay.
void LoadOlderItems(TqzHTML& document, const std::string& menuPath, const std::vector<std::string>& menuLines);

// The older settings file (".tsf"); a missing file gives the defaults.
void LoadOlderSettings(TqzHTML& document, const std::string& menuPath);

} // namespace tw
