#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

// Reads a whole file as bytes. Only regular files are read (a FIFO or device
// would block or never end); symbolic links are followed. Throws tw::Error
// with a German text and its reason when the file cannot be opened or read.
std::string ReadFileBytes(const std::string& cp1252Path);

// One file of a WriteFilesAtomically call: the bytes are the caller's and
// must outlive the call. errorPattern is the message when this file cannot be
// written ("%s" becomes the path); the reason is added.
struct FileToWrite {
    std::string path;
    std::string_view bytes;
    std::string errorPattern = "Fehler beim Erstellen der Datei %s";
};

// Writes files completely or not at all. Every file's bytes go to a
// temporary file beside its target first; the targets are replaced only once
// all of them were written (and, with syncToDisk, are on stable storage).
// On failure no temporary file remains, the targets are untouched and
// tw::Error is thrown with the file's pattern and the reason in German.
// A target that is a symbolic link is written through: the file it points to
// is replaced and the link stays. Existing targets keep their permissions;
// a target that is read-only or no regular file is refused.
void WriteFilesAtomically(const std::vector<FileToWrite>& files, bool syncToDisk = true);

// WriteFilesAtomically for one file. syncToDisk is worth it for project
// files; generated files can be made again.
void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes,
                         const std::string& errorPattern = "Fehler beim Erstellen der Datei %s",
                         bool syncToDisk = true);

// Writes a generated file, which can be made again: atomically as above but
// without forcing it to disk, and not at all when the target already holds
// exactly these bytes (it then keeps its time stamp). True when the file was
// written, false when it was left unchanged.
bool WriteFileUnlessUnchanged(const std::string& cp1252Path, std::string_view bytes,
                              const std::string& errorPattern = "Fehler beim Erstellen der Datei %s");

// The names of the regular files in a directory (an empty path stands for
// the working directory). Symbolic links, folders and other entries are left
// out, and so are names that Windows-1252 cannot hold: the program could not
// name those files again. Throws tw::Error when the directory cannot be read.
std::vector<std::string> RegularFileNames(const std::string& cp1252Directory);

// Deletes a regular file; a symbolic link, a folder or anything else under
// that name is refused. Throws tw::Error with the path and the reason.
void DeleteRegularFile(const std::string& cp1252Path);
// Deletes each of the regular files, also after one failed; the messages of
// those that could not be deleted.
std::vector<std::string> DeleteRegularFiles(const std::vector<std::string>& cp1252Paths);

// The reason for a failed file operation as a German sentence without the
// final full stop ("Der Datenträger ist voll"), from an errno value.
std::string FileErrorReason(int errorNumber);

// A message text followed by its reason: "text: Reason." or, when the text
// already ends in a full stop, "text Reason.".
std::string WithReason(const std::string& text, const std::string& reason);

} // namespace tw
