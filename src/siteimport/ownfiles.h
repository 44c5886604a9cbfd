#pragma once

// The program's own files among a site's pages: menu files the generator
// wrote (the main file and submenu files, under whatever name) and framesets
// that show them. They are no pages of the site.

#include <filesystem>

namespace tw {

// True when the page file at path is one of them (see IsProgramFile).
// Throws tw::Error when it cannot be read.
bool IsProgramPage(const std::filesystem::path& path);

} // namespace tw
