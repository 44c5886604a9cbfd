#pragma once

namespace tw {

class DocumentEditor;
class MenuTreePage;

// Puts "Ziel weitergeben" into the tree's context menu: the selected item's
// target goes to every item below it, or to every item of the menu, as one
// step (after an import every item's target is empty, and frames or an
// iframe need the same one for all).
void AddTargetSpreadCommands(MenuTreePage& page, DocumentEditor& editor);

} // namespace tw
