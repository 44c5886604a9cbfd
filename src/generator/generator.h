#pragma once

#include "platform/messages.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

class TqzHTML;

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

// Hands the "VarList" of the named template set to the document's variables
// (an empty list when the set has none or cannot be found).
void LoadTemplateVarList(TqzHTML& document, const std::string& templateName);

} // namespace tw
