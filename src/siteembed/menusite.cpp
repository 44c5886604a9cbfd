#include "siteembed/menusite.h"

#include "platform/paths.h"

#include <filesystem>
#include <system_error>

namespace tw {
namespace {

namespace fs = std::filesystem;

fs::path Normal(const std::string& cp1252Path)
{
    std::error_code ignored; // a path that does not exist stays as absolute() gives it
    return fs::weakly_canonical(fs::absolute(ToFsPath(cp1252Path)), ignored);
}

} // namespace

MenuSite ReadMenuSite(const std::string& cp1252SiteFolder, const std::string& cp1252MainFile)
{
    MenuSite site{ListSiteFiles(cp1252SiteFolder), {}, {}};
    if (cp1252MainFile.empty())
        return site;
    const fs::path main = Normal(cp1252MainFile).lexically_relative(Normal(cp1252SiteFolder));
    const std::string relative = FromFsPath(main.generic_string());
    if (!main.empty() && !relative.starts_with("..")) {
        site.mainFile = relative;
        site.linkFolder = SiteFolderOf(relative);
    }
    return site;
}

std::optional<std::string> SitePathOfItemLink(const MenuSite& site, const std::string& link)
{
    return SitePathOfLink(link, site.linkFolder);
}

} // namespace tw
