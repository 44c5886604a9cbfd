#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tw {

// A text project is three files, and no file system replaces three files in
// one step. While a save replaces them, a note beside the menu file names
// the size and checksum of each file before and after; it goes once all
// three are in place. A save killed between the renames leaves the note
// behind, and a reader finds files of two saves: some as they were before,
// others as they are after.
// The note lives beside the files rather than in them, as the bytes of
// the three files are fixed by their format.

// The note of the text project whose menu file is menuPath: a hidden file
// named after a checksum of the menu file's name, so that it fits beside any
// name the menu file can have.
std::string SaveNotePath(const std::string& menuPath);

// The bytes of the three files of a text project: menu, settings, variables.
using TextProjectBytes = std::array<std::string_view, 3>;

// The files of the project as they are now, missing ones empty.
std::array<std::string, 3> CurrentFiles(const std::string& menuPath);

// The note for a save that replaces the files before by those after.
std::string SaveNoteBytes(const TextProjectBytes& before, const TextProjectBytes& after);

// True when a save of the project was cut short between its renames (or is
// between them now): with a note in place, one file holds its bytes after
// the save and another its different bytes before. menuBytes are the menu
// file's bytes as read; the companion files are read here.
bool IsMixedSet(const std::string& menuPath, std::string_view menuBytes);
// The same with the menu file read here as well.
bool IsMixedSet(const std::string& menuPath);

} // namespace tw
