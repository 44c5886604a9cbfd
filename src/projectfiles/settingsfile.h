#pragma once

#include <string>

namespace tw {

class IniFile;
class TqzHTML;
struct SettingKey;

// The section that holds the layout settings in settings files.
inline const char* const SettingsSection = "Main";

// Sets one setting from the settings section: the stored value under iniKey,
// or the setting's default when the key is missing.
void ReadIniSetting(TqzHTML& document, const IniFile& ini, const std::string& iniKey, const SettingKey& setting);

// The settings file of the text format; a missing file gives the defaults.
void LoadSettingsFile(TqzHTML& document, const std::string& path);
// The new content of the settings file: every key of the table written into
// the existing file (or a new one), keeping its other sections and keys.
std::string UpdatedSettingsFileBytes(const TqzHTML& document, const std::string& path);

} // namespace tw
