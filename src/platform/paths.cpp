#include "platform/paths.h"

#include "platform/codec.h"

#include <system_error>

namespace tw {

std::filesystem::path ToFsPath(const std::string& cp1252Path)
{
#ifdef _WIN32
    const std::u16string wide = Cp1252ToUtf16(cp1252Path);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    const std::string utf8 = Cp1252ToUtf8(cp1252Path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

std::string FromFsPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::wstring wide = path.wstring();
    return Utf16ToCp1252(std::u16string(wide.begin(), wide.end()));
#else
    const std::u8string utf8 = path.u8string();
    return Utf8ToCp1252(std::string(utf8.begin(), utf8.end()));
#endif
}

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

namespace {

// A drive is a letter and a colon at the very start ("C:").
bool HasDriveLetter(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return false;
    const char c = path[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Position just behind the last separator or the drive colon; 0 when none.
// A colon anywhere else is part of a name, as file systems other than
// Windows' allow it.
std::size_t NameStart(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1]))
            return i;
    }
    return HasDriveLetter(path) ? 2 : 0;
}

} // namespace

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFileExt(const std::string& path)
{
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return {};
    return path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension)
{
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string ResolveFromProjectFolder(const std::string& projectFile, const std::string& path)
{
    const bool absolute = !path.empty() && (IsPathSeparator(path.front()) || HasDriveLetter(path));
    if (path.empty() || absolute)
        return path;
    return ExtractFilePath(projectFile) + path;
}

bool FileExists(const std::string& cp1252Path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(ToFsPath(cp1252Path), ec);
}

bool DirectoryExists(const std::string& cp1252Path)
{
    std::error_code ec;
    return std::filesystem::is_directory(ToFsPath(cp1252Path), ec);
}

} // namespace tw
