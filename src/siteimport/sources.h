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
    // Pages whose titles were cut, likewise.
    std::vector<std::string> shortenedTitles;
    bool tooDeep = false;
};

// Folders are followed this deep at most.
inline constexpr int MaxFolderDepth = 32;

// Reads the pages and subfolders of folder; links are relative to linkBase.
// mainFile, the menu's main file, is no page. The paths are absolute.
FolderContents ReadFolder(const std::filesystem::path& folder, const std::filesystem::path& linkBase,
                          const std::filesystem::path& mainFile);

// The <loc> addresses of a sitemap's <url> entries (UTF-8), in file order.
// Throws tw::Error with a German reason when the text is no sitemap.
std::vector<std::string> SitemapAddresses(std::string_view xml);

// Sitemaps name addresses of at most this many characters.
inline constexpr std::size_t MaxAddressLength = 2048;

// What the addresses of a sitemap gave: the tree of their paths (not yet in
// menu order) and the addresses left out, UTF-8.
struct SitemapItems {
    std::vector<ImportedItem> items;
    // Addresses with another scheme than http and https.
    std::vector<std::string> notWeb;
    // Addresses longer than MaxAddressLength.
    std::vector<std::string> tooLong;
    // Addresses with more than MaxFolderDepth path segments.
    std::vector<std::string> tooDeep;
};
SitemapItems ItemsFromAddresses(const std::vector<std::string>& addresses);

} // namespace tw
