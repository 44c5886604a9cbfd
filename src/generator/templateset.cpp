#include "generator/templateset.h"

#include "document/cstring.h"
#include "generator/generator.h"
#include "generator/templatesdir.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace tw {
namespace {

constexpr int32_t HighestLevel = 255;
const char* const SettingsFileName = "template.ini";
const char* const MissingTemplateMessage = "Die Men\xFC"
                                           "vorlage ist nicht vorhanden.";

IniFile LoadSettings(const std::string& templateDir)
{
    return IniFile::Load(templateDir + SettingsFileName);
}

// A negative value counts by its absolute value; anything above 255 as 255.
int32_t ClampMaxLevel(int32_t value)
{
    const int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    return static_cast<int32_t>(std::min<int64_t>(magnitude, HighestLevel));
}

TLevelArray ReadLevels(const IniFile& settings, const char* section, int32_t maxLevel)
{
    TLevelArray levels;
    for (int32_t n = 0; n <= maxLevel; ++n) {
        std::string name = Trim(settings.ReadString(section, "Level" + std::to_string(n), ""));
        if (!name.empty())
            levels.push_back({n, std::move(name)});
    }
    return levels;
}

// -1 chooses the entry with the highest number; any other value the first
// entry numbered at least that high, or the last one when there is none.
int32_t DefaultEntryIndex(const TLevelArray& levels, int32_t defaultLevel)
{
    const auto last = static_cast<int32_t>(levels.size()) - 1;
    if (defaultLevel == -1)
        return last;
    const auto found = std::find_if(levels.begin(), levels.end(),
                                    [defaultLevel](const TLevelItem& item) { return item.Level >= defaultLevel; });
    return found == levels.end() ? last : static_cast<int32_t>(found - levels.begin());
}

} // namespace

std::optional<TemplateSet> LoadTemplate(const TqzHTML& document, MessageSink& reporter,
                                        const TemplateSections& sections)
{
    const std::string name = document.GetFileSetting(fsTemplate);
    if (name.empty()) {
        reporter.ShowMessage("Sie haben keine Men\xFC"
                             "template ausgew\xE4"
                             "hlt.");
        return std::nullopt;
    }
    if (!IsTemplateName(name)) {
        reporter.ShowMessage(MissingTemplateMessage);
        return std::nullopt;
    }
    TemplateSet state;
    state.TemplateDir = TemplateSetDirectory(name);
    if (!DirectoryExists(state.TemplateDir)) {
        reporter.ShowMessage(MissingTemplateMessage);
        return std::nullopt;
    }
    IniFile settings;
    try {
        settings = LoadSettings(state.TemplateDir);
    } catch (const Error& error) {
        reporter.ShowMessage(error.what());
        return std::nullopt;
    }
    state.AllInOne = settings.ReadInteger(sections.main, "all_in_one", 0) != 0;
    state.MaxLevel = ClampMaxLevel(settings.ReadInteger(sections.main, "MaxLevel", HighestLevel));
    state.DefaultLevel = settings.ReadInteger(sections.main, "DefaultLevel", -1);
    state.CharacterReferences = settings.ReadInteger(sections.main, "CharacterReferences", 0) != 0;
    state.Levels = ReadLevels(settings, sections.levels, state.MaxLevel);
    if (state.Levels.empty()) {
        reporter.ShowMessage("Es wurden keine Levelvorlagen angegeben");
        return std::nullopt;
    }
    // A level name is the start of snippet file names in the template set.
    for (const TLevelItem& level : state.Levels) {
        if (!IsPlainName(level.Name)) {
            reporter.ShowMessage(NotPlainNameMessage("Die Levelvorlage", level.Name, " in template.ini"));
            return std::nullopt;
        }
    }
    state.DefaultLevel = DefaultEntryIndex(state.Levels, state.DefaultLevel);
    return state;
}

const TLevelItem& LevelFor(const TemplateSet& state, int depth)
{
    const auto own = std::find_if(state.Levels.begin(), state.Levels.end(),
                                  [depth](const TLevelItem& item) { return item.Level == depth; });
    return own != state.Levels.end() ? *own : state.Levels[static_cast<std::size_t>(state.DefaultLevel)];
}

void LoadTemplateVarList(TqzHTML& document, const std::string& templateName)
{
    std::string varList;
    if (IsTemplateName(templateName)) {
        const std::string templateDir = TemplateSetDirectory(templateName);
        // This is no place for messages; an unusable template.ini shows at
        // the next generation.
        try {
            if (DirectoryExists(templateDir))
                varList = LoadSettings(templateDir).ReadString("Main", "VarList", "");
        } catch (const Error&) {
        }
    }
    document.Variables().ApplyTemplateVarList(varList);
}

} // namespace tw
