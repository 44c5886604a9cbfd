#include "generator/templatesdir.h"

#include "document/cstring.h"
#include "generator/generator.h"
#include "platform/datadirs.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/programdir.h"

#include <algorithm>
#include <optional>
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

// The named set in one folder of the search path. Projects made where letter
// case does not matter may name the set in another case than its directory
// has here.
std::optional<std::string> FindTemplateSet(const std::string& templates, const std::string& name)
{
    std::string exact = templates + name + NativeSeparator;
    if (DirectoryExists(exact))
        return exact;
    std::error_code error;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(ToFsPath(templates), error), end; !error && it != end;
         it.increment(error)) {
        const std::string candidate = FromFsPath(it->path().filename());
        if (SameTextAscii(candidate, name) && it->is_directory(error))
            matches.push_back(candidate);
    }
    if (matches.empty())
        return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return templates + matches.front() + NativeSeparator;
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

std::string NotPlainNameMessage(const std::string& what, const std::string& name, const std::string& where)
{
    return FormatMessage(what + " \"%s\"" + where +
                             " ist ung\xFCltig: Sie darf weder \\ noch / noch : noch \"..\" enthalten.",
                         ShortForMessage(name));
}

bool IsTemplateName(const std::string& name)
{
    return !name.empty() && name != "." && IsPlainName(name);
}

std::vector<std::string> TemplateSearchPath()
{
    if (!OverriddenDirectory().empty())
        return {OverriddenDirectory()};
    std::vector<std::filesystem::path> candidates;
    if (const auto user = UserDataDirectory(); !user.empty())
        candidates.push_back(user / "treeweaver" / "Templates");
    candidates.push_back(ResolveTemplatesDirectory(ProgramDirectory()));
    for (const auto& system : SystemDataDirectories())
        candidates.push_back(system / "treeweaver" / "Templates");

    std::vector<std::filesystem::path> found;
    std::vector<std::string> path;
    for (const auto& candidate : candidates) {
        std::error_code error;
        if (!std::filesystem::is_directory(candidate, error))
            continue;
        // An installed program's own folder is also a system data folder's.
        const auto isCandidate = [&](const auto& known) {
            return std::filesystem::equivalent(known, candidate, error);
        };
        if (std::none_of(found.begin(), found.end(), isCandidate)) {
            found.push_back(candidate);
            path.push_back(WithTrailingSeparator(FromFsPath(candidate)));
        }
    }
    return path;
}

std::string TemplateSetDirectory(const std::string& name)
{
    for (const std::string& templates : TemplateSearchPath()) {
        if (auto directory = FindTemplateSet(templates, name))
            return *directory;
    }
    return TemplatesDirectory() + name + NativeSeparator;
}

void SetTemplatesDirectory(const std::string& directory)
{
    OverriddenDirectory() = WithTrailingSeparator(directory);
}

} // namespace tw
