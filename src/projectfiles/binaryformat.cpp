#include "projectfiles/binaryformat.h"

#include "document/cstring.h"
#include "document/qzhtml.h"
#include "platform/error.h"
#include "projectfiles/binaryblocks.h"
#include "projectfiles/itemplacement.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/projectfiles.h"
#include "projectfiles/settingskeys.h"
#include "projectfiles/variablesfiles.h"

#include <limits>
#include <vector>

namespace tw {
namespace {

constexpr std::string_view Magic = "\x03TWB";
constexpr uint8_t MajorVersion = 1;
// The level byte holds an item's level minus 1.
constexpr int MaxStoredLevel = 256;

void ReadTree(BlockReader& block, TqzHTML& document, bool allLevels)
{
    LevelPlacer levelPlacer(document);
    TwoLevelPlacer twoLevelPlacer(document);
    // A text that spans chunks is put together in its own buffer.
    std::string captionPieces, linkPieces, targetPieces;
    while (block.HasContent()) {
        const std::string_view caption = block.ReadText(captionPieces);
        const std::string_view link = block.ReadText(linkPieces);
        const std::string_view target = block.ReadText(targetPieces);
        block.SkipText(); // LinkID: renumbered by every generation
        const uint8_t level = block.ReadByte();
        if (allLevels)
            levelPlacer.Add(level, caption, link, target);
        else
            twoLevelPlacer.Add(level != 0, caption, link, target);
    }
}

// The value part of the first line "key=value" of the key (any letter case).
bool FindSettingValue(const std::vector<std::string>& lines, const std::string& key, std::string& value)
{
    for (const std::string& line : lines) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals == key.size() && SameTextAscii(line.substr(0, equals), key)) {
            value = line.substr(equals + 1);
            return true;
        }
    }
    return false;
}

void ReadSettings(BlockReader& block, TqzHTML& document)
{
    const std::vector<std::string> lines = SplitLines(block.ReadAll());
    for (const SettingKey& setting : LayoutSettingKeys) {
        std::string value;
        // Every value ends in "|", so that trailing blanks survive; a line
        // without a value part keeps the default.
        if (!FindSettingValue(lines, setting.key, value) || value.empty())
            value = setting.defaultText;
        else
            value.pop_back();
        ApplyStoredSetting(document, setting, value);
    }
}

void AppendItemRecord(const MenuNode& node, int level, bool allLevels, std::string& out)
{
    if (level > MaxStoredLevel)
        throw Error("Das Men\xFC hat mehr als 256 Ebenen und kann in diesem Format nicht gespeichert werden.");
    const TMTItem& item = ItemOf(node);
    const std::string& caption = node.Caption();
    AppendTextField(out, caption, "Men\xFCpunkt", caption);
    // V1.0 readers expect a link in every record.
    AppendTextField(out, !allLevels && item.Link.empty() ? std::string(" ") : item.Link, "Men\xFCpunkt", caption);
    AppendTextField(out, item.Target, "Men\xFCpunkt", caption);
    AppendTextField(out, item.LinkID, "Men\xFCpunkt", caption);
    out.push_back(static_cast<char>(level - 1));
}

void AppendTree(const TqzHTML& document, bool allLevels, std::string& out)
{
    const std::size_t chunk = BeginChunk(out);
    // V1.1 keeps every level the level byte can hold; deeper ones are refused.
    const int maxLevel = allLevels ? std::numeric_limits<int>::max() : 2;
    ForEachItem(document.Tree().Root(), maxLevel,
                [&](const MenuNode& node, int level) { AppendItemRecord(node, level, allLevels, out); });
    EndChunk(out, chunk);
}

void AppendSettings(const TqzHTML& document, std::string& out)
{
    const std::size_t chunk = BeginChunk(out);
    for (const SettingKey& setting : LayoutSettingKeys) {
        out += setting.key;
        out += '=';
        out += StoredSettingText(document, setting);
        out += "|\r\n";
    }
    EndChunk(out, chunk);
}

} // namespace

bool IsBinaryProject(std::string_view bytes)
{
    return bytes.substr(0, Magic.size()) == Magic;
}

LoadOutcome LoadBinaryProject(TqzHTML& document, std::string_view bytes, int& format)
{
    ByteReader file(bytes);
    file.Take(Magic.size());
    const uint8_t major = file.ReadByte();
    const uint8_t minor = file.ReadByte();
    if (major != MajorVersion || minor > 1) {
        return {"Das Format dieser TWB Version wird nicht unterst\xFCtzt"};
    }
    const bool v11 = minor == 1;
    format = v11 ? pfBinaryV11 : pfBinaryV10;

    BlockReader tree(file);
    ReadTree(tree, document, v11);
    BlockReader settings(file);
    ReadSettings(settings, document);
    BlockReader variables(file);
    LoadVariablesFromBinary(document.Variables(), variables);
    return {};
}

std::string BinaryProjectBytes(const TqzHTML& document, int format)
{
    const bool v11 = format == pfBinaryV11;
    std::string out(Magic);
    out.push_back(static_cast<char>(MajorVersion));
    out.push_back(v11 ? 1 : 0);
    AppendTree(document, v11, out);
    out.push_back(0);
    AppendSettings(document, out);
    out.push_back(0);
    const std::size_t chunk = BeginChunk(out);
    AppendVariablesBlockContent(document.Variables(), !v11, out);
    EndChunk(out, chunk);
    return out;
}

} // namespace tw
