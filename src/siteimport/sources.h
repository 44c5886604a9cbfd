#pragma once

// The two kinds of source an import reads, for siteimport.cpp.

#include "siteimport/siteimport.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// What a folder gave: its items (not yet in menu order) and what could not
// be read.
struct FolderContents {
    std::vector<ImportedItem> items;
    // Paths relative to the folder, "/"-separated, Windows-1252.
    std::vector<std::string> unreadable;
    bool tooDeep = false;
};

// Folders are followed this deep at most.
inline constexpr int MaxFolderDepth = 32;

// Reads the pages and subfolders of folder; links are relative to linkBase.
// Both paths are absolute.
FolderContents ReadFolder(const std::filesystem::path& folder, const std::filesystem::path& linkBase);

// The <loc> addresses of a sitemap's <url> entries, in file order. Throws
// tw::Error with a German reason when the text is no sitemap.
std::vector<std::string> SitemapAddresses(std::string_view xml);

// The tree that the paths of the addresses give (not yet in menu order).
std::vector<ImportedItem> ItemsFromAddresses(const std::vector<std::string>& addresses);

} // namespace tw
