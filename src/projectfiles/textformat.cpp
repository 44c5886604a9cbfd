#include "projectfiles/textformat.h"

#include "document/cstring.h"
#include "document/qzhtml.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "projectfiles/itemplacement.h"
#include "projectfiles/itemwalk.h"
#include "projectfiles/olderformat.h"
#include "projectfiles/settingsfile.h"
#include "projectfiles/textsavenote.h"
#include "projectfiles/variablesfiles.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

namespace tw {
namespace {

constexpr int CurrentVersion = 2;
constexpr int NoHeader = -1;
const char* const SettingsExtension = ".tws";
const char* const VariablesExtension = ".twv";

bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

void ReadItems(TqzHTML& document, const std::vector<std::string>& lines)
{
    TwoLevelPlacer placer(document);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty())
            continue;
        placer.Add(NthField(line, Pilcrow, 4).starts_with('1'), UnescapePilcrow(NthField(line, Pilcrow, 1)),
                   UnescapePilcrow(NthField(line, Pilcrow, 2)), UnescapePilcrow(NthField(line, Pilcrow, 3)));
    }
}

void AppendItemLine(const MenuNode& node, int level, std::string& out)
{
    const TMTItem& item = ItemOf(node);
    out += EscapePilcrow(node.Caption());
    out += Pilcrow;
    out += EscapePilcrow(item.Link);
    out += Pilcrow;
    out += EscapePilcrow(item.Target);
    out += Pilcrow;
    out += level == 2 ? '1' : '0';
    out += "\r\n";
}

std::string TextMenuFileBytes(const TqzHTML& document)
{
    std::string out = "TWF 2\r\n";
    ForEachItem(document.Tree().Root(), 2,
                [&out](const MenuNode& node, int level) { AppendItemLine(node, level, out); });
    return out;
}

} // namespace

int DetectTextVersion(const std::string& firstLine)
{
    const std::string header = Trim(firstLine);
    if (header.size() < 3 || AsciiUpperCase(header.substr(0, 3)) != "TWF")
        return NoHeader;
    return ParseProfileInteger(header.substr(3)).value_or(NoHeader);
}

LoadOutcome LoadTextProject(TqzHTML& document, const std::string& menuPath, const std::string& readBytes)
{
    // A save between its renames ends them within moments; one that was
    // killed there left the set mixed for good.
    std::string reread;
    bool mixed = IsMixedSet(menuPath, readBytes);
    for (int wait = 0; mixed && wait < 5; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        reread = ReadFileBytes(menuPath);
        mixed = IsMixedSet(menuPath, reread);
    }
    const std::string& menuBytes = reread.empty() ? readBytes : reread;
    const std::vector<std::string> lines = SplitLines(menuBytes);
    if (lines.empty())
        throw Error("Die Men\xFC"
                    "datei ist leer.");
    const int version = DetectTextVersion(lines.front());
    LoadOutcome outcome;

    if (version == CurrentVersion) {
        ReadItems(document, lines);
        LoadSettingsFile(document, ChangeFileExt(menuPath, SettingsExtension));
    } else if (version == NoHeader) {
        LoadOlderItems(document, menuPath, lines);
        LoadOlderSettings(document, menuPath);
    } else {
        outcome.unsupported =
            ExtractFileName(menuPath) + ": " +
            FormatMessage("Das Format dieser TWF Version (%s) wird nicht unterst\xFCtzt", std::to_string(version));
    }

    if (version >= 0)
        LoadVariablesFromTextFile(document.Variables(), ChangeFileExt(menuPath, VariablesExtension));
    if (mixed)
        outcome.unsupported = ExtractFileName(menuPath) +
                              ": Die Dateien des Projekts (.twf, .tws, .twv) stammen aus verschiedenen "
                              "Speicherungen, weil ein Speichern abgebrochen wurde. Bitte die Angaben pr\xFC"
                              "fen und das Projekt erneut speichern.";
    return outcome;
}

