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

// $variable when absolute, else ~/.local/<fallback>; empty when neither is known.
std::filesystem::path UserDirectory(const char* variable, const char* fallback)
{
    const std::filesystem::path own = Environment(variable);
    if (own.is_absolute())
        return own;
    const std::filesystem::path home = Environment("HOME");
    if (!home.is_absolute())
        return {};
    return home / ".local" / fallback;
}

} // namespace

std::filesystem::path UserDataDirectory()
{
    return UserDirectory("XDG_DATA_HOME", "share");
}

std::filesystem::path UserStateDirectory()
{
    return UserDirectory("XDG_STATE_HOME", "state");
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
