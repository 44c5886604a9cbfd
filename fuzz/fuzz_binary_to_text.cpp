// Loads any byte sequence as a binary project, saves what loaded in the text
// format and loads that again. The text format must either refuse the
// project or bring back the same one, as far as the format holds it: items
// of levels 1 and 2, settings as the profile functions keep them, variable
// values on one line, "&para;" read as the pilcrow.
#include "document/cstring.h"
#include "document/qzhtml.h"
#include "document/varlist.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/settingskeys.h"
#include "projectfiles/textformat.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string Items(const tw::TqzHTML& document, bool asStored)
{
    std::string dump;
    tw::ForEachItem(document.Tree().Root(), 2, [&](const tw::MenuNode& node, int level) {
        const tw::TMTItem& item = tw::ItemOf(node);
        for (const std::string* text : {&node.Caption(), &item.Link, &item.Target})
            dump += (asStored ? tw::UnescapePilcrow(*text) : *text) + '\x01';
        dump += std::to_string(level) + '\x02';
    });
    return dump;
}

std::string Settings(const tw::TqzHTML& document, bool asStored)
{
    std::string dump;
    for (const tw::SettingKey& setting : tw::LayoutSettingKeys) {
        std::string text = tw::StoredSettingText(document, setting);
        if (asStored) {
            tw::IniFile ini;
            ini.Write("Main", setting.key, text);
            text = ini.ReadString("Main", setting.key, setting.defaultText);
        }
        dump += text + '\x01';
    }
    return dump;
}

std::string Variables(const tw::TqzHTML& document, bool asStored)
{
    std::string dump;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        dump += (asStored ? tw::UnescapePilcrow(name) : name) + '\x01' +
                (asStored ? tw::UnescapePilcrow(tw::StoredForm(value)) : value) + '\x02';
    }
    return dump;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::filesystem::path work =
        std::filesystem::temp_directory_path() / ("tw_fuzz_b2t_" + std::to_string(::getpid()));
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!tw::IsBinaryProject(bytes))
        return 0;
    tw::TqzHTML original;
    int format = 0;
    try {
        if (!tw::LoadBinaryProject(original, bytes, format).Complete())
            return 0;
    } catch (const tw::ConvertError&) {
        return 0;
    }
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    const std::string menu = tw::FromFsPath(work / "p.twf");
    try {
        tw::SaveTextProject(original, menu);
    } catch (const tw::Error&) {
        // Refused: only a line break the format cannot hold may be the reason.
        if (!tw::FindLineBreakForTextFormat(original))
            std::abort();
        return 0;
    }
    if (tw::FindLineBreakForTextFormat(original))
        std::abort();
    tw::TqzHTML reloaded;
    tw::LoadTextProject(reloaded, menu, tw::ReadFileBytes(menu));
    if (Items(reloaded, false) != Items(original, true) || Settings(reloaded, false) != Settings(original, true) ||
        Variables(reloaded, false) != Variables(original, true))
        std::abort();
    return 0;
}
