#include "generator/menuwriter.h"

#include "generator/linktext.h"
#include "generator/submenufiles.h"
#include "generator/templateset.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/outputfolder.h"
#include "platform/paths.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace tw {
namespace {

const std::string SelfTarget = "_self";
const char* const CannotCreatePattern = "Fehler beim Erstellen der Datei %s";

// The entry placeholders, in the order they are filled. Ours come first: a
// snippet without them then gets exactly the classic values, even where an
// item's link or caption happens to contain one of our names.
const char* const ItemPlaceholderNames[] = {"$ItemLink$", "$ItemTarget$",  "$ItemTargetOrSelf$",
                                            "$Link$",     "$LinkTarget$",  "$Linkname$",
                                            "$LinkID$",   "$FirstLetter$", "$RestLetter$"};

// An item without a target opens in the same frame; that keyword keeps a
// target attribute valid, where an empty value is not.
const std::string& TargetOrSelf(const std::string& target)
{
    return target.empty() ? SelfTarget : target;
}

std::size_t TextSize(const LineList& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size();
    return size;
}

std::string Quoted(const std::string& text)
{
    return "\x84" + text + "\x93";
}

std::string SnippetPlace(const std::string& name)
{
    return "im Baustein " + Quoted(name);
}

// The stems of the entry kinds' snippet files.
const char* const EntryKindNames[] = {"MenuPoint", "MPOpen", "MPParent"};

// The bytes of a caption's first letter: none for an empty caption. A
// character reference at the start, numeric ("&#128512;") or named ("&lt;",
// as imported text has them), stands for one letter and is never cut in two.
std::size_t FirstLetterLength(const std::string& caption)
{
    if (caption.empty())
        return 0;
    std::size_t length = 1;
    if (caption.starts_with("&#")) {
        const std::size_t end = caption.find(';');
        const bool digits = end != std::string::npos && end > 2 && caption.find_first_not_of("0123456789", 2) == end;
        if (digits)
            length = end + 1;
    } else if (caption.starts_with('&')) {
        const std::size_t end =
            caption.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 1);
        if (end != std::string::npos && end > 1 && caption[end] == ';')
            length = end + 1;
    }
    return length;
}

} // namespace

void AssignLinkIDs(MenuTree& tree)
{
    for (MenuNode* node = tree.Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        if (!node->Item())
            tree.SetItem(*node, std::make_unique<TMTItem>());
        // Written over the old identifier, whose room it mostly fits.
        const MenuNode* parent = node->Parent();
        std::string& id = node->Item()->LinkID;
        if (parent->IsRoot()) {
            id.assign("Child");
        } else {
            id.assign(parent->Item()->LinkID);
            id += ',';
        }
        char digits[24];
        id.append(digits, std::to_chars(digits, std::end(digits), node->Row() + 1).ptr);
    }
}

std::pair<std::string, std::string> SplitFirstLetter(const std::string& caption)
{
    const std::size_t length = FirstLetterLength(caption);
    return {caption.substr(0, length), caption.substr(length)};
}

MenuWriter::MenuWriter(const TqzHTML& document, const TemplateSet& set)
    : state_(set), mainFileLink_(LinkOfFileName(ExtractFileName(document.GetFileSetting(fsFilename)))),
      snippets_(state_.TemplateDir), placeholders_(document)
{
    for (const char* search : ItemPlaceholderNames)
        itemPlaceholders_.emplace_back(search, std::string(), false);
    // One walk gives every node its index, level and subtree size; the nodes
    // whose subtrees are still open wait on a stack.
    const std::size_t count = document.Tree().Count();
    nodes_.reserve(count);
    levels_.reserve(count);
    subtreeSizes_.assign(count, 0);
    std::vector<std::size_t> open;
    for (const MenuNode* node = &document.Tree().Root(); node; node = node->NextPreOrder()) {
        const std::size_t index = nodes_.size();
        while (!open.empty() && nodes_[open.back()] != node->Parent()) {
            subtreeSizes_[open.back()] = index - open.back();
            open.pop_back();
        }
        nodes_.push_back(node);
        levels_.push_back(open.empty() ? 0 : levels_[open.back()] + 1);
        open.push_back(index);
    }
    for (const std::size_t index : open)
        subtreeSizes_[index] = nodes_.size() - index;
}

