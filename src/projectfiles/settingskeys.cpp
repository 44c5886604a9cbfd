#include "projectfiles/settingskeys.h"

#include "document/qzhtml.h"
#include "projectfiles/colortext.h"

#include <string_view>

namespace tw {

using Kind = SettingKey::Kind;

const std::array<SettingKey, 18> LayoutSettingKeys{{
    {"TextColor", Kind::Color, ciText, "clNone"},
    {"BackgroundColor", Kind::Color, ciBackground, "clNone"},
    {"LinkColor", Kind::Color, ciLink, "clNone"},
    {"ALinkColor", Kind::Color, ciALink, "clNone"},
    {"VLinkColor", Kind::Color, ciVLink, "clNone"},
    {"HoverColor", Kind::Color, ciHover, "clNone"},
    {"FirstLetterColor", Kind::Color, ciFirstLetter, "clNone"},
    {"Title", Kind::Text, siTitle, ""},
    {"Font", Kind::Text, siFont, ""},
    {"FontSize", Kind::Text, siFontSize, ""},
    {"SubmenuFont", Kind::Text, siSubmenuFont, ""},
    {"SubmenuFontSize", Kind::Text, siSubmenuFontSize, ""},
    {"SubmenuLeftMargin", Kind::Text, siSubmenuLeftMargin, ""},
    {"BackgroundImage", Kind::Text, siBackgroundImage, ""},
    {"hr", Kind::Text, siHr, "<hr>"},
    {"Template", Kind::File, fsTemplate, ""},
    {"Filename", Kind::File, fsFilename, ""},
    {"fileext", Kind::File, fsFileExt, ""},
}};

const SettingKey* FindSettingKey(const std::string& key)
{
    for (const SettingKey& setting : LayoutSettingKeys) {
        if (std::string_view(setting.key) == key)
            return &setting;
    }
    return nullptr;
}

std::string StoredSettingText(const TqzHTML& document, const SettingKey& setting)
{
    switch (setting.kind) {
    case Kind::Color:
        return ColorToStoredText(document.GetColor(setting.index));
    case Kind::Text:
        return document.GetString(setting.index);
    case Kind::File:
        return document.GetFileSetting(setting.index);
    }
    return {};
}

void ApplyStoredSetting(TqzHTML& document, const SettingKey& setting, const std::string& text)
{
    switch (setting.kind) {
    case Kind::Color:
        document.SetColor(setting.index, StoredTextToColor(text));
        break;
    case Kind::Text:
        document.SetString(setting.index, text);
        break;
    case Kind::File:
        document.SetFileSetting(setting.index, text);
        break;
    }
}

} // namespace tw
