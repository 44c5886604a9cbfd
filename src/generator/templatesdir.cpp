#include "generator/templatesdir.h"

#include "document/cstring.h"
#include "generator/generator.h"
#include "platform/paths.h"
#include "platform/programdir.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace tw {
namespace {

#ifdef _WIN32
constexpr char NativeSeparator = '\\';
#else
constexpr char NativeSeparator = '/';
#endif

std::string& OverriddenDirectory()
{
    static std::string directory;
    return directory;
}

std::string WithTrailingSeparator(std::string directory)
{
    if (!directory.empty() && !IsPathSeparator(directory.back()))
        directory += NativeSeparator;
    return directory;
}

} // namespace

std::filesystem::path ResolveTemplatesDirectory(const std::filesystem::path& programDirectory)
{
    std::vector<std::filesystem::path> candidates{programDirectory / "Templates", programDirectory / "templates"};
    if (programDirectory.filename() == "bin")
        candidates.push_back(programDirectory.parent_path() / "share" / "treeweaver" / "Templates");
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (std::filesystem::is_directory(candidate, error))
            return candidate;
    }
    return candidates.front();
}

std::string TemplatesDirectory()
{
    if (!OverriddenDirectory().empty())
        return OverriddenDirectory();
    return WithTrailingSeparator(FromFsPath(ResolveTemplatesDirectory(ProgramDirectory())));
}

bool IsPlainName(const std::string& name)
{
    if (name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) { return IsPathSeparator(c) || c == ':'; });
}

bool IsTemplateName(const std::string& name)
{
    return !name.empty() && name != "." && IsPlainName(name);
}

std::string TemplateSetDirectory(const std::string& name)
{
    const std::string templates = TemplatesDirectory();
    std::string exact = templates + name + NativeSeparator;
    if (DirectoryExists(exact))
        return exact;
    // Projects made where letter case does not matter may name the set in
    // another case than its directory has here.
    std::error_code error;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(ToFsPath(templates), error), end; !error && it != end;
         it.increment(error)) {
        const std::string candidate = FromFsPath(it->path().filename());
        if (SameTextAscii(candidate, name) && it->is_directory(error))
            matches.push_back(candidate);
    }
    if (matches.empty())
        return exact;
    std::sort(matches.begin(), matches.end());
    return templates + matches.front() + NativeSeparator;
}

void SetTemplatesDirectory(const std::string& directory)
{
    OverriddenDirectory() = WithTrailingSeparator(directory);
}

} // namespace tw
