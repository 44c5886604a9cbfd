#pragma once

#include "platform/atomicwrite.h"
#include "platform/fileerrors.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// Reads a whole file as bytes. Only regular files are read (a FIFO or device
// would block or never end); symbolic links are followed. Throws tw::Error
// with a German text and its reason when the file cannot be opened or read.
std::string ReadFileBytes(const std::string& cp1252Path);
// The first maxBytes bytes of a file (all of a shorter one), under the same
// rules; path is as the file system has it.
std::string ReadFileHead(const std::filesystem::path& path, std::size_t maxBytes);

// Reads the file name (no separators) of folder, a file that belongs to the
// folder's owner: nothing when there is no such file. A symbolic link is
// followed only when the file it leads to lies inside folder too; one that
// leads out, and anything that is no regular file, throws tw::Error.
std::optional<std::string> ReadFileInFolder(const std::string& cp1252Folder, const std::string& name);

// The names of the regular files in a directory (an empty path stands for
// the working directory). Symbolic links, folders and other entries are left
// out, and so are names that Windows-1252 cannot hold: the program could not
// name those files again. Throws tw::Error when the directory cannot be read.
std::vector<std::string> RegularFileNames(const std::string& cp1252Directory);

// Deletes a regular file; a symbolic link, a folder or anything else under
// that name is refused, and so is a file its owner made read-only (which a
// generation would not replace either). Throws tw::Error with the path and
// the reason.
void DeleteRegularFile(const std::string& cp1252Path);
// Deletes each of the regular files, also after one failed; the messages of
// those that could not be deleted.
std::vector<std::string> DeleteRegularFiles(const std::vector<std::string>& cp1252Paths);

} // namespace tw
