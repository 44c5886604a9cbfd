#pragma once

#include "projectfiles/loadoutcome.h"

#include <optional>
#include <string>

namespace tw {

class TqzHTML;

// The version named by the first line of a menu file ("TWF 2" gives 2), or -1
// when the line has no valid header.
int DetectTextVersion(const std::string& firstLine);

// Reads a text project (or an older one) into a freshly reset document from
// the menu file's bytes and its companion files. Errors throw; a version
// other than 2 reads no items and no settings and is named in the outcome.
LoadOutcome LoadTextProject(TqzHTML& document, const std::string& menuPath, const std::string& menuBytes);

// The format keeps one item or variable per line: a line break in a caption,
// link or target of the items it stores (levels 1 and 2) or in a variable
// name would split it when read back. Names the first such item or variable
// ("Der Menüpunkt \"...\""); nothing when there is none. Variable values
// are stored in their one-line form and do not count.
std::optional<std::string> FindLineBreakForTextFormat(const TqzHTML& document);

// Names the first variable whose value has a line break ("Der Wert der
// Variable \"...\""): the text format joins such a value into one line.
std::optional<std::string> FindMultiLineValue(const TqzHTML& document);

// Replaces every line break that FindLineBreakForTextFormat or
// FindMultiLineValue would find by a blank (CR LF counts as one), so that
// the document can be saved as text as it is shown.
void ReplaceLineBreaksForTextFormat(TqzHTML& document);

// Writes the menu file (header and the items of levels 1 and 2), the settings
// file and the variables file: all three are written completely before any
// of them replaces the old one. Refuses (tw::Error) a menu file named with a
// companion file's extension and a document with line breaks the format
// cannot hold (FindLineBreakForTextFormat).
void SaveTextProject(const TqzHTML& document, const std::string& menuPath);

} // namespace tw
