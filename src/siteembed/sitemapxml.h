#pragma once

// A sitemap.xml of the menu's pages, for search engines.

#include "siteembed/menusite.h"

#include <optional>
#include <string>

namespace tw {

class TqzHTML;

// Its name in the site's root.
inline constexpr const char* SitemapName = "sitemap.xml";

// The address under which the site's root is served, from what the user
// gave (UTF-8): an http or https address, escaped where an address needs
// it, ending in "/". Throws tw::Error when it is no such address.
std::string SitemapBase(const std::string& utf8Address);

// The sitemap (UTF-8) of the pages of the site that the items link to, in
// tree order, each once, under base (see SitemapBase). It carries a comment
// by which the program knows its own sitemaps.
std::string SitemapXml(const TqzHTML& document, const MenuSite& site, const std::string& base);

// The bytes of the site's sitemap.xml, nothing when there is none. Throws
// tw::Error when one is there that the program did not write.
std::optional<std::string> OwnSitemap(const MenuSite& site);

// Writes xml as sitemap.xml into the site's root folder, all or nothing and
// not through a symbolic link. True when written, false when the file held
// these bytes already. Throws tw::Error when a sitemap.xml is there that the
// program did not write (it is never replaced) or when writing fails.
bool WriteSitemap(const MenuSite& site, const std::string& xml);

} // namespace tw
