#include "siteimport/pagetitle.h"

#include "document/cstring.h"
#include "platform/codec.h"
#include "siteimport/importtext.h"
#include "siteimport/pagenames.h"
#include "siteimport/parsedpage.h"
#include "siteimport/xmldocument.h"

#include <libxml/HTMLparser.h>

#include <algorithm>

namespace tw {
namespace {

XmlDocument Parse(std::string_view html, const char* encoding)
{
    const XmlErrorsSilenced silenced;
    // Real pages are rarely valid HTML: recover quietly, and never fetch anything.
    constexpr int Options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    return XmlDocument(htmlReadMemory(html.data(), XmlInputSize(html), nullptr, encoding, Options));
}

bool StartsWithByteOrderMark(std::string_view html)
{
    return html.starts_with("\xEF\xBB\xBF") || html.starts_with("\xFE\xFF") || html.starts_with("\xFF\xFE");
}

// Browsers read pages declared as Latin-1 or ASCII as Windows-1252, and so
// do authors who write them: the quotes and dashes of 0x80 to 0x9F are meant.
// Pages in this code page are decoded by our own codec.
bool MeansWindows1252(const xmlChar* declared)
{
    if (declared == nullptr)
        return false;
    const std::string name = AsciiLowerCase(reinterpret_cast<const char*>(declared));
    return name == "iso-8859-1" || name == "iso8859-1" || name == "latin1" || name == "l1" || name == "us-ascii" ||
           name == "ascii" || name == "windows-1252" || name == "cp1252";
}

const xmlNode* ChildElement(const xmlNode* parent, const char* name)
{
    for (const xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, BAD_CAST name))
            return child;
    }
    return nullptr;
}

// Only the head's title names the page; an <svg> in the body has titles too.
std::string TitleText(const xmlDoc& page)
{
    const xmlNode* title = ChildElement(ChildElement(xmlDocGetRootElement(&page), "head"), "title");
    if (title == nullptr)
        return {};
    xmlChar* content = xmlNodeGetContent(title);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

} // namespace

XmlDocument ParsePage(std::string_view html)
{
    XmlDocument page = Parse(html, nullptr);
    const xmlChar* declared = page ? page->encoding : nullptr;
    if (MeansWindows1252(declared) || (declared == nullptr && !StartsWithByteOrderMark(html) && !IsUtf8Head(html))) {
        // Decoded here rather than by libxml2, which stops at the bytes the
        // code page leaves undefined (0x81 and four others); ours keeps them.
        page = Parse(Cp1252ToUtf8(std::string(html)), "UTF-8");
    }
    return page;
}

std::string PageTitle(const xmlDoc& page, bool* shortened)
{
    return CaptionOfText(CollapseWhitespace(TitleText(page)), shortened);
}

std::string PageTitle(std::string_view html, bool* shortened)
{
    const XmlDocument page = ParsePage(html);
    if (shortened)
        *shortened = false;
    return page ? PageTitle(*page, shortened) : std::string();
}

} // namespace tw
