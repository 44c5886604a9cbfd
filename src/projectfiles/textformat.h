#pragma once

#include "projectfiles/loadoutcome.h"

#include <string>

namespace tw {

class TqzHTML;

// The version named by the first line of a menu file ("TWF 2" gives 2), or -1
// when the line has no valid header.
int DetectTextVersion(const std::string& firstLine);

// Reads a text project (or an older one) into a freshly reset document from
// the menu file's bytes and its companion files. Errors throw; a version
// other than 2 is shown to the user and reads no items and no settings.
LoadOutcome LoadTextProject(TqzHTML& document, const std::string& menuPath, const std::string& menuBytes);

// Writes the menu file (header and the items of levels 1 and 2), the settings
// file and the variables file in that order; an error stops the
// rest, and each file is replaced only once its new content was written.
void SaveTextProject(const TqzHTML& document, const std::string& menuPath);

} // namespace tw
