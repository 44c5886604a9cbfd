// Reads any bytes as a web page's title or as a sitemap. The first byte picks
// which. A title is one line without blanks at either end and no markup; a
// sitemap's tree gives every item a caption without markup, is at most as
// deep as a folder import, and an item without a link only stands for the
// items below it; a link ends no attribute and holds no blank.
#include "siteimport/pagetitle.h"
#include "siteimport/sources.h"

#include "platform/error.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// A title or caption is text: it may hold "<", ">" and quotes, but no "<" that would
// open a tag or a comment in the menu.
bool OpensMarkup(const std::string& caption)
{
    for (std::size_t at = caption.find('<'); at != std::string::npos; at = caption.find('<', at + 1)) {
        const char next = at + 1 < caption.size() ? caption[at + 1] : ' ';
        if (std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!' || next == '?')
            return true;
    }
    return false;
}

void CheckTitle(const std::string& title)
{
    if (!title.empty() && (title.front() == ' ' || title.back() == ' '))
        std::abort();
    for (char c : title) {
        if (static_cast<unsigned char>(c) < ' ')
            std::abort();
    }
    if (OpensMarkup(title))
        std::abort();
}

void CheckItems(const std::vector<tw::ImportedItem>& items, int depth)
{
    if (depth > tw::MaxFolderDepth)
        std::abort();
    for (const tw::ImportedItem& item : items) {
        if (item.caption.empty() || (item.link.empty() && item.children.empty()))
            std::abort();
        if (OpensMarkup(item.caption) || item.link.find_first_of("\"'<> \t\r\n") != std::string::npos)
            std::abort();
        CheckItems(item.children, depth + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1) {
        CheckTitle(tw::PageTitle(text));
        return 0;
    }
    try {
        CheckItems(tw::ItemsFromAddresses(tw::SitemapAddresses(text)).items, 0);
    } catch (const tw::Error&) {
        // Not a sitemap: told to the user, nothing to check.
    }
    return 0;
}
