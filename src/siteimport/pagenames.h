#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

// True for the names of pages a menu links to: .htm, .html, .xhtml, .shtml
// and .php, in any case.
bool HasPageExtension(std::string_view name);
// The name without a page extension; other names come back unchanged.
std::string WithoutPageExtension(std::string_view name);
// The pages a web server shows for their folder, in the order it tries them.
inline constexpr std::array<std::string_view, 5> IndexPageNames = {"index.html", "index.htm", "index.shtml",
                                                                   "index.php", "index.xhtml"};
// The place of name (any case) in IndexPageNames; nothing for other names.
std::optional<std::size_t> IndexPageRank(std::string_view name);
inline bool IsIndexPage(std::string_view name)
{
    return IndexPageRank(name).has_value();
}

// Every run of blanks and control characters becomes one blank; none is
// left at either end.
std::string CollapseWhitespace(std::string_view text);

} // namespace tw
