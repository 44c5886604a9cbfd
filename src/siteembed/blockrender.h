#pragma once

#include "document/qzhtml.h"
#include "generator/snippets.h"
#include "generator/substitution.h"
#include "siteembed/embedform.h"
#include "siteembed/markers.h"
#include "siteembed/sitemenu.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tw {

// Draws the blocks of one page from the embedded form of a template set:
// the menu with the path to the page's item open, the breadcrumb trail, the
// previous and next pages, the head. Entries and snippets depend on the
// page's folder only (its name is filled per page), so they are filled once
// per folder.
class BlockRenderer {
public:
    BlockRenderer(const TqzHTML& document, const EmbedForm& form, const SiteMenu& menu, bool fromRoot);

    // The content of a block for page (a site path): a line break, then its
    // lines, each ended by eol. Pure ASCII: other characters as references.
    // Throws tw::Error when a snippet cannot be read or the block grows
    // beyond MaxGeneratedFileSize.
    std::string Render(BlockKind kind, const std::string& page, PageItem item, const std::string& eol);
    // The stylesheet for the site's root; empty without one in the form.
    std::string Stylesheet();

private:
    enum class State { Other, Path, Page };

    // Filled snippets and entries are known by folder, snippet, item and state.
    struct Key {
        std::uint32_t folder = 0;
        std::uint32_t snippet = 0;
        std::uint32_t index = 0;
        std::uint32_t state = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const
        {
            return ((static_cast<std::size_t>(key.folder) * 1000003u + key.snippet) * 1000003u + key.index) * 4u +
                   key.state;
        }
    };

    void WriteLevel(std::size_t parent, const TLevelItem& level);
    void WriteEntry(std::size_t index, std::uint32_t snippet);
    void WriteSnippet(std::uint32_t snippet);
    void Append(const Fragment& fragment, std::uint32_t snippet);
    const Fragment& Prepared(const Key& key, LineList lines);
    std::uint32_t SnippetId(const std::string& name);
    std::string Finished(std::string text, const std::string& eol) const;
    State StateOf(std::size_t index) const;
    std::string LinkOf(std::size_t index) const;
    void StartPage(const std::string& page);

    const EmbedForm& form_;
    const SiteMenu& menu_;
    bool fromRoot_;
    SnippetFiles snippets_;
    DocumentPlaceholders placeholders_;
    ReplacementList itemPlaceholders_;
    ReplacementList pagePlaceholders_;
    std::unordered_map<Key, Fragment, KeyHash> fragments_;
    std::unordered_map<std::string, std::uint32_t> folderIds_;
    std::unordered_map<std::string, std::uint32_t> snippetIds_;
    std::vector<std::string> snippetNames_;
    // The page being drawn, its folder and item.
    std::string page_;
    std::uint32_t folder_ = 0;
    PageItem item_;
    std::string block_;
    std::size_t size_ = 0;
};

} // namespace tw
