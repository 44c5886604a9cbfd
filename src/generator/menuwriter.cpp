#include "generator/menuwriter.h"

#include "generator/templateset.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace tw {
namespace {

const std::string SelfTarget = "_self";
const char* const CannotCreatePattern = "Fehler beim Erstellen der Datei %s";

// An item without a target opens in the same frame; passing that keyword keeps
// the target attribute of a snippet valid, where an empty value is not.
const std::string& TargetOrSelf(const std::string& target)
{
    return target.empty() ? SelfTarget : target;
}

// The stems of the entry kinds' snippet files.
const char* const EntryKindNames[] = {"MenuPoint", "MPOpen", "MPParent"};

std::string JoinLines(const LineList& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace

void AssignLinkIDs(MenuTree& tree)
{
    for (MenuNode* node = tree.Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        if (!node->Item())
            tree.SetItem(*node, std::make_unique<TMTItem>());
        const MenuNode* parent = node->Parent();
        const std::string prefix = parent->IsRoot() ? std::string("Child") : parent->Item()->LinkID + ",";
        node->Item()->LinkID = prefix + std::to_string(node->Row() + 1);
    }
}

std::pair<std::string, std::string> SplitFirstLetter(const std::string& caption)
{
    if (caption.empty())
        return {};
    // A numeric character reference ("&#128512;") at the start stands for one
    // letter and is never cut in two.
    std::size_t length = 1;
    if (caption.starts_with("&#")) {
        const std::size_t end = caption.find(';');
        const bool digits = end != std::string::npos && end > 2 && caption.find_first_not_of("0123456789", 2) == end;
        if (digits)
            length = end + 1;
    }
    return {caption.substr(0, length), caption.substr(length)};
}

MenuWriter::MenuWriter(const TqzHTML& document)
    : document_(document), state_(document.Template()),
      mainFileName_(ExtractFileName(document.GetFileSetting(fsFilename))), snippets_(state_.TemplateDir),
      placeholders_(document)
{
}

void MenuWriter::WriteMenuFile(const MenuNode* current, const std::string& path, bool openAll)
{
    reuseEntries_ = !openAll;
    path_ = path;
    size_ = 0;
    LineList lines;
    AppendSnippet("Header.txt", lines);
    WriteLevel(current, document_.Tree().Root(), 0, openAll, lines, LevelFor(state_, 0));
    AppendSnippet("Footer.txt", lines);
    if (!placeholders_.Apply(lines, ExtractFileName(path)))
        ThrowTooLarge();
    // Generated files can be made again, so they are not forced to disk.
    WriteFileAtomically(path, JoinLines(lines), CannotCreatePattern, false);
}

void MenuWriter::ThrowTooLarge() const
{
    throw Error(WithReason(FormatMessage(CannotCreatePattern, path_),
                           "Die Platzhalter ergeben mehr als " + std::to_string(MaxGeneratedFileSize >> 20) +
                               " MB Text; ein Wert enth\xE4lt wohl wiederholt weitere Platzhalter"));
}

void MenuWriter::Append(LineList& lines, const LineList& more)
{
    for (const std::string& line : more)
        size_ += line.size();
    if (size_ > MaxGeneratedFileSize)
        ThrowTooLarge();
    lines.insert(lines.end(), more.begin(), more.end());
}

void MenuWriter::AppendSnippet(const std::string& name, LineList& lines)
{
    Append(lines, snippets_.Lines(name));
}

void MenuWriter::WriteLevel(const MenuNode* current, const MenuNode& parent, int parentLevel, bool openAll,
                            LineList& lines, const TLevelItem& level)
{
    // The children of a node of level L have level L + 1 and depth L.
    const int depth = parentLevel;
    const std::size_t count = parent.ChildCount();
    for (std::size_t i = 0; i < count; ++i) {
        const MenuNode& child = *parent.Child(i);
        const TMTItem& item = *child.Item();
        if (!child.HasChildren() || depth == state_.MaxLevel) {
            WriteItem(child, level, MenuPoint, item.Link, TargetOrSelf(item.Target), lines);
        } else if (openAll) {
            WriteOpenItem(current, child, parentLevel + 1, true, item.Link, TargetOrSelf(item.Target), lines, level);
        } else if (current && (current == &child || current->HasAsAncestor(&child))) {
            WriteOpenItem(current, child, parentLevel + 1, false, NavigationLink(parent, parentLevel), SelfTarget,
                          lines, level);
        } else {
            WriteItem(child, level, MPParent, SubmenuFileName(child), SelfTarget, lines);
        }
        if (i + 1 < count)
            AppendSnippet(level.Name + "_Separator.txt", lines);
    }
}

void MenuWriter::WriteOpenItem(const MenuNode* current, const MenuNode& child, int childLevel, bool openAll,
                               const std::string& link, const std::string& target, LineList& lines,
                               const TLevelItem& level)
{
    WriteItem(child, level, MPOpen, link, target, lines);
    WriteLevel(current, child, childLevel, openAll, lines, LevelFor(state_, childLevel));
    AppendSnippet(level.Name + "_SubMenuEnd.txt", lines);
}

void MenuWriter::WriteItem(const MenuNode& item, const TLevelItem& level, EntryKind kind, const std::string& link,
                           const std::string& target, LineList& lines)
{
    if (!reuseEntries_) {
        Append(lines, BuildEntry(item, level, kind, link, target));
        return;
    }
    // Without open-all, every file lists the top level again and every file
    // below an item lists that item's children again. An entry's link and
    // target then follow from its item and kind alone, so it is built once.
    LineList& entry = entries_[&item][kind];
    if (entry.empty())
        entry = BuildEntry(item, level, kind, link, target);
    Append(lines, entry);
}

LineList MenuWriter::BuildEntry(const MenuNode& item, const TLevelItem& level, EntryKind kind, const std::string& link,
                                const std::string& target)
{
    LineList entry = snippets_.Lines(level.Name + "_" + EntryKindNames[kind] + ".txt");
    if (entry.empty())
        return entry;
    auto [firstLetter, restLetter] = SplitFirstLetter(item.Caption());
    const ReplacementList replacements{{"$Link$", link},
                                       {"$LinkTarget$", target},
                                       {"$Linkname$", item.Caption()},
                                       {"$LinkID$", item.Item()->LinkID},
                                       {"$FirstLetter$", std::move(firstLetter)},
                                       {"$RestLetter$", std::move(restLetter)}};
    if (!ApplyReplacementsWithin(entry, replacements, MaxGeneratedFileSize))
        ThrowTooLarge();
    return entry;
}

// The link of an open entry closes its submenu: top-level and second-level
// entries lead to the main file, deeper ones to their parent's submenu file.
std::string MenuWriter::NavigationLink(const MenuNode& parent, int parentLevel) const
{
    return parentLevel <= 1 ? mainFileName_ : SubmenuFileName(parent);
}

std::string MenuWriter::SubmenuFileName(const MenuNode& node) const
{
    return node.Item()->LinkID + state_.SubmenuExt;
}

} // namespace tw
