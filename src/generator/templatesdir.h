#pragma once

#include <filesystem>
#include <string>
#include <vector>

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
// The message for a name that is not plain: what names it ("Die Dateiendung"),
// where tells where it stands (" in template.ini").
std::string NotPlainNameMessage(const std::string& what, const std::string& name, const std::string& where = {});

// The folders that hold template sets, each with a trailing separator, in
// the order in which a set of a given name is looked for: the user's own
// (<user data>/treeweaver/Templates), the program's (above), then each
// system data folder's treeweaver/Templates. Only folders that exist are
// named; a directory set with SetTemplatesDirectory replaces them all.
std::vector<std::string> TemplateSearchPath();

// A template name must name a sub-directory of the template directory: one
// with a path separator, a drive colon or ".." in it is no template name.
bool IsTemplateName(const std::string& name);

// The directory of the named template set, with a trailing separator: in
// the first folder of the search path that holds it. When none does, it is
// named in the program's folder, so the caller reports the set as missing.
std::string TemplateSetDirectory(const std::string& name);

} // namespace tw
