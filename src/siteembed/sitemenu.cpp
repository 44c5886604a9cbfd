#include "siteembed/sitemenu.h"

#include "platform/codec.h"

namespace tw {
namespace {

std::string ParentFolder(const std::string& folder)
{
    return SiteFolderOf(folder.substr(0, folder.size() - 1));
}

} // namespace

SiteMenu::SiteMenu(const MenuTree& tree, const SiteFiles& site, const std::string& linkFolder)
{
    std::vector<std::size_t> open;
    for (const MenuNode* node = &tree.Root(); node; node = node->NextPreOrder()) {
        const std::size_t index = items_.size();
        while (!open.empty() && items_[open.back()].node != node->Parent()) {
            items_[open.back()].subtreeSize = index - open.back();
            open.pop_back();
        }
        Item item;
        item.node = node;
        if (!open.empty()) {
            item.parent = open.back();
            item.depth = items_[open.back()].depth + 1;
        }
        if (node->Item() && !node->IsRoot()) {
            const std::string& link = node->Item()->Link;
            item.sitePath = SitePathOfLink(link, linkFolder);
            if (item.sitePath) {
                const std::size_t suffix = link.find_first_of("?#");
                if (suffix != std::string::npos)
                    item.suffix = link.substr(suffix);
                item.page = ResolvePage(site, *item.sitePath);
            }
        }
        items_.push_back(std::move(item));
        open.push_back(index);
    }
    for (const std::size_t index : open)
        items_[index].subtreeSize = items_.size() - index;
    pagedAt_.assign(items_.size(), std::string::npos);
    for (std::size_t index = 1; index < items_.size(); ++index) {
        if (!items_[index].page)
            continue;
        auto [known, added] = pages_.try_emplace(*items_[index].page, index, 0);
        ++known->second.second;
        pagedAt_[index] = paged_.size();
        paged_.push_back(index);
    }
}

std::size_t SiteMenu::ItemOfPage(const std::string& page) const
{
    const auto known = pages_.find(page);
    return known == pages_.end() ? 0 : known->second.first;
}

std::size_t SiteMenu::ItemsNaming(const std::string& page) const
{
    const auto known = pages_.find(page);
    return known == pages_.end() ? 0 : known->second.second;
}

std::size_t SiteMenu::Previous(std::size_t index) const
{
    const std::size_t at = pagedAt_[index];
    return at == std::string::npos || at == 0 ? 0 : paged_[at - 1];
}

std::size_t SiteMenu::Next(std::size_t index) const
{
    const std::size_t at = pagedAt_[index];
    return at == std::string::npos || at + 1 >= paged_.size() ? 0 : paged_[at + 1];
}

PageItem FindPageItem(const SiteMenu& menu, const SiteFiles& site, const std::string& page,
                      const std::optional<std::string>& attribute, std::string& fault, std::string& warning)
{
    const auto& items = menu.Items();
    if (attribute) {
        // The page may be UTF-8; site paths are Windows-1252.
        const std::string value = IsValidUtf8(*attribute) ? Utf8ToCp1252(*attribute) : *attribute;
        const std::optional<std::string> sitePath = SitePathOfLink(value, "");
        const std::optional<std::string> named = sitePath ? ResolvePage(site, *sitePath) : std::nullopt;
        for (std::size_t index = 1; index < items.size(); ++index) {
            if (sitePath && (items[index].sitePath == sitePath || (named && items[index].page == named)))
                return {index, true};
        }
        fault = "Kein Men\xFCpunkt verweist auf item=\"" + value + "\"";
        return {};
    }
    if (const std::size_t own = menu.ItemOfPage(page)) {
        if (const std::size_t count = menu.ItemsNaming(page); count > 1)
            warning = std::to_string(count) + " Men\xFCpunkte verweisen auf die Seite, der erste (\x84" +
                      items[own].node->Caption() + "\x93) gilt.";
        return {own, true};
    }
    // A page the menu does not name shows the menu of its folder.
    for (std::string folder = SiteFolderOf(page);; folder = ParentFolder(folder)) {
        const std::optional<std::string> index = ResolvePage(site, folder);
        if (index && *index != page) {
            if (const std::size_t item = menu.ItemOfPage(*index))
                return {item, false};
        }
        if (folder.empty())
            return {};
    }
}

} // namespace tw
