#pragma once

#include <filesystem>
#include <string>

namespace tw {

// Where the template sets lie for a program in programDirectory: its
// "Templates" (or, where letter case matters, "templates") sub-directory, or
// for a program installed in <prefix>/bin, <prefix>/share/treeweaver/Templates.
// When none of them exists, the "Templates" sub-directory is named anyway, so
// the caller reports the template as missing.
std::filesystem::path ResolveTemplatesDirectory(const std::filesystem::path& programDirectory);

// A part of a file name that cannot lead into another directory: no path
// separator, no drive colon, no "..". The empty text counts as plain.
bool IsPlainName(const std::string& name);

// A template name must name a sub-directory of the template directory: one
// with a path separator, a drive colon or ".." in it is no template name.
bool IsTemplateName(const std::string& name);

// The directory of the named template set, with a trailing separator.
std::string TemplateSetDirectory(const std::string& name);

} // namespace tw
