#pragma once

#include <string>

namespace tw {

// Reads a whole file as bytes. Throws tw::Error with a German text when the
// file cannot be opened or read.
std::string ReadFileBytes(const std::string& cp1252Path);

// Writes a file completely or not at all: the bytes go to a temporary file in
// the same directory, which replaces the target only once it was written and
// flushed. On failure the target is untouched and tw::Error is thrown with
// the given message pattern ("%s" becomes the path). An existing target keeps
// its permissions. syncToDisk also waits until the data is on stable storage
// (worth it for project files; generated files can be made again).
void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes,
                         const std::string& errorPattern = "Fehler beim Erstellen der Datei %s",
                         bool syncToDisk = true);

} // namespace tw