void MenuWriter::WriteFile(OutputFolder& folder, std::size_t index, const std::string& path, bool openAll,
                           GenerationCounts& counts)
{
    WriteMenuFile(index, path, openAll);
    if (state_.CharacterReferences)
        file_ = WithCharacterReferences(file_);
    const std::string name = ExtractFileName(path);
    ++(folder.WriteUnlessUnchanged(name, file_, CannotCreatePattern) ? counts.written : counts.unchanged);
    fileNames_.insert(name);
    if (progress_)
        progress_(index, nodes_.size());
}

// Items at the deepest opened depth and below never get a file of their own.
bool MenuWriter::HasOwnFile(std::size_t index) const
{
    return !state_.AllInOne && index > 0 && levels_[index] - 1 < state_.MaxLevel && nodes_[index]->HasChildren();
}

void MenuWriter::WriteFiles(const std::string& mainFile, GenerationCounts& counts)
{
    const std::string directory = ExtractFilePath(mainFile);
    // Every file goes into this one folder, by its name alone.
    OutputFolder folder(directory);
    WriteFile(folder, 0, mainFile, state_.AllInOne, counts);
    for (std::size_t index = 1; !state_.AllInOne && index < nodes_.size();) {
        if (levels_[index] - 1 >= state_.MaxLevel) {
            index += subtreeSizes_[index];
            continue;
        }
        if (HasOwnFile(index)) {
            ForgetListsBefore(index);
            WriteFile(folder, index, directory + SubmenuFileName(*nodes_[index], state_.SubmenuExt), false, counts);
        }
        ++index;
    }
    if (progress_)
        progress_(nodes_.size(), nodes_.size());
}

void MenuWriter::ForgetListsBefore(std::size_t index)
{
    std::erase_if(keptLists_, [&](const auto& kept) { return index >= kept.first + subtreeSizes_[kept.first]; });
}

std::string MenuWriter::WriteFileShowing(const MenuNode* node, const std::string& mainFile, GenerationCounts& counts)
{
    const std::string directory = ExtractFilePath(mainFile);
    OutputFolder folder(directory);
    const auto found = node == nullptr ? nodes_.end() : std::find(nodes_.begin(), nodes_.end(), node);
    std::size_t index = found == nodes_.end() ? 0 : static_cast<std::size_t>(found - nodes_.begin());
    // A leaf shows in its parent's file; the parent of a node comes before
    // it and is the nearest node one level up.
    const auto parentOf = [this](std::size_t child) {
        std::size_t parent = child;
        while (parent > 0 && levels_[parent] >= levels_[child])
            --parent;
        return parent;
    };
    if (index > 0 && !nodes_[index]->HasChildren())
        index = parentOf(index);
    while (index > 0 && !HasOwnFile(index))
        index = parentOf(index);
    const std::string path = index == 0 ? mainFile : directory + SubmenuFileName(*nodes_[index], state_.SubmenuExt);
    WriteFile(folder, index, path, index == 0 && state_.AllInOne, counts);
    return path;
}

void MenuWriter::WriteMenuFile(std::size_t currentIndex, const std::string& path, bool openAll)
{
    reuseEntries_ = !openAll;
    currentIndex_ = currentIndex;
    path_ = path;
    file_.clear();
    size_ = 0;
    placeholders_.SetCurrentFile(ExtractFileName(path),
                                 currentIndex == 0 ? std::string() : nodes_[currentIndex]->Item()->LinkID);
    AppendSnippet("Header.txt");
    WriteLevel(0, openAll, LevelFor(state_, 0));
    AppendSnippet("Footer.txt");
}

