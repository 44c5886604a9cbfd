#pragma once

#include "document/qzhtml.h"
#include "generator/entrysnippet.h"
#include "generator/generateprogress.h"
#include "generator/generator.h"
#include "generator/snippets.h"
#include "generator/substitution.h"
#include "generator/templateset.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tw {

class OutputFolder;

// Renumbers every item's LinkID: "Child" followed by the 1-based positions of
// the item and its ancestors from the top level down, joined by ",". An item
// node without a record gets an empty one.
void AssignLinkIDs(MenuTree& tree);

// The first character of a caption and the rest; both empty for an empty
// caption.
std::pair<std::string, std::string> SplitFirstLetter(const std::string& caption);

// Writes the files of one generation from a loaded template set.
class MenuWriter {
public:
    MenuWriter(const TqzHTML& document, const TemplateSet& set);

    // Writes the main file and, unless the template wants all in one file,
    // the submenu file of every item with children above the deepest opened
    // depth, in tree order. Throws tw::Error when a file cannot be written or
    // a snippet cannot be read; counts then tells the files written before.
    void WriteFiles(const std::string& mainFile, GenerationCounts& counts);
    // Writes only the file that shows node, as WriteFiles would write it: the
    // node's submenu file when it has children, otherwise its parent's;
    // where that file is not written (too deep, or all in one file), the
    // next one up, and the main file for the root and for no node. Returns
    // the file's path. Throws tw::Error as WriteFiles does.
    std::string WriteFileShowing(const MenuNode* node, const std::string& mainFile, GenerationCounts& counts);
    // Called after every file WriteFiles wrote or left alone, with the tree's
    // nodes passed and their number.
    void SetProgress(GenerationProgress progress) { progress_ = std::move(progress); }
    // The names of the files WriteFiles wrote or found holding their bytes.
    const std::unordered_set<std::string>& FileNames() const { return fileNames_; }

private:
    enum EntryKind { MenuPoint, MPOpen, MPParent, EntryKindCount };

    // A snippet of a level entry, read when first needed.
    struct LevelSnippet {
        std::string name;
        const Fragment* fragment = nullptr;
    };
    // The snippets of a level entry: its entry kinds' lines with the places
    // of their item placeholders, and the fragments that close an open entry
    // and part two entries of a list.
    struct LevelSnippets {
        std::string prefix;
        std::array<const LineList*, EntryKindCount> entries{};
        std::array<std::optional<EntrySnippet>, EntryKindCount> placed;
        LevelSnippet subMenuEnd;
        LevelSnippet separator;
    };
    // Where appended text comes from, named in a message about the size
    // limit only when there is one: a snippet, or else the entry of an item.
    struct Source {
        const std::string* snippet = nullptr;
        std::size_t item = 0;
    };

    // Builds one file with the path to the node at currentIndex (0 for the
    // main file) shown open, or every submenu with openAll.
    void WriteMenuFile(std::size_t currentIndex, const std::string& path, bool openAll);
    // Builds and writes one file into folder.
    void WriteFile(OutputFolder& folder, std::size_t index, const std::string& path, bool openAll,
                   GenerationCounts& counts);
    // True when the node at index gets a submenu file of its own.
    bool HasOwnFile(std::size_t index) const;
    void WriteLevel(std::size_t parentIndex, bool openAll, const TLevelItem& level);
    void WriteItem(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll, Fragment* kept);
    // Reserves the rest of a file with every submenu open before it grows.
    void ReserveForTheRest(std::size_t index);
    void BuildEntry(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll, Fragment& entry);
    void AppendLevelSnippet(LevelSnippet& snippet, const LevelSnippets& level, const char* stem);
    void AppendSnippet(const std::string& name);
    void Append(const Fragment& fragment, Source source);
    const Fragment& Snippet(const std::string& name);
    LevelSnippets& SnippetsOf(const TLevelItem& level);
    // Forgets the entries kept for lists that no file from the node at
    // index on shows again.
    void ForgetListsBefore(std::size_t index);
    // Which way a file reached MaxGeneratedFileSize.
    enum class Limit { File, Snippet, Placeholders };
    [[noreturn]] void ThrowTooLarge(Limit limit, const std::string& where) const;
    std::string Place(Source source) const;
    std::string NavigationLink(const MenuNode& item) const;

    const TemplateSet& state_;
    // The main file's name as a link back to it.
    std::string mainFileLink_;
    SnippetFiles snippets_;
    DocumentPlaceholders placeholders_;
    ReplacementList itemPlaceholders_;
    // The tree in pre-order (the root first), with every node's level (0 for
    // the root) and the size of its subtree, itself included.
    std::vector<const MenuNode*> nodes_;
    std::vector<int> levels_;
    std::vector<std::size_t> subtreeSizes_;
    // Without open-all, every file lists the top level again and every file
    // below an item lists that item's children again: the entries of a list
    // are built once, kept by the index of the node whose children they are
    // (then by child and kind) and forgotten once the files have left that
    // node's subtree, which they do for good as they follow the tree's order.
    std::unordered_map<std::size_t, std::vector<Fragment>> keptLists_;
    std::unordered_map<std::string, Fragment> fragments_;
    std::unordered_map<const TLevelItem*, LevelSnippets> levelSnippets_;
    std::unordered_set<std::string> fileNames_;
    GenerationProgress progress_;
    bool reuseEntries_ = false;
    std::size_t currentIndex_ = 0;
    std::string path_;     // of the file being built
    std::string file_;     // its bytes
    std::size_t size_ = 0; // its bytes so far, line breaks not counted
    Fragment scratchEntry_;
    LineList entryLines_;
    std::vector<std::string_view> itemValues_; // by item placeholder
    std::string generatedLink_;
};

} // namespace tw
