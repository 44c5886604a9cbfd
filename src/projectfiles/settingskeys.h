#pragma once

#include <array>
#include <string>

namespace tw {

class TqzHTML;

// The stored keys of the layout settings, shared by the settings file of the
// text format and the settings block of the binary format. Writers go through
// the table from top to bottom; readers take each key's stored value or its
// default.
struct SettingKey {
    enum class Kind { Color, Text, File };

    const char* key;
    Kind kind;
    int index; // 1-based index into the document's colours, texts or file settings
    const char* defaultText;
};

extern const std::array<SettingKey, 18> LayoutSettingKeys;

// The entry with this key (exact spelling); nullptr when there is none.
const SettingKey* FindSettingKey(const std::string& key);

// The setting's stored text: a colour in its text form, any other value as is.
std::string StoredSettingText(const TqzHTML& document, const SettingKey& setting);
// Sets the setting from its stored text; a colour text that does not convert
// throws ConvertError and leaves the setting unchanged.
void ApplyStoredSetting(TqzHTML& document, const SettingKey& setting, const std::string& text);

} // namespace tw
