#include "platform/datadirs.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace tw {
namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::filesystem::path UserDataDirectory()
{
    const std::filesystem::path dataHome = Environment("XDG_DATA_HOME");
    if (dataHome.is_absolute())
        return dataHome;
    const std::filesystem::path home = Environment("HOME");
    if (!home.is_absolute())
        return {};
    return home / ".local" / "share";
}

std::vector<std::filesystem::path> SystemDataDirectories()
{
    std::vector<std::filesystem::path> directories;
    const std::string list = Environment("XDG_DATA_DIRS");
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::filesystem::path entry = std::string(rest.substr(0, colon));
        // Relative entries are invalid by the XDG rules and ignored.
        if (entry.is_absolute())
            directories.push_back(entry);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    if (directories.empty())
        directories = {"/usr/local/share", "/usr/share"};
    return directories;
}

} // namespace tw
