#include "siteembed/sitelinks.h"

#include "document/cstring.h"
#include "generator/linktext.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "platform/fileerrors.h"
#include "platform/paths.h"
#include "siteimport/pagenames.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

namespace tw {
namespace {

namespace fs = std::filesystem;

// The names a web server tries for a folder, in its order.
constexpr std::array<std::string_view, 5> IndexNames = {"index.html", "index.htm", "index.shtml", "index.php",
                                                        "index.xhtml"};

bool IsExternal(std::string_view link)
{
    if (link.empty() || link.front() == '#' || link.starts_with("//") || link.starts_with("\\\\"))
        return true;
    // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(link[0])))
        return false;
    const std::size_t end = link.find_first_of("/?#");
    if (end != std::string_view::npos && end < colon)
        return false;
    return std::all_of(link.begin(), link.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

// Escapes decoded. A run of escapes that is UTF-8 stands for its characters
// in Windows-1252; any other run keeps its bytes (the document's code page).
std::string PercentDecoded(std::string_view path)
{
    std::string out;
    for (std::size_t at = 0; at < path.size();) {
        std::string run;
        while (at + 2 < path.size() && path[at] == '%' && HexDigitValue(path[at + 1]) >= 0 &&
               HexDigitValue(path[at + 2]) >= 0) {
            run += static_cast<char>(HexDigitValue(path[at + 1]) * 16 + HexDigitValue(path[at + 2]));
            at += 3;
        }
        if (!run.empty()) {
            out += IsValidUtf8(run) ? Utf8ToCp1252(run) : run;
            continue;
        }
        out += path[at++];
    }
    return out;
}

} // namespace

std::string SiteFolderOf(const std::string& sitePath)
{
    const std::size_t slash = sitePath.rfind('/');
    return slash == std::string::npos ? std::string() : sitePath.substr(0, slash + 1);
}

std::optional<std::string> SitePathOfLink(const std::string& link, const std::string& fromFolder)
{
    if (IsExternal(link))
        return std::nullopt;
    std::string path = link.substr(0, link.find_first_of("?#"));
    if (path.empty())
        return std::nullopt;
    std::replace(path.begin(), path.end(), '\\', '/');
    path = PercentDecoded(path);
    std::string start = path.front() == '/' ? std::string() : fromFolder;
    if (!start.empty() && start.back() != '/')
        start += '/';
    std::vector<std::string> names;
    bool folder = false;
    const std::string whole = start + path;
    for (std::size_t at = 0; at <= whole.size();) {
        std::size_t end = whole.find('/', at);
        if (end == std::string::npos)
            end = whole.size();
        const std::string name = whole.substr(at, end - at);
        folder = end < whole.size() || name.empty() || name == "." || name == "..";
        if (name == "..") {
            if (names.empty())
                return std::nullopt;
            names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        at = end + 1;
    }
    std::string result;
    for (const std::string& name : names)
        result += name + '/';
    if (!folder && !result.empty())
        result.pop_back();
    return result;
}

std::string LinkFromPage(const std::string& pageSitePath, const std::string& targetSitePath, bool fromRoot)
{
    std::string relative;
    if (fromRoot) {
        relative = "/" + targetSitePath;
    } else {
        // Up from the page's folder to the folder both share, then down.
        const std::string pageFolder = SiteFolderOf(pageSitePath);
        std::size_t common = 0;
        for (std::size_t at = 0; at < pageFolder.size() && at < targetSitePath.size(); ++at) {
            if (pageFolder[at] != targetSitePath[at])
                break;
            if (pageFolder[at] == '/')
                common = at + 1;
        }
        for (std::size_t at = common; at < pageFolder.size(); ++at) {
            if (pageFolder[at] == '/')
                relative += "../";
        }
        relative += targetSitePath.substr(common);
        if (relative.empty())
            relative = "./";
    }
    std::string address = AddressOfPath(Cp1252ToUtf8(relative));
    // "&" would start a character reference inside the attribute.
    std::string safe;
    for (const char c : address)
        safe += c == '&' ? std::string("%26") : std::string(1, c);
    return safe;
}

std::optional<std::string> ResolvePage(const SiteFiles& site, const std::string& sitePath)
{
    if (!sitePath.empty() && sitePath.back() != '/') {
        if (site.files.contains(sitePath))
            return sitePath;
        if (!site.folders.contains(sitePath + "/"))
            return std::nullopt;
    }
    std::string folder = sitePath;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    for (const std::string_view name : IndexNames) {
        std::string page = folder + std::string(name);
        if (site.files.contains(page))
            return page;
    }
    return std::nullopt;
}

SiteFiles ListSiteFiles(const std::string& cp1252SiteFolder)
{
    SiteFiles site;
    site.root = cp1252SiteFolder;
    std::error_code ec;
    fs::recursive_directory_iterator entry(ToFsPath(cp1252SiteFolder), fs::directory_options::none, ec);
    for (; !ec && entry != fs::recursive_directory_iterator(); entry.increment(ec)) {
        const fs::path name = entry->path().filename();
        const std::string cp1252Name = FromFsPath(name);
        std::error_code statusError;
        const fs::file_status status = entry->symlink_status(statusError);
        if (cp1252Name.starts_with('.') || ToFsPath(cp1252Name) != name) {
            if (fs::is_directory(status))
                entry.disable_recursion_pending();
            continue;
        }
        std::string sitePath = FromFsPath(entry->path().lexically_relative(ToFsPath(cp1252SiteFolder)));
        std::replace(sitePath.begin(), sitePath.end(), '\\', '/');
        if (fs::is_directory(status)) {
            site.folders.insert(sitePath + "/");
        } else if (fs::is_regular_file(status)) {
            if (HasPageExtension(cp1252Name))
                site.pages.push_back(sitePath);
            site.files.insert(std::move(sitePath));
        }
    }
    if (ec)
        ThrowFileError("Der Ordner %s kann nicht gelesen werden.", cp1252SiteFolder, FileErrorReason(ec.value()));
    std::sort(site.pages.begin(), site.pages.end());
    return site;
}

} // namespace tw
