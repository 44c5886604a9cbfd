#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace tw {

class MenuNode;
class TqzHTML;

// A copy of what a generation reads of a document (tree, settings,
// variables), for a generation on another thread while the window edits
// the original. Its nodes and records come from the pools of the thread that
// made it and must go back there.
std::unique_ptr<TqzHTML> CopyForGeneration(const TqzHTML& document);

// Where a node stands in its tree, as the rows from the top down (empty for
// the root and for no node), and the node at such a place in another tree
// of the same shape.
std::vector<std::size_t> PlaceOf(const MenuNode* node);
MenuNode* NodeAt(TqzHTML& document, const std::vector<std::size_t>& place);

} // namespace tw
