#pragma once

#include <string>

namespace tw {

// The path of destination relative to the directory baseDir (which ends in a
// separator, or is empty). "\" and "/" both separate names. Windows paths
// (with a drive or a backslash) compare names without regard to case and give
// "\"-separated results; POSIX paths compare exactly and give "/".
// When the two paths lie on different drives or shares, when one is absolute
// and the other relative, or when baseDir is empty, destination comes back
// unchanged.
// Examples: C:\web\menu\ and C:\web\pages\a.htm give ..\pages\a.htm;
// /web/menu/ and /web/pages/a.htm give ../pages/a.htm.
std::string MakeRelativePath(const std::string& baseDir, const std::string& destination);

} // namespace tw
