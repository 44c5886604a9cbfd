#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tw {

// Addresses inside a site are "site paths": relative to the site's root
// folder, "/" between names, Windows-1252 like every document string, no
// query or fragment; a folder ends in "/", the root folder is "".

// The files of a site, found under its folder without following symbolic
// links and without hidden files and folders (names beginning with ".").
// Names that Windows-1252 cannot hold are left out: no item could name them.
struct SiteFiles {
    std::string root;               // the site folder, Windows-1252
    std::set<std::string> files;    // every regular file, as site paths
    std::set<std::string> folders;  // every folder, as site paths ending in "/"
    std::vector<std::string> pages; // the files with a page extension, sorted
};

// Lists the site folder; throws tw::Error when it cannot be read.
SiteFiles ListSiteFiles(const std::string& cp1252SiteFolder);

// The site path a link written in fromFolder (a site path, "" for the root)
// leads to; nothing for an external address (a scheme, "//host"), an empty
// link, a bare "#fragment" and a path leaving the site. Query and fragment
// are dropped, escapes decoded (UTF-8 escapes to Windows-1252), "\" taken as
// "/", "." and ".." resolved; a folder link keeps its trailing "/".
std::optional<std::string> SitePathOfLink(const std::string& link, const std::string& fromFolder);

// The address of target as written in the page at pageSitePath: relative
// ("../"), or from the site root ("/...") with fromRoot. Encoded as UTF-8
// escapes, safe inside a double-quoted attribute.
std::string LinkFromPage(const std::string& pageSitePath, const std::string& targetSitePath, bool fromRoot);

// The page file a site path names, with exactly its letter case; a folder
// means its index page.
std::optional<std::string> ResolvePage(const SiteFiles& site, const std::string& sitePath);

// The folder part of a site path, with its "/" ("" for the root).
std::string SiteFolderOf(const std::string& sitePath);

} // namespace tw
