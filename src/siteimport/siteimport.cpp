#include "siteimport/siteimport.h"

#include "document/naturalorder.h"
#include "document/qzhtml.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "siteimport/sources.h"

#include <algorithm>
#include <system_error>

namespace tw {
namespace {

namespace fs = std::filesystem;

// The unreadable pages a message names before it only counts the rest.
constexpr std::size_t NamedUnreadable = 5;

void SortNaturally(std::vector<ImportedItem>& items)
{
    std::sort(items.begin(), items.end(), [](const ImportedItem& a, const ImportedItem& b) {
        if (a.leading != b.leading)
            return a.leading;
        return NaturalLess(a.sortName, b.sortName);
    });
    for (ImportedItem& item : items)
        SortNaturally(item.children);
}

fs::path Absolute(const std::string& cp1252Path)
{
    std::error_code ignored;
    return fs::weakly_canonical(fs::absolute(ToFsPath(cp1252Path)), ignored);
}

void TellUnreadable(const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::string text = names.size() == 1
                           ? "1 Seite konnte nicht gelesen werden und wurde \xFC"
                             "bergangen: "
                           : std::to_string(names.size()) + " Seiten konnten nicht gelesen werden und wurden \xFC"
                                                            "bergangen: ";
    for (std::size_t i = 0; i < names.size() && i < NamedUnreadable; ++i)
        text += (i > 0 ? ", " : "") + names[i];
    if (names.size() > NamedUnreadable)
        text += " und " + std::to_string(names.size() - NamedUnreadable) + " weitere";
    ShowMessage(text);
}

std::vector<ImportedItem> ReadFolderSource(const std::string& source, const std::string& outputFile)
{
    const fs::path folder = Absolute(source);
    const fs::path linkBase = outputFile.empty() ? folder : Absolute(outputFile).parent_path();
    FolderContents contents = ReadFolder(folder, linkBase);
    TellUnreadable(contents.unreadable);
    if (contents.items.empty())
        ShowMessage(FormatMessage("Im Ordner %s wurden keine Seiten gefunden.", source));
    if (contents.tooDeep) {
        ShowMessage("Ordner, die tiefer als " + std::to_string(MaxFolderDepth) +
                    " Ebenen liegen, wurden nicht importiert.");
    }
    return std::move(contents.items);
}

std::vector<ImportedItem> ReadSitemapSource(const std::string& source)
{
    std::string xml;
    try {
        xml = ReadFileBytes(source);
    } catch (const Error& error) {
        ShowMessage(error.what());
        return {};
    }
    try {
        return ItemsFromAddresses(SitemapAddresses(xml));
    } catch (const Error& error) {
        ShowMessage(WithReason(FormatMessage("Die Sitemap %s konnte nicht gelesen werden", source), error.what()));
        return {};
    }
}

std::size_t AddItems(TqzHTML& document, MenuNode& parent, const std::vector<ImportedItem>& items)
{
    std::size_t count = 0;
    for (const ImportedItem& imported : items) {
        MenuNode& node = document.AppendItem(parent, imported.caption, imported.link, {});
        count += 1 + AddItems(document, node, imported.children);
    }
    return count;
}

} // namespace

ImportedSite ReadSite(const std::string& source, const std::string& outputFile)
{
    ImportedSite site;
    if (DirectoryExists(source)) {
        site.items = ReadFolderSource(source, outputFile);
    } else if (FileExists(source)) {
        site.items = ReadSitemapSource(source);
    } else {
        ShowMessage(FormatMessage("Der Ordner oder die Datei %s wurde nicht gefunden.", source));
        return site;
    }
    SortNaturally(site.items);
    return site;
}

std::size_t AddImportedItems(TqzHTML& document, const ImportedSite& site)
{
    return AddItems(document, document.Tree().Root(), site.items);
}

} // namespace tw
