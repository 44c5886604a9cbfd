#pragma once

#include <filesystem>
#include <string>

namespace tw {

// Document strings are Windows-1252; these convert them to and from the
// platform's file-system paths (UTF-8 on Linux, UTF-16 on Windows).
std::filesystem::path ToFsPath(const std::string& cp1252Path);
std::string FromFsPath(const std::filesystem::path& path);

// "\" and "/" both count as separators, so Windows paths stored in projects
// work on every platform.
bool IsPathSeparator(char c);
// Everything up to and including the last separator (or the drive colon);
// empty if none.
std::string ExtractFilePath(const std::string& path);
// The part after the last separator (or the drive colon).
std::string ExtractFileName(const std::string& path);
// The extension of the file name including its dot, or empty.
std::string ExtractFileExt(const std::string& path);
// Replaces the extension of the file name (from its last dot, if that lies in
// the file name) or appends the new one.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// A path stored in a project, such as its output file name, as the file
// system is to take it: a relative one from the folder of the project file
// (when there is one), whatever the program's working folder is.
std::string ResolveFromProjectFolder(const std::string& projectFile, const std::string& path);

bool FileExists(const std::string& cp1252Path);
bool DirectoryExists(const std::string& cp1252Path);

} // namespace tw
