#include "siteimport/sources.h"

#include "document/cstring.h"
#include "generator/linktext.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "siteimport/importtext.h"
#include "siteimport/pagenames.h"
#include "siteimport/xmldocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <unordered_map>

namespace tw {
namespace {

bool IsElement(const xmlNode* node, const char* localName)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST localName);
}

// The text of an element. Entity references are not followed: the file is
// untrusted, and an address has no use for them.
std::string TextOf(const xmlNode* element)
{
    std::string text;
    for (const xmlNode* child = element->children; child; child = child->next) {
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content)
            text += reinterpret_cast<const char*>(child->content);
    }
    return text;
}

// "ueber-uns.html" gives "ueber uns": slugs join words with "-" or "_".
std::string CaptionOfSegment(std::string_view segment)
{
    std::string text = WithoutPageExtension(DecodedEscapes(segment));
    std::replace(text.begin(), text.end(), '-', ' ');
    std::replace(text.begin(), text.end(), '_', ' ');
    text = CollapseWhitespace(text);
    return CaptionOfText(text.empty() ? DecodedEscapes(segment) : text);
}

// Menus link to web pages: "javascript:", "data:", "file:" and their like
// would run script or open local files from a click in the menu. An address
// without a scheme is a path on the same site.
bool IsWebAddress(const std::string& url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string::npos || url.find_first_of("/?#") < colon)
        return true;
    const std::string scheme = AsciiLowerCase(url.substr(0, colon));
    return scheme == "http" || scheme == "https";
}

struct Address {
    std::string host;
    std::vector<std::string> segments;
};

// Host and path segments of an address; "index.html" at the end stands for
// its folder, as a web server serves it.
Address Split(const std::string& url)
{
    Address address;
    std::size_t pos = 0;
    if (const std::size_t scheme = url.find("://"); scheme != std::string::npos) {
        pos = scheme + 3;
        const std::size_t end = std::min(url.find_first_of("/?#", pos), url.size());
        std::string authority = url.substr(pos, end - pos);
        authority.erase(0, authority.find('@') + 1);
        address.host = authority.substr(0, authority.find(':'));
        pos = end;
    }
    const std::size_t end = std::min(url.find_first_of("?#", pos), url.size());
    for (std::size_t start = pos; start < end;) {
        const std::size_t slash = std::min(url.find('/', start), end);
        if (slash > start)
            address.segments.push_back(url.substr(start, slash - start));
        start = slash + 1;
    }
    if (!address.segments.empty() && IsIndexPage(address.segments.back()))
        address.segments.pop_back();
    return address;
}

} // namespace

std::vector<std::string> SitemapAddresses(std::string_view xml)
{
    // No network, no DTD, no entity expansion: the file is untrusted.
    const XmlErrorsSilenced silenced;
    constexpr int Options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    const XmlDocument document(xmlReadMemory(xml.data(), XmlInputSize(xml), nullptr, nullptr, Options));
    if (!document)
        throw Error("Sie ist keine g\xFCltige XML-Datei");
    const xmlNode* root = xmlDocGetRootElement(document.get());
    if (root && IsElement(root, "sitemapindex"))
        throw Error("Sie ist ein Sitemap-Index; bitte eine der Sitemaps w\xE4hlen, die er nennt");
    if (!root || !IsElement(root, "urlset"))
        throw Error("Sie ist keine Sitemap (kein <urlset>)");
    std::vector<std::string> addresses;
    for (const xmlNode* url = root->children; url; url = url->next) {
        if (!IsElement(url, "url"))
            continue;
        for (const xmlNode* loc = url->children; loc; loc = loc->next) {
            if (!IsElement(loc, "loc"))
                continue;
            const std::string address = CollapseWhitespace(TextOf(loc));
            if (!address.empty())
                addresses.push_back(address);
            break;
        }
    }
    if (addresses.empty())
        throw Error("Sie nennt keine Adressen");
    return addresses;
}

SitemapItems ItemsFromAddresses(const std::vector<std::string>& addresses)
{
    SitemapItems result;
    std::vector<ImportedItem>& items = result.items;
    // Each item's place among its siblings and its own number, by its
    // parent's number and its segment: the keys grow with the addresses, not
    // with the square of their depth.
    struct Place {
        std::size_t position;
        std::size_t number;
    };
    std::unordered_map<std::string, Place> places;
    // The site's own address gives its start page, captioned with its host.
    ImportedItem start;
    start.leading = true;
    for (const std::string& url : addresses) {
        if (!IsWebAddress(url)) {
            result.notWeb.push_back(url);
            continue;
        }
        const Address address = Split(url);
        if (address.segments.size() > MaxFolderDepth) {
            result.tooDeep.push_back(url);
            continue;
        }
        if (url.size() > MaxAddressLength) {
            result.tooLong.push_back(url);
            continue;
        }
        const std::string link = LinkOfAddress(url);
        if (address.segments.empty()) {
            if (start.link.empty()) {
                start.link = link;
                start.caption = CaptionOfText(address.host.empty() ? url : address.host);
            }
            continue;
        }
        std::vector<ImportedItem>* level = &items;
        ImportedItem* item = nullptr;
        std::size_t parent = 0;
        for (const std::string& segment : address.segments) {
            const auto [place, added] =
                places.try_emplace(std::to_string(parent) + '/' + segment, Place{level->size(), places.size() + 1});
            if (added) {
                ImportedItem& child = level->emplace_back();
                child.sortName = segment;
                child.caption = CaptionOfSegment(segment);
            }
            item = &(*level)[place->second.position];
            parent = place->second.number;
            level = &item->children;
        }
        if (item->link.empty())
            item->link = link;
    }
    if (!start.link.empty())
        items.insert(items.begin(), std::move(start));
    return result;
}

} // namespace tw
