#include "siteimport/ownfiles.h"

#include "generator/submenufiles.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "siteimport/importtext.h"
#include "siteimport/parsedpage.h"

#include <array>
#include <optional>
#include <sstream>
#include <vector>

namespace tw {
namespace {

constexpr std::string_view BlockBegin = "<!-- treeweaver:";
constexpr std::string_view BlockEnd = "<!-- /treeweaver:";
constexpr std::string_view CommentEnd = "-->";

// The navigation classes of the shipped sets' menus.
constexpr std::array<std::string_view, 2> MenuClasses = {"tw-nav", "tw-einbinden"};

std::string Attribute(const xmlNode* element, const char* name)
{
    xmlChar* value = xmlGetProp(element, BAD_CAST name);
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

bool IsElement(const xmlNode* node, const char* name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name);
}

bool HasMenuClass(const xmlNode* element)
{
    std::istringstream classes(Attribute(element, "class"));
    for (std::string name; classes >> name;) {
        for (std::string_view menuClass : MenuClasses) {
            if (name == menuClass)
                return true;
        }
    }
    return false;
}

// The file name an address ends in, without query and fragment.
std::string FileNameOfAddress(const std::string& address)
{
    const std::string path = address.substr(0, address.find_first_of("?#"));
    return path.substr(path.find_last_of("/\\") + 1);
}

bool LeadsToSubmenuFile(const std::string& address)
{
    const std::string name = FileNameOfAddress(address);
    return !name.empty() && IsSubmenuFileName(name, ExtractFileExt(name));
}

bool IsGeneratedElement(const xmlNode* element)
{
    if (IsSubmenuFileName(Attribute(element, "id"), ""))
        return true;
    if (IsElement(element, "a") && LeadsToSubmenuFile(Attribute(element, "href")))
        return true;
    return IsElement(element, "nav") && HasMenuClass(element);
}

bool HoldsGeneratedElement(const xmlNode* node)
{
    for (; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && (IsGeneratedElement(node) || HoldsGeneratedElement(node->children)))
            return true;
    }
    return false;
}

void CollectFrames(const xmlNode* node, std::vector<std::string>& addresses)
{
    for (; node; node = node->next) {
        if (IsElement(node, "frame"))
            addresses.push_back(Attribute(node, "src"));
        else if (node->type == XML_ELEMENT_NODE)
            CollectFrames(node->children, addresses);
    }
}

bool IsGeneratedMenu(const xmlDoc& page)
{
    return HoldsGeneratedElement(page.children);
}

// The file a frame shows, when it lies beside or below the frameset.
std::optional<std::filesystem::path> FramedFile(const std::filesystem::path& frameset, const std::string& address)
{
    const std::string path = address.substr(0, address.find_first_of("?#"));
    const std::size_t colon = path.find(':');
    if (path.empty() || path.starts_with('/') || (colon != std::string::npos && colon < path.find('/')))
        return std::nullopt;
    const std::string utf8 = DecodedEscapes(path);
    return frameset.parent_path() / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool ShowsGeneratedMenu(const std::filesystem::path& frameset, const std::string& address)
{
    const std::optional<std::filesystem::path> file = FramedFile(frameset, address);
    if (!file)
        return false;
    if (LeadsToSubmenuFile(address))
        return true;
    XmlDocument framed;
    try {
        framed = ParsePageFile(*file);
    } catch (const Error&) {
        // A frame that shows nothing readable shows no menu either; the
        // file, if it is in the site, is told as unreadable there.
        return false;
    }
    return framed && IsGeneratedMenu(*framed);
}

} // namespace

std::string WithoutEmbeddedBlocks(std::string_view html)
{
    std::string text;
    std::size_t pos = 0;
    for (std::size_t begin = html.find(BlockBegin); begin != std::string_view::npos;
         begin = html.find(BlockBegin, pos)) {
        const std::size_t end = html.find(BlockEnd, begin);
        const std::size_t close = end == std::string_view::npos ? end : html.find(CommentEnd, end);
        if (close == std::string_view::npos)
            break;
        text += html.substr(pos, begin - pos);
        pos = close + CommentEnd.size();
    }
    text += html.substr(pos);
    return text;
}

bool IsProgramFile(const std::filesystem::path& path, const xmlDoc& page)
{
    if (IsGeneratedMenu(page))
        return true;
    std::vector<std::string> frames;
    CollectFrames(page.children, frames);
    for (const std::string& address : frames) {
        if (ShowsGeneratedMenu(path, address))
            return true;
    }
    return false;
}

XmlDocument ParsePageFile(const std::filesystem::path& path)
{
    return ParsePage(WithoutEmbeddedBlocks(ReadFileHead(path, PageHeadSize)));
}

bool IsProgramPage(const std::filesystem::path& path)
{
    const XmlDocument page = ParsePageFile(path);
    return page && IsProgramFile(path, *page);
}

} // namespace tw
