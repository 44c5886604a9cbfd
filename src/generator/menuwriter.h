#pragma once

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "generator/snippets.h"
#include "generator/substitution.h"
#include "generator/templateset.h"

#include <array>
#include <string>
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
    // The names of the files WriteFiles wrote or found holding their bytes.
    const std::unordered_set<std::string>& FileNames() const { return fileNames_; }

private:
    enum EntryKind { MenuPoint, MPOpen, MPParent, EntryKindCount };

    // The snippets of a level entry, each read when first needed: its entry
    // kinds' lines, and the fragments that close an open entry and part two
    // entries of a list.
    struct LevelSnippets {
        std::string prefix;
        std::array<const LineList*, EntryKindCount> entries{};
        const Fragment* subMenuEnd = nullptr;
        const Fragment* separator = nullptr;
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
    void WriteItem(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll);
    void BuildEntry(std::size_t index, LevelSnippets& level, EntryKind kind, bool openAll, Fragment& entry);
    void AppendLevelSnippet(const Fragment*& known, const LevelSnippets& level, const char* stem);
    void AppendSnippet(const std::string& name);
    // where names the snippet or item for a message about the size limit.
    void Append(const Fragment& fragment, const std::string& where);
    const Fragment& Snippet(const std::string& name);
    LevelSnippets& SnippetsOf(const TLevelItem& level);
    // Which way a file reached MaxGeneratedFileSize.
    enum class Limit { File, Snippet, Placeholders };
    [[noreturn]] void ThrowTooLarge(Limit limit, const std::string& where) const;
    std::string ItemPlace(std::size_t index) const;
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
    // Entries built for files without open-all, by node index and kind.
    std::vector<std::array<Fragment, EntryKindCount>> entries_;
    std::unordered_map<std::string, Fragment> fragments_;
    std::unordered_map<const TLevelItem*, LevelSnippets> levelSnippets_;
    std::unordered_set<std::string> fileNames_;
    bool reuseEntries_ = false;
    std::size_t currentIndex_ = 0;
    std::string path_;     // of the file being built
    std::string file_;     // its bytes
    std::size_t size_ = 0; // its bytes so far, line breaks not counted
    Fragment scratchEntry_;
    LineList entryLines_;
};

} // namespace tw