// The limit is one, but it is reached in different ways: the message tells
// which and where, so that the user knows what to change.
void MenuWriter::ThrowTooLarge(Limit limit, const std::string& where) const
{
    const std::string megabytes = std::to_string(MaxGeneratedFileSize >> 20) + " MB";
    std::string reason;
    switch (limit) {
    case Limit::File:
        reason = "Die Datei w\xFCrde gr\xF6\xDF"
                 "er als " +
                 megabytes + ", die Grenze f\xFCr eine erzeugte Datei (erreicht " + where + ")";
        break;
    case Limit::Snippet:
        reason = "Der Baustein " + where +
                 " ist gr\xF6\xDF"
                 "er als " +
                 megabytes + ", die Grenze f\xFCr eine erzeugte Datei";
        break;
    case Limit::Placeholders:
        reason = "Die Platzhalter " + where + " ergeben mehr als " + megabytes +
                 " Text; ein Wert enth\xE4lt wohl wiederholt weitere Platzhalter";
        break;
    }
    throw Error(WithReason(FormatMessage(CannotCreatePattern, path_), reason));
}

void MenuWriter::Append(const Fragment& fragment, Source source)
{
    if (!placeholders_.AppendTo(file_, size_, fragment))
        ThrowTooLarge(size_ > MaxGeneratedFileSize ? Limit::File : Limit::Placeholders, Place(source));
}

std::string MenuWriter::Place(Source source) const
{
    if (source.snippet)
        return SnippetPlace(*source.snippet);
    return "beim Men\xFCpunkt " + Quoted(ShortForMessage(nodes_[source.item]->Caption()));
}

const Fragment& MenuWriter::Snippet(const std::string& name)
{
    const auto known = fragments_.find(name);
    if (known != fragments_.end())
        return known->second;
    Fragment fragment;
    const LineList& lines = snippets_.Lines(name);
    if (!placeholders_.Prepare(lines, fragment)) {
        if (TextSize(lines) > MaxGeneratedFileSize)
            ThrowTooLarge(Limit::Snippet, Quoted(name));
        ThrowTooLarge(Limit::Placeholders, SnippetPlace(name));
    }
    return fragments_.emplace(name, std::move(fragment)).first->second;
}

MenuWriter::LevelSnippets& MenuWriter::SnippetsOf(const TLevelItem& level)
{
    LevelSnippets& snippets = levelSnippets_[&level];
    if (snippets.prefix.empty())
        snippets.prefix = level.Name + "_";
    return snippets;
}

void MenuWriter::AppendSnippet(const std::string& name)
{
    Append(Snippet(name), {&name});
}

void MenuWriter::AppendLevelSnippet(LevelSnippet& snippet, const LevelSnippets& level, const char* stem)
{
    if (!snippet.fragment) {
        snippet.name = level.prefix + stem + ".txt";
        snippet.fragment = &Snippet(snippet.name);
    }
    Append(*snippet.fragment, {&snippet.name});
}

void MenuWriter::WriteLevel(std::size_t parentIndex, bool openAll, const TLevelItem& level)
{
    // The children of a node of level L have level L + 1 and depth L.
    const int depth = levels_[parentIndex];
    LevelSnippets& snippets = SnippetsOf(level);
    std::vector<Fragment>* kept = nullptr;
    if (reuseEntries_) {
        kept = &keptLists_[parentIndex];
        kept->resize(nodes_[parentIndex]->ChildCount() * EntryKindCount);
    }
    const std::size_t end = parentIndex + subtreeSizes_[parentIndex];
    std::size_t position = 0;
    for (std::size_t index = parentIndex + 1; index < end; index += subtreeSizes_[index], ++position) {
        auto keptEntry = [&](EntryKind kind) { return kept ? &(*kept)[position * EntryKindCount + kind] : nullptr; };
        if (!nodes_[index]->HasChildren() || depth == state_.MaxLevel) {
            WriteItem(index, snippets, MenuPoint, openAll, keptEntry(MenuPoint));
        } else if (openAll || (currentIndex_ >= index && currentIndex_ < index + subtreeSizes_[index])) {
            // Open: with open-all every item, otherwise the path to the current one.
            WriteItem(index, snippets, MPOpen, openAll, keptEntry(MPOpen));
            WriteLevel(index, openAll, LevelFor(state_, depth + 1));
            AppendLevelSnippet(snippets.subMenuEnd, snippets, "SubMenuEnd");
        } else {
            WriteItem(index, snippets, MPParent, openAll, keptEntry(MPParent));
        }
        if (index + subtreeSizes_[index] < end)
            AppendLevelSnippet(snippets.separator, snippets, "Separator");
    }
}

