#include "cli/checksite.h"

#include "cli/verbs.h"
#include "document/qzhtml.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "siteembed/sitecheck.h"
#include "siteembed/sitemapxml.h"

namespace tw::cli {
namespace {

void WriteLine(std::ostream& out, const std::string& cp1252)
{
    out << EscapeControlCharacters(Cp1252ToUtf8(cp1252)) << '\n';
}

} // namespace

bool WriteSitemapOf(const TqzHTML& document, const MenuSite& site, const std::string& base, std::ostream& out,
                    MessageLines& lines)
{
    try {
        const bool written = WriteSitemap(site, SitemapXml(document, site, base));
        WriteLine(out, written ? "sitemap.xml geschrieben." : "sitemap.xml unver\xE4ndert.");
        return true;
    } catch (const Error& error) {
        lines.ShowMessage(error.what());
        return false;
    }
}

int CheckSite(const Invocation& invocation, const TqzHTML& document, std::ostream& out, MessageLines& lines)
{
    const std::string& fileName = document.GetFileSetting(fsFilename);
    const std::string mainFile = fileName.empty() ? fileName : ResolveFromProjectFolder(invocation.project, fileName);
    if (!invocation.site && mainFile.empty()) {
        lines.ShowMessage("Das Projekt nennt keine Hauptdatei: bitte den Ordner der Website angeben.");
        return ExitUsage;
    }
    const MenuSite site = ReadMenuSite(invocation.site.value_or(ExtractFilePath(mainFile)), mainFile);
    const std::vector<SiteFault> faults = CheckSite(document, site);
    for (const SiteFault& fault : faults)
        WriteLine(out, SiteFaultText(fault));
    WriteLine(out, faults.empty() ? "Keine Fehler gefunden." : "Fehler gefunden: " + std::to_string(faults.size()));
    const bool sitemapWritten = !invocation.sitemap || WriteSitemapOf(document, site, *invocation.sitemap, out, lines);
    out << std::flush;
    return faults.empty() && sitemapWritten ? ExitSuccess : ExitFailure;
}

} // namespace tw::cli
