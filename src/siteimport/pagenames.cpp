#include "siteimport/pagenames.h"

#include "document/cstring.h"

#include <array>

namespace tw {
namespace {

// .shtml and .php pages are what the links of such sites point to, even if
// their titles may be made only when the server sends them.
constexpr std::array<std::string_view, 5> PageExtensions = {".htm", ".html", ".xhtml", ".shtml", ".php"};

std::size_t PageExtensionLength(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return 0;
    const std::string extension = AsciiLowerCase(std::string(name.substr(dot)));
    for (std::string_view known : PageExtensions) {
        if (extension == known)
            return extension.size();
    }
    return 0;
}

} // namespace

bool HasPageExtension(std::string_view name)
{
    return PageExtensionLength(name) != 0;
}

std::string WithoutPageExtension(std::string_view name)
{
    return std::string(name.substr(0, name.size() - PageExtensionLength(name)));
}

std::optional<std::size_t> IndexPageRank(std::string_view name)
{
    const std::string lower = AsciiLowerCase(std::string(name));
    for (std::size_t rank = 0; rank < IndexPageNames.size(); ++rank) {
        if (lower == IndexPageNames[rank])
            return rank;
    }
    return std::nullopt;
}

std::string CollapseWhitespace(std::string_view text)
{
    std::string result;
    bool blank = false;
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ') {
            blank = !result.empty();
            continue;
        }
        if (blank)
            result += ' ';
        blank = false;
        result += c;
    }
    return result;
}

} // namespace tw