void MenuWriter::WriteItem(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll, Fragment* kept)
{
    // Without open-all an entry's link and target follow from its item and
    // kind alone, so a kept one is built once.
    Fragment& entry = kept ? *kept : scratchEntry_;
    if (!kept || entry.Empty())
        BuildEntry(index, level, kind, openAll, entry);
    if (openAll)
        ReserveForTheRest(index);
    Append(entry, {nullptr, index});
}

// A file with every submenu open lists all items in tree order: once a
// sixteenth of them is written (the header no longer weighs), the bytes per
// item so far tell its whole size. Growing to that once, instead of doubling,
// keeps a large menu in one file near its own size in memory.
void MenuWriter::ReserveForTheRest(std::size_t index)
{
    constexpr std::size_t Headroom = 4096;
    if (index < nodes_.size() / 16 || index == 0 || file_.capacity() - file_.size() > Headroom)
        return;
    const std::size_t perItem = file_.size() / index;
    // An estimate that falls short still grows by an eighth at least.
    const std::size_t rest = std::max(perItem * (nodes_.size() - index) * 33 / 32, file_.size() / 8);
    file_.reserve(file_.size() + rest + Headroom);
}

void MenuWriter::BuildEntry(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll, Fragment& entry)
{
    if (!level.entries[kind]) {
        const std::string name = level.prefix + EntryKindNames[kind] + ".txt";
        const LineList& lines = snippets_.Lines(name);
        if (TextSize(lines) > MaxGeneratedFileSize)
            ThrowTooLarge(Limit::Snippet, Quoted(name));
        level.entries[kind] = &lines;
        level.placed[kind].emplace(lines, itemPlaceholders_);
    }
    const MenuNode& node = *nodes_[index];
    const TMTItem& item = *node.Item();
    std::string_view link = item.Link;
    std::string_view target = item.Target;
    // An open entry leads back up, a parent entry to the item's own file.
    if (kind == MPParent || (kind == MPOpen && !openAll)) {
        generatedLink_ = kind == MPParent ? SubmenuFileName(node, state_.SubmenuExt) : NavigationLink(node);
        link = generatedLink_;
        target = SelfTarget;
    }
    const std::string_view caption = node.Caption();
    const std::size_t firstLetter = FirstLetterLength(node.Caption());
    // In the order of ItemPlaceholderNames.
    itemValues_ = {item.Link,
                   item.Target,
                   TargetOrSelf(item.Target),
                   link,
                   target,
                   caption,
                   item.LinkID,
                   caption.substr(0, firstLetter),
                   caption.substr(firstLetter)};
    if (!level.placed[kind]->Fill(itemValues_, MaxGeneratedFileSize, entryLines_)) {
        for (std::size_t k = 0; k < itemValues_.size(); ++k)
            itemPlaceholders_[k].SetReplacement(std::string(itemValues_[k]));
        entryLines_ = *level.entries[kind];
        if (!ApplyReplacementsWithin(entryLines_, itemPlaceholders_, MaxGeneratedFileSize))
            ThrowTooLarge(Limit::Placeholders, Place({nullptr, index}));
    }
    if (!placeholders_.Prepare(entryLines_, entry))
        ThrowTooLarge(Limit::Placeholders, Place({nullptr, index}));
}

// The link of an open entry closes its submenu: top-level and second-level
// entries lead to the main file, deeper ones to their parent's submenu file.
std::string MenuWriter::NavigationLink(const MenuNode& item) const
{
    const MenuNode& parent = *item.Parent();
    return parent.IsRoot() || parent.Parent()->IsRoot() ? mainFileLink_ : SubmenuFileName(parent, state_.SubmenuExt);
}

} // namespace tw
