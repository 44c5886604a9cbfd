#pragma once

#include "platform/messages.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tw {

class MenuNode;
class MenuWriter;
class TqzHTML;
struct TemplateSet;

// The directory holding the template sets, with a trailing separator:
// "Templates" beside the program (or "templates"), or, for an installed
// program in <prefix>/bin, <prefix>/share/treeweaver/Templates.
std::string TemplatesDirectory();
// Replaces the resolved directory for the rest of the run (command-line
// companion, tests). An empty text restores the normal resolution.
void SetTemplatesDirectory(const std::string& directory);

// How many files a generation wrote and how many already held their bytes
// and were left alone.
struct GenerationCounts {
    std::size_t written = 0;
    std::size_t unchanged = 0;
    // Every file of the menu is in place.
    bool complete = false;
    // After a complete generation: the files in the main file's folder that
    // are named like submenu files but were not part of this generation
    // (paths, sorted), left over from earlier trees or templates.
    std::vector<std::string> staleFiles;
    // The extension of the submenu files, with its "."; empty for a menu in
    // one file.
    std::string submenuExt;
};

// Writes the HTML files of the document with its chosen template set and
// tells reporter what went wrong. A failed generation counts the files
// written before the failure.
GenerationCounts Generate(TqzHTML& document, MessageSink& reporter);
// The same into mainFile instead of the "Filename" setting; submenu files go
// beside it. The document's settings stay as they are.
GenerationCounts Generate(TqzHTML& document, const std::string& mainFile, MessageSink& reporter);

// Writes the files of a document one at a time, as they are asked for: the
// preview writes the page it shows, and another when that is shown. Each
// file holds the bytes a whole generation gives it. The document must not
// change while the object lives.
class PageGenerator {
public:
    // Loads the set, telling reporter why when it cannot be used.
    PageGenerator(TqzHTML& document, std::string mainFile, MessageSink& reporter);
    ~PageGenerator();
    PageGenerator(const PageGenerator&) = delete;
    PageGenerator& operator=(const PageGenerator&) = delete;

    bool Ready() const { return writer_ != nullptr; }
    // Writes the file that shows node: its submenu file when it has
    // children, otherwise its parent's; where that file is not written (too
    // deep, or one file for all), the next one up, and the main file for the
    // root and for no node. Returns its path; empty after telling reporter
    // what went wrong.
    std::string WritePageOf(const MenuNode* node, MessageSink& reporter);
    // The extension of the submenu files, with its "."; empty for a menu in
    // one file.
    std::string SubmenuExt() const;

private:
    std::string mainFile_;
    std::unique_ptr<TemplateSet> set_;
    std::unique_ptr<MenuWriter> writer_;
};

// Hands the "VarList" of the named template set to the document's variables
// (an empty list when the set has none or cannot be found).
void LoadTemplateVarList(TqzHTML& document, const std::string& templateName);

} // namespace tw
