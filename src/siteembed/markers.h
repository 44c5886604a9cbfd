#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// The blocks a page may hold, each between a pair of markers:
// <!-- treeweaver:menu --> ... <!-- /treeweaver:menu sum="..." -->
enum class BlockKind { Head, Menu, Breadcrumb, PrevNext };
inline constexpr std::array<BlockKind, 4> BlockKinds = {BlockKind::Head, BlockKind::Menu, BlockKind::Breadcrumb,
                                                        BlockKind::PrevNext};
const char* BlockKindName(BlockKind kind);

struct MarkedBlock {
    BlockKind kind = BlockKind::Menu;
    int line = 0;                    // of the begin marker
    std::size_t contentBegin = 0;    // just behind the begin marker
    std::size_t contentEnd = 0;      // where the end marker starts
    std::size_t endMarkerEnd = 0;    // just behind the end marker
    std::optional<std::string> item; // the begin marker's item="..."
    std::optional<std::string> sum;  // the end marker's sum="..."
};

// The blocks of a page in page order, or the first fault found
// ("Zeile 12: ..."), after which the page is not to be touched.
struct MarkerScan {
    std::vector<MarkedBlock> blocks;
    std::string fault;
    int faultLine = 0;
};

// Reads the markers strictly: one begin and one end per block, in order,
// not nested, not inside script, style, textarea or another comment. Inside
// a block only comments count: its content is the program's.
MarkerScan ScanMarkers(std::string_view page);

// The 1-based line of a place in the page; CR LF, LF and a lone CR end lines.
int LineAt(std::string_view page, std::size_t offset);

// The checksum an end marker carries for the content of its block.
std::string BlockChecksum(std::string_view content);
// The end marker of a block whose content has this checksum.
std::string EndMarker(BlockKind kind, const std::string& checksum);

// Marker text that a value brought into a block ("<!-- /treeweaver:menu -->"
// in a caption) made harmless, so that it cannot end the block early.
std::string WithoutMarkerText(std::string text);

} // namespace tw
