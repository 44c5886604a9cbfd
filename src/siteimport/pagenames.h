#pragma once

#include <string>
#include <string_view>

namespace tw {

// True for the names of pages a menu links to: .htm, .html, .xhtml, .shtml
// and .php, in any case.
bool HasPageExtension(std::string_view name);
// The name without a page extension; other names come back unchanged.
std::string WithoutPageExtension(std::string_view name);
// True for "index.html" and "index.htm" (any case): the page a web server
// shows for its folder.
bool IsIndexPage(std::string_view name);

// Every run of blanks and control characters becomes one blank; none is
// left at either end.
std::string CollapseWhitespace(std::string_view text);

} // namespace tw
