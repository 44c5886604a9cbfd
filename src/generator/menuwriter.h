#pragma once

#include "document/qzhtml.h"
#include "generator/snippets.h"
#include "generator/substitution.h"

#include <array>
#include <string>
#include <unordered_map>
#include <utility>

namespace tw {

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
    explicit MenuWriter(const TqzHTML& document);

    // Builds one file with the path to current (none for the main file) shown
    // open, or every submenu with openAll, and writes it in one piece. Throws
    // tw::Error when the file cannot be written or a snippet cannot be read.
    void WriteMenuFile(const MenuNode* current, const std::string& path, bool openAll);
    // The name of a node's submenu file: its LinkID and the submenu extension.
    std::string SubmenuFileName(const MenuNode& node) const;

private:
    enum EntryKind { MenuPoint, MPOpen, MPParent, EntryKindCount };

    void WriteLevel(const MenuNode* current, const MenuNode& parent, int parentLevel, bool openAll, LineList& lines,
                    const TLevelItem& level);
    void WriteOpenItem(const MenuNode* current, const MenuNode& child, int childLevel, bool openAll,
                       const std::string& link, const std::string& target, LineList& lines, const TLevelItem& level);
    void WriteItem(const MenuNode& item, const TLevelItem& level, EntryKind kind, const std::string& link,
                   const std::string& target, LineList& lines);
    LineList BuildEntry(const MenuNode& item, const TLevelItem& level, EntryKind kind, const std::string& link,
                        const std::string& target);
    // Appends to the file being built; a file beyond MaxGeneratedFileSize
    // ends the generation.
    void Append(LineList& lines, const LineList& more);
    void AppendSnippet(const std::string& name, LineList& lines);
    [[noreturn]] void ThrowTooLarge() const;
    std::string NavigationLink(const MenuNode& parent, int parentLevel) const;

    const TqzHTML& document_;
    const TemplateState& state_;
    std::string mainFileName_;
    SnippetFiles snippets_;
    DocumentPlaceholders placeholders_;
    // Entries built for files without open-all, by item and kind.
    std::unordered_map<const MenuNode*, std::array<LineList, EntryKindCount>> entries_;
    bool reuseEntries_ = false;
    std::string path_;     // of the file being built
    std::size_t size_ = 0; // its bytes so far, line breaks not counted
};

} // namespace tw
