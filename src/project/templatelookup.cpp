#include "project/templatelookup.h"

#include "document/cstring.h"
#include "generator/templatesdir.h"
#include "platform/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tw {

namespace {

// Names of the template sets, as the template list shows them; sorted, since
// the order of a directory listing differs between file systems.
std::vector<std::string> TemplateSetNames()
{
    std::vector<std::string> names;
    for (const std::string& folder : TemplateSearchPath()) {
        std::error_code error;
        std::filesystem::directory_iterator entries(ToFsPath(folder), error);
        for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
            std::string name = FromFsPath(entries->path().filename());
            std::error_code kindError;
            if (!name.empty() && name[0] != '.' && entries->is_directory(kindError)) {
                names.push_back(std::move(name));
            }
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace

std::string SelectTemplateName(const std::string& templateSetting)
{
    if (templateSetting.empty()) {
        return {};
    }
    const std::vector<std::string> names = TemplateSetNames();
    if (std::find(names.begin(), names.end(), templateSetting) != names.end()) {
        return templateSetting;
    }
    const auto match = std::find_if(names.begin(), names.end(),
                                    [&](const std::string& name) { return SameTextAscii(name, templateSetting); });
    return match == names.end() ? std::string() : *match;
}

} // namespace tw
