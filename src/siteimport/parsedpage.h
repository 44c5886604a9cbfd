#pragma once

// Pages as the folder import reads them: parsed once for their title and
// for what tells the program's own files.

#include "siteimport/xmldocument.h"

#include <cstddef>
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

} // namespace tw
