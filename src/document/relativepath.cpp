#include "document/relativepath.h"

#include "document/cstring.h"
#include "platform/paths.h"

#include <vector>

namespace tw {
namespace {

std::size_t FindSeparator(const std::string& path, std::size_t from)
{
    return path.find_first_of("\\/", from);
}

// "C:" for a drive letter, "\\server\share" for a network path, else empty.
std::string DrivePart(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        const std::size_t serverEnd = FindSeparator(path, 2);
        if (serverEnd == std::string::npos)
            return path;
        return path.substr(0, FindSeparator(path, serverEnd + 1));
    }
    return {};
}

bool IsWindowsPath(const std::string& path)
{
    return !DrivePart(path).empty() || path.find('\\') != std::string::npos;
}

struct Location {
    std::string drive;
    bool rooted = false;
    std::vector<std::string> names;
};

Location LocationOf(const std::string& path)
{
    Location location;
    location.drive = DrivePart(path);
    const std::string directory = ExtractFilePath(path);
    const std::string rest = directory.size() > location.drive.size() ? directory.substr(location.drive.size()) : "";
    location.rooted = !rest.empty() && IsPathSeparator(rest.front());
    // Empty pieces (doubled separators, the end) are not names.
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = FindSeparator(rest, start);
        if (end == std::string::npos)
            end = rest.size();
        if (end > start)
            location.names.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return location;
}

} // namespace

std::string MakeRelativePath(const std::string& baseDir, const std::string& destination)
{
    if (baseDir.empty())
        return destination;
    const bool windows = IsWindowsPath(baseDir) || IsWindowsPath(destination);
    const auto sameName = [windows](const std::string& a, const std::string& b) {
        return windows ? SameTextAscii(a, b) : a == b;
    };
    const Location base = LocationOf(baseDir);
    const Location target = LocationOf(destination);
    if (!sameName(base.drive, target.drive) || base.rooted != target.rooted)
        return destination;

    std::size_t common = 0;
    while (common < base.names.size() && common < target.names.size() &&
           sameName(base.names[common], target.names[common]))
        ++common;

    const char separator = windows ? '\\' : '/';
    std::string result;
    for (std::size_t i = common; i < base.names.size(); ++i)
        result += std::string("..") + separator;
    for (std::size_t i = common; i < target.names.size(); ++i)
        result += target.names[i] + separator;
    return result + ExtractFileName(destination);
}

} // namespace tw
