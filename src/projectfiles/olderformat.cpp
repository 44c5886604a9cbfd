#include "projectfiles/olderformat.h"

#include "document/cstring.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "projectfiles/itemplacement.h"
#include "projectfiles/settingsfile.h"
#include "projectfiles/settingskeys.h"

#include <array>

namespace tw {
namespace {

struct OlderSettingKey {
    const char* olderKey;
    const char* key; // the key of the layout-settings table it feeds
};

// In file order; "panel4" and "panel5" feed the visited and the active link
// colour, the other way round than the key table lists them.
constexpr std::array<OlderSettingKey, 14> OlderSettingKeys{{
    {"panel1", "TextColor"},
    {"panel2", "BackgroundColor"},
    {"panel3", "LinkColor"},
    {"panel4", "VLinkColor"},
    {"panel5", "ALinkColor"},
    {"panel6", "HoverColor"},
    {"panel7", "FirstLetterColor"},
    {"titlename", "Title"},
    {"cbfont", "Font"},
    {"fontsize", "FontSize"},
    {"cbfont2", "SubmenuFont"},
    {"leftmar", "SubmenuLeftMargin"},
    {"picfile", "BackgroundImage"},
    {"filename", "Filename"},
}};

} // namespace

void LoadOlderItems(TqzHTML& document, const std::string& menuPath, const std::vector<std::string>& menuLines)
{
    const std::string itemPath = ChangeFileExt(menuPath, ".tmf");
    // Without a header and without an item file beside it, the file is no
    // project at all: the user never had the item file to be told about.
    if (!FileExists(itemPath))
        throw Error("Die Datei ist keine Treeweaver-Projektdatei.");
    const std::vector<std::string> itemLines = SplitLines(ReadFileBytes(itemPath));
    TwoLevelPlacer placer(document);
    for (std::size_t i = 0; i < menuLines.size(); ++i) {
        if (i >= itemLines.size()) {
            throw Error(FormatMessage("Die Datei %s hat weniger Zeilen als die Men\xFC"
                                      "datei.",
                                      ExtractFileName(itemPath)));
        }
        const std::string& fields = itemLines[i];
        placer.Add(menuLines[i].starts_with('\t'), NthField(fields, ';', 1), NthField(fields, ';', 2),
                   NthField(fields, ';', 3));
    }
}

void LoadOlderSettings(TqzHTML& document, const std::string& menuPath)
{
    const IniFile ini = IniFile::Load(ChangeFileExt(menuPath, ".tsf"));
    for (const OlderSettingKey& entry : OlderSettingKeys)
        ReadIniSetting(document, ini, entry.olderKey, *FindSettingKey(entry.key));
}

} // namespace tw
