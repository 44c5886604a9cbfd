#include "projectfiles/settingsfile.h"

#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "projectfiles/settingskeys.h"

namespace tw {

void ReadIniSetting(TqzHTML& document, const IniFile& ini, const std::string& iniKey, const SettingKey& setting)
{
    ApplyStoredSetting(document, setting, ini.ReadString(SettingsSection, iniKey, setting.defaultText));
}

void LoadSettingsFile(TqzHTML& document, const std::string& path)
{
    const IniFile ini = IniFile::Load(path);
    for (const SettingKey& setting : LayoutSettingKeys)
        ReadIniSetting(document, ini, setting.key, setting);
}

std::string UpdatedSettingsFileBytes(const TqzHTML& document, const std::string& path)
{
    // An existing file that cannot be read must not be replaced by one that
    // holds our keys only: ReadFileBytes reports it instead.
    IniFile ini = FileExists(path) ? IniFile::FromBytes(ReadFileBytes(path)) : IniFile();
    for (const SettingKey& setting : LayoutSettingKeys)
        ini.Write(SettingsSection, setting.key, StoredSettingText(document, setting));
    return ini.ToBytes();
}

} // namespace tw