std::optional<std::string> FindLineBreakForTextFormat(const TqzHTML& document)
{
    std::optional<std::string> found;
    ForEachItem(document.Tree().Root(), 2, [&found](const MenuNode& node, int) {
        const TMTItem& item = ItemOf(node);
        if (!found && (HasLineBreak(node.Caption()) || HasLineBreak(item.Link) || HasLineBreak(item.Target)))
            found = FormatMessage("Der Men\xFCpunkt \"%s\"", ShortForMessage(LineBreaksToBlanks(node.Caption())));
    });
    if (found)
        return found;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        if (HasLineBreak(name))
            return FormatMessage("Die Variable \"%s\"", ShortForMessage(LineBreaksToBlanks(name)));
    }
    return std::nullopt;
}

std::optional<std::string> FindMultiLineValue(const TqzHTML& document)
{
    const TParseList& variables = document.Variables();
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        if (HasLineBreak(variables.Data(i).Value))
            return FormatMessage("Der Wert der Variable \"%s\"",
                                 ShortForMessage(LineBreaksToBlanks(variables.Caption(i))));
    }
    return std::nullopt;
}

void ReplaceLineBreaksForTextFormat(TqzHTML& document)
{
    MenuTree& tree = document.Tree();
    for (MenuNode* node = tree.Root().NextPreOrder(); node;
         node = node->Level() >= 2 ? node->NextSkippingChildren() : node->NextPreOrder()) {
        if (HasLineBreak(node->Caption()))
            tree.SetCaption(*node, LineBreaksToBlanks(node->Caption()));
        TMTItem* item = node->Item();
        if (item && (HasLineBreak(item->Link) || HasLineBreak(item->Target))) {
            item->Link = LineBreaksToBlanks(item->Link);
            item->Target = LineBreaksToBlanks(item->Target);
            tree.NotifyRecordChanged(*node);
        }
    }
    TParseList& variables = document.Variables();
    for (std::size_t row = 0; row < variables.Count(); ++row) {
        if (HasLineBreak(variables.Caption(row)))
            variables.SetCaption(row, LineBreaksToBlanks(variables.Caption(row)));
        if (const std::string value = variables.Data(row).Value; HasLineBreak(value)) {
            variables.SetValue(row, LineBreaksToBlanks(value));
            variables.SetDisplayText(row, DisplayTextOf(variables.Data(row).Value));
        }
    }
}

void SaveTextProject(const TqzHTML& document, const std::string& menuPath)
{
    // The settings and variables files are named after the menu file; with
    // one of their extensions the menu file would be one of them.
    const std::string extension = ExtractFileExt(menuPath);
    if (SameTextAscii(extension, SettingsExtension) || SameTextAscii(extension, VariablesExtension))
        throw Error("Die Endungen .tws und .twv geh\xF6ren zu den Begleitdateien des Textformats; bitte eine "
                    "andere Endung w\xE4hlen.");
    if (const auto where = FindLineBreakForTextFormat(document))
        throw Error(*where + " enth\xE4lt einen Zeilenumbruch, den das Textformat nicht speichern kann; bitte "
                             "entfernen oder im Bin\xE4rformat speichern.");
    const std::string settingsPath = ChangeFileExt(menuPath, SettingsExtension);
    const std::string menu = TextMenuFileBytes(document);
    const std::string settings = UpdatedSettingsFileBytes(document, settingsPath);
    const std::string variables = VariablesTextFileBytes(document.Variables());
    const std::string notePath = SaveNotePath(menuPath);
    const std::array<std::string, 3> before = CurrentFiles(menuPath);
    WriteFileAtomically(notePath, SaveNoteBytes({before[0], before[1], before[2]}, {menu, settings, variables}));
    // A note that cannot be removed (this hardly happens) names either the
    // files as they are now or none of them: a reader takes both for a
    // whole set.
    const auto removeNote = [&notePath] {
        std::error_code ignored;
        std::filesystem::remove(ToFsPath(notePath), ignored);
    };
    try {
        WriteFilesAtomically({{menuPath, menu},
                              {settingsPath, settings, "Fehler beim Schreiben nach %s"},
                              {ChangeFileExt(menuPath, VariablesExtension), variables}});
    } catch (const Error&) {
        // A rename that failed after others leaves the set mixed, and the
        // note to tell it.
        if (!IsMixedSet(menuPath))
            removeNote();
        throw;
    }
    removeNote();
}

} // namespace tw
