#pragma once

#include <string>

namespace tw {

// The template set that the desktop program's template list would select for
// a project's "Template" setting: the sub-directory of the template directory
// whose name matches without regard to letter case (an exact match first).
// Empty when there is none, as with no entry selected.
std::string SelectTemplateName(const std::string& templateSetting);

} // namespace tw
