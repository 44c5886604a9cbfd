#pragma once

#include <filesystem>
#include <vector>

namespace tw {

// The user's own data folder: $XDG_DATA_HOME, or ~/.local/share when it is
// unset or not absolute; empty when neither is known.
std::filesystem::path UserDataDirectory();
// The user's folder for state kept between runs: $XDG_STATE_HOME, or
// ~/.local/state when it is unset or not absolute; empty when neither is known.
std::filesystem::path UserStateDirectory();

// The system's data folders, most important first: the absolute entries of
// $XDG_DATA_DIRS, or /usr/local/share and /usr/share when it names none.
std::vector<std::filesystem::path> SystemDataDirectories();

} // namespace tw
