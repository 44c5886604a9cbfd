#pragma once

// A project's menu read against the site its items lead to: what the site
// check and the sitemap share.

#include "siteembed/sitelinks.h"

#include <optional>
#include <string>

namespace tw {

struct MenuSite {
    SiteFiles files;
    // The site folder the items' links are taken from: the main file's
    // folder, as the generated menu takes them; the root when the main file
    // lies outside the site.
    std::string linkFolder;
    // The main file's site path; empty when it lies outside the site.
    std::string mainFile;
};

// Lists the site folder (see ListSiteFiles) for the menu whose main file is
// cp1252MainFile (empty when the project names none). Throws tw::Error when the folder cannot be read.
MenuSite ReadMenuSite(const std::string& cp1252SiteFolder, const std::string& cp1252MainFile);

// The site path an item's link leads to, as written; nothing for an
// external address or one that leaves the site.
std::optional<std::string> SitePathOfItemLink(const MenuSite& site, const std::string& link);

} // namespace tw
