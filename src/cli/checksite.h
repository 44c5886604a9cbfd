#pragma once

#include "cli/arguments.h"
#include "cli/message_lines.h"
#include "siteembed/menusite.h"

#include <ostream>

namespace tw {
class TqzHTML;
}

namespace tw::cli {

// "checksite": checks the opened project's menu against its site and lists
// each fault on out, one German line each, then a summary; with --sitemap
// writes the site's sitemap.xml. Returns the exit status: 1 when a fault was
// found or the sitemap could not be written, 2 when no site folder is known.
int CheckSite(const Invocation& invocation, const TqzHTML& document, std::ostream& out, MessageLines& lines);

// Writes the site's sitemap.xml under base (see SitemapBase) and says so on
// out; false, told to lines, when it could not be written.
bool WriteSitemapOf(const TqzHTML& document, const MenuSite& site, const std::string& base, std::ostream& out,
                    MessageLines& lines);

} // namespace tw::cli
