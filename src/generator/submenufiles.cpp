#include "generator/submenufiles.h"

#include "document/cstring.h"
#include "document/naturalorder.h"
#include "generator/othermenufiles.h"
#include "platform/files.h"

#include <algorithm>
#include <string_view>

namespace tw {
namespace {

constexpr std::string_view Prefix = "Child";

// Windows compares file names without regard to letter case, so there
// "child1.HTM" is the file the generator would write as "Child1.htm".
std::string ComparableName(std::string name)
{
#ifdef _WIN32
    return AsciiLowerCase(std::move(name));
#else
    return name;
#endif
}

// "3,2,1": numbers from 1 up, no leading zeros, one comma between two.
bool IsPositionList(std::string_view text)
{
    bool numberStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (numberStart) {
            if (!IsAsciiDigit(c) || c == '0')
                return false;
            numberStart = false;
        } else if (c == ',') {
            numberStart = true;
        } else if (!IsAsciiDigit(c)) {
            return false;
        }
    }
    return !numberStart;
}

} // namespace

bool IsSubmenuFileName(const std::string& name, const std::string& extension)
{
    const std::string comparable = ComparableName(name);
    const std::string prefix = ComparableName(std::string(Prefix));
    const std::string suffix = ComparableName(extension);
    if (comparable.size() <= prefix.size() + suffix.size() || !comparable.starts_with(prefix) ||
        !comparable.ends_with(suffix))
        return false;
    return IsPositionList(
        std::string_view(comparable).substr(prefix.size(), comparable.size() - prefix.size() - suffix.size()));
}

std::vector<std::string> StaleSubmenuFiles(const std::string& directory, const std::string& extension,
                                           const std::unordered_set<std::string>& written)
{
#ifdef _WIN32
    std::unordered_set<std::string> writtenNames;
    for (const std::string& name : written)
        writtenNames.insert(ComparableName(name));
#else
    const std::unordered_set<std::string>& writtenNames = written;
#endif
    std::vector<std::string> names = RegularFileNames(directory);
    std::erase_if(names, [&](const std::string& name) {
        return !IsSubmenuFileName(name, extension) || writtenNames.contains(ComparableName(name));
    });
    KeepOtherMenusFiles(directory, names, written);
    // Ordered by the positions alone, without the extension: Child2 before
    // Child2,9 before Child2,10.
    const auto positions = [&extension](const std::string& name) {
        return std::string_view(name).substr(Prefix.size(), name.size() - Prefix.size() - extension.size());
    };
    std::sort(names.begin(), names.end(), [&positions](const std::string& left, const std::string& right) {
        return NaturalLess(positions(left), positions(right));
    });
    for (std::string& name : names)
        name.insert(0, directory);
    return names;
}

} // namespace tw
