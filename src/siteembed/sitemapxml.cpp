#include "siteembed/sitemapxml.h"

#include "document/cstring.h"
#include "document/qzhtml.h"
#include "generator/linktext.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/outputfolder.h"
#include "siteembed/markupescape.h"
#include "siteimport/pagenames.h"

#include <set>

namespace tw {
namespace {

// Its own sitemaps are those that hold this.
constexpr std::string_view OwnMark = "<!-- treeweaver:sitemap";

std::string RootFolder(const MenuSite& site)
{
    const std::string& root = site.files.root;
    return root.empty() || root.back() == '/' ? root : root + "/";
}

} // namespace

std::string SitemapBase(const std::string& utf8Address)
{
    const std::string lower = AsciiLowerCase(utf8Address);
    const std::size_t hostStart = lower.starts_with("https://") ? 8 : lower.starts_with("http://") ? 7 : 0;
    if (hostStart == 0 || utf8Address.size() == hostStart || utf8Address.find_first_of("?#") != std::string::npos ||
        utf8Address[hostStart] == '/') {
        throw Error(FormatMessage("Die Adresse %s ist keine Webadresse der Form https://host/ oder "
                                  "http://host/ordner/.",
                                  Utf8ToCp1252(utf8Address)));
    }
    std::string base = LinkOfAddress(utf8Address);
    return base.back() == '/' ? base : base + "/";
}

std::string SitemapXml(const TqzHTML& document, const MenuSite& site, const std::string& base)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(OwnMark) +
                      " Geschrieben von Treeweaver aus dem Men\xC3\xBC; wird beim n\xC3\xA4"
                      "chsten Lauf ersetzt. -->\n"
                      "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    std::set<std::string> listed;
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        const std::optional<std::string> sitePath =
            node->Item() ? SitePathOfItemLink(site, node->Item()->Link) : std::nullopt;
        const std::optional<std::string> page = sitePath ? ResolvePage(site.files, *sitePath) : std::nullopt;
        if (!page || !HasPageExtension(*page) || !listed.insert(*page).second)
            continue;
        // The page's address as a page in the root would write it.
        xml += "  <url><loc>" + EscapedForMarkup(base + LinkFromPage("", *page, false)) + "</loc></url>\n";
    }
    return xml + "</urlset>\n";
}

std::optional<std::string> OwnSitemap(const MenuSite& site)
{
    const std::string folder = RootFolder(site);
    std::optional<std::string> existing = ReadFileInFolder(folder, SitemapName);
    if (existing && existing->find(OwnMark) == std::string::npos) {
        throw Error(FormatMessage("Die Datei %s hat Treeweaver nicht geschrieben; sie wird nicht \xFC"
                                  "berschrieben.",
                                  folder + SitemapName));
    }
    return existing;
}

bool WriteSitemap(const MenuSite& site, const std::string& xml)
{
    OwnSitemap(site);
    return OutputFolder(RootFolder(site)).WriteUnlessUnchanged(SitemapName, xml, "Fehler beim Erstellen der Datei %s");
}

} // namespace tw
