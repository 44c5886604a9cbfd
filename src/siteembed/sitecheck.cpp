#include "siteembed/sitecheck.h"

#include "document/qzhtml.h"
#include "generator/submenufiles.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "siteimport/ownfiles.h"
#include "siteimport/pagenames.h"

#include <map>
#include <optional>
#include <set>

namespace tw {
namespace {

// A Windows-1252 letter in lower case, for finding a file that is there in
// another letter case.
char FoldedByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<char>(byte + 0x20);
    if (byte == 0x8A || byte == 0x8C || byte == 0x8E) // Š Œ Ž
        return static_cast<char>(byte + 0x10);
    return byte == 0x9F ? '\xFF' : c; // Ÿ
}

std::string Folded(std::string text)
{
    for (char& c : text)
        c = FoldedByte(c);
    return text;
}

bool IsFolderPath(const std::string& sitePath)
{
    return sitePath.empty() || sitePath.back() == '/';
}

class SiteChecker {
public:
    explicit SiteChecker(const MenuSite& site) : site_(site)
    {
        for (const std::string& file : site.files.files)
            folded_.emplace(Folded(file), file);
        for (const std::string& folder : site.files.folders)
            folded_.emplace(Folded(folder), folder);
    }

    void CheckItem(std::size_t index, const MenuNode& node)
    {
        SiteFault fault{SiteFaultKind::ItemWithoutPage, index, node.Caption(), {}, {}};
        fault.link = node.Item() ? node.Item()->Link : std::string();
        if (fault.link.empty() || fault.link.starts_with('#')) {
            faults_.push_back(std::move(fault));
            return;
        }
        const std::optional<std::string> sitePath = SitePathOfItemLink(site_, fault.link);
        if (!sitePath)
            return; // an address outside the site
        if (const std::optional<std::string> page = ResolvePage(site_.files, *sitePath)) {
            linked_.insert(*page);
            return;
        }
        fault.kind = KindOfUnresolved(*sitePath, fault.found);
        faults_.push_back(std::move(fault));
    }

    std::vector<SiteFault> CheckPages()
    {
        for (const std::string& page : site_.files.pages) {
            if (!linked_.contains(page) && !IsProgramFile(page))
                faults_.push_back({SiteFaultKind::UnlinkedPage, 0, {}, page, {}});
        }
        return std::move(faults_);
    }

private:
    // Why a site path that resolves to no page does not; found is set to the
    // page it means in another letter case.
    SiteFaultKind KindOfUnresolved(const std::string& sitePath, std::string& found)
    {
        const std::string folder = IsFolderPath(sitePath) ? sitePath : sitePath + "/";
        if (sitePath.empty() || site_.files.folders.contains(folder))
            return SiteFaultKind::FolderWithoutIndex;
        auto spelt = folded_.find(Folded(sitePath));
        if (spelt == folded_.end())
            spelt = folded_.find(Folded(folder));
        if (spelt == folded_.end())
            return SiteFaultKind::MissingFile;
        const std::optional<std::string> page = ResolvePage(site_.files, spelt->second);
        if (!page)
            return SiteFaultKind::FolderWithoutIndex;
        // Told once, as the link's fault, and not again as a page without a link.
        linked_.insert(*page);
        found = *page;
        return SiteFaultKind::LetterCase;
    }

    bool IsProgramFile(const std::string& page) const
    {
        const std::string name = ExtractFileName(page);
        if (page == site_.mainFile || IsSubmenuFileName(name, ExtractFileExt(name)))
            return true;
        try {
            return IsProgramPage(ToFsPath(site_.files.root + "/" + page));
        } catch (const Error&) {
            // A page that cannot be read is still a page of the site.
            return false;
        }
    }

    const MenuSite& site_;
    // Every file and folder by its folded site path.
    std::map<std::string, std::string> folded_;
    std::set<std::string> linked_;
    std::vector<SiteFault> faults_;
};

std::string Quoted(const std::string& text)
{
    return "\"" + ShortForMessage(text) + "\"";
}

} // namespace

std::vector<SiteFault> CheckSite(const TqzHTML& document, const MenuSite& site)
{
    SiteChecker checker(site);
    std::size_t index = 1;
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder())
        checker.CheckItem(index++, *node);
    return checker.CheckPages();
}

std::string SiteFaultText(const SiteFault& fault)
{
    const std::string item = "Men\xFCpunkt " + Quoted(fault.caption);
    switch (fault.kind) {
    case SiteFaultKind::MissingFile:
        return item + ": Der Link " + Quoted(fault.link) + " f\xFChrt zu keiner Datei der Website.";
    case SiteFaultKind::LetterCase:
        return item + ": Der Link " + Quoted(fault.link) + " f\xFChrt nur in anderer Gro\xDF- und Kleinschreibung zu " +
               Quoted(fault.found) + ".";
    case SiteFaultKind::FolderWithoutIndex: {
        std::string names;
        for (std::string_view name : IndexPageNames)
            names += (names.empty() ? "" : ", ") + std::string(name);
        return item + ": Der Link " + Quoted(fault.link) + " nennt einen Ordner ohne Startseite (" + names + ").";
    }
    case SiteFaultKind::UnlinkedPage:
        return "Seite " + Quoted(fault.link) + ": Kein Men\xFCpunkt verweist auf sie.";
    case SiteFaultKind::ItemWithoutPage:
        break;
    }
    return item + " hat keinen Link zu einer Seite.";
}

} // namespace tw
