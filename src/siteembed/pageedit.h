#pragma once

#include "siteembed/blockrender.h"
#include "siteembed/sitemenu.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tw {

// Pages beyond this size are refused: no page of a site is that large, and
// every page is held in memory until all are written.
inline constexpr std::size_t MaxPageSize = std::size_t{16} << 20;

// Why the program does not touch a page of this content: UTF-16 or NUL
// bytes. Nothing for a page it can work on.
std::optional<std::string> EncodingRefusal(std::string_view bytes);

// The line break the page uses (that of its first line; CR LF, LF or CR),
// LF for a page of one line.
std::string LineBreakOf(std::string_view bytes);

// Which blocks inserted markers make room for besides the menu and the head.
struct InsertedBlocks {
    bool breadcrumb = false;
    bool prevNext = false;
};

// Puts an empty pair of menu markers (and those asked for in extra) behind
// the page's <body...> tag and an empty head pair before </head>. False when
// the page has no body tag.
bool InsertMarkers(std::string& bytes, InsertedBlocks extra = {});

// What becomes of one page.
struct PageEdit {
    enum class Outcome { Unchanged, Changed, NoMarkers, Refused };
    Outcome outcome = Outcome::Unchanged;
    std::string bytes;   // the new bytes when Changed
    std::string message; // why it was refused
    std::string warning; // worth telling, no refusal
    int markerLine = 0;  // Refused: the line of a fault of the markers
    bool editedByHand = false;
    std::size_t item = 0; // the page's item in the menu, 0 when none
};

struct PageEditRules {
    bool force = false;         // blocks edited by hand are overwritten
    bool insertMarkers = false; // a page without markers gets them
    InsertedBlocks inserted;
};

// Replaces the content of every block of the page and its end markers; no
// other byte changes. Blocks edited by hand since they were written (their
// checksum no longer fits; content in a pair without one) refuse the page.
PageEdit EditPage(const std::string& page, const std::string& bytes, const SiteMenu& menu, const SiteFiles& site,
                  BlockRenderer& renderer, const PageEditRules& rules);

} // namespace tw
