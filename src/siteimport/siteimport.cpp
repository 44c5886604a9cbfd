#include "siteimport/siteimport.h"

#include "document/naturalorder.h"
#include "document/qzhtml.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "siteimport/importtext.h"
#include "siteimport/sources.h"

#include <algorithm>
#include <system_error>

namespace tw {
namespace {

namespace fs = std::filesystem;

// The pages or addresses a message names before it only counts the rest.
constexpr std::size_t NamedInMessage = 5;

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

// Tells what was left out or changed, naming the first few: one and many
// are the sentence for one and for several, the latter after the count.
void TellNamed(const std::vector<std::string>& names, const std::string& one, const std::string& many,
               MessageSink& reporter)
{
    if (names.empty())
        return;
    std::string text = names.size() == 1 ? "1 " + one : std::to_string(names.size()) + " " + many;
    for (std::size_t i = 0; i < names.size() && i < NamedInMessage; ++i)
        text += (i > 0 ? ", " : "") + ShortForMessage(names[i]);
    if (names.size() > NamedInMessage)
        text += " und " + std::to_string(names.size() - NamedInMessage) + " weitere";
    reporter.ShowMessage(text);
}

void TellUnreadable(const std::vector<std::string>& names, MessageSink& reporter)
{
    TellNamed(names,
              "Seite konnte nicht gelesen werden und wurde \xFC"
              "bergangen: ",
              "Seiten konnten nicht gelesen werden und wurden \xFC"
              "bergangen: ",
              reporter);
}

std::vector<std::string> ForMessage(const std::vector<std::string>& utf8)
{
    std::vector<std::string> names;
    names.reserve(utf8.size());
    for (const std::string& name : utf8)
        names.push_back(Utf8ToCp1252(name));
    return names;
}

void TellLeftOut(const SitemapItems& sitemap, MessageSink& reporter)
{
    const std::string skipped = " \xFC"
                                "bergangen: ";
    TellNamed(ForMessage(sitemap.notWeb), "Adresse ist keine Webadresse (http, https) und wurde" + skipped,
              "Adressen sind keine Webadressen (http, https) und wurden" + skipped, reporter);
    const std::string longer = "l\xE4nger als " + std::to_string(MaxAddressLength) + " Zeichen und ";
    TellNamed(ForMessage(sitemap.tooLong), "Adresse ist " + longer + "wurde" + skipped,
              "Adressen sind " + longer + "wurden" + skipped, reporter);
    const std::string deeper = "mehr als " + std::to_string(MaxFolderDepth) + " Ebenen und ";
    TellNamed(ForMessage(sitemap.tooDeep), "Adresse hat " + deeper + "wurde" + skipped,
              "Adressen haben " + deeper + "wurden" + skipped, reporter);
}

std::vector<ImportedItem> ReadFolderSource(const std::string& source, const std::string& outputFile,
                                           MessageSink& reporter)
{
    const fs::path folder = Absolute(source);
    const fs::path mainFile = outputFile.empty() ? fs::path() : Absolute(outputFile);
    FolderContents contents = ReadFolder(folder, outputFile.empty() ? folder : mainFile.parent_path(), mainFile);
    TellUnreadable(contents.unreadable, reporter);
    const std::string longer = "l\xE4nger als " + std::to_string(MaxImportedCaption) + " Zeichen und wurde";
    TellNamed(contents.shortenedTitles, "Seitentitel war " + longer + " gek\xFCrzt: ",
              "Seitentitel waren " + longer + "n gek\xFCrzt: ", reporter);
    if (contents.items.empty())
        reporter.ShowMessage(FormatMessage("Im Ordner %s wurden keine Seiten gefunden.", source));
    if (contents.tooDeep) {
        reporter.ShowMessage("Ordner, die tiefer als " + std::to_string(MaxFolderDepth) +
                             " Ebenen liegen, wurden nicht importiert.");
    }
    return std::move(contents.items);
}

std::vector<ImportedItem> ReadSitemapSource(const std::string& source, MessageSink& reporter)
{
    std::string xml;
    try {
        xml = ReadFileBytes(source);
    } catch (const Error& error) {
        reporter.ShowMessage(error.what());
        return {};
    }
    try {
        SitemapItems sitemap = ItemsFromAddresses(SitemapAddresses(xml));
        TellLeftOut(sitemap, reporter);
        return std::move(sitemap.items);
    } catch (const Error& error) {
        reporter.ShowMessage(
            WithReason(FormatMessage("Die Sitemap %s konnte nicht gelesen werden", source), error.what()));
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

ImportedSite ReadSite(const std::string& source, const std::string& outputFile, MessageSink& reporter)
{
    ImportedSite site;
    if (DirectoryExists(source)) {
        site.items = ReadFolderSource(source, outputFile, reporter);
    } else if (FileExists(source)) {
        site.items = ReadSitemapSource(source, reporter);
    } else {
        reporter.ShowMessage(FormatMessage("Der Ordner oder die Datei %s wurde nicht gefunden.", source));
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
