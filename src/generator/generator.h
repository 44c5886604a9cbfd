#pragma once

#include <cstddef>
#include <string>

namespace tw {

class TqzHTML;

// The directory holding the template sets, with a trailing separator:
// "Templates" beside the program (or "templates"), or, for an installed
// program in <prefix>/bin, <prefix>/share/treeweaver/Templates.
std::string TemplatesDirectory();
// Replaces the resolved directory for the rest of the run (command-line
// companion, tests). An empty text restores the normal resolution.
void SetTemplatesDirectory(const std::string& directory);

// Writes the HTML files of the document with its chosen template set and
// returns how many were written; problems are shown through the message
// interface (and give 0).
std::size_t Generate(TqzHTML& document);

// Hands the "VarList" of the named template set to the document's variables
// (an empty list when the set has none or cannot be found).
void LoadTemplateVarList(TqzHTML& document, const std::string& templateName);

} // namespace tw
