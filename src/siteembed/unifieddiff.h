#pragma once

#include <string>
#include <string_view>

namespace tw {

// The difference of two versions of a file as a unified diff by lines, with
// three lines of context; name heads it ("--- a/name", "+++ b/name"). Lines
// keep their bytes, line breaks included.
std::string UnifiedDiff(const std::string& name, std::string_view before, std::string_view after);

} // namespace tw
