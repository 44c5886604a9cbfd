#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

// One file of a WriteFilesAtomically call: the bytes are the caller's and
// must outlive the call. errorPattern is the message when this file cannot be
// written ("%s" becomes the path); the reason is added. fsPath is the path as
// the file system names it, for one that Windows-1252 cannot hold; path then
// only names it in messages.
struct FileToWrite {
    std::string path;
    std::string_view bytes;
    std::string errorPattern = "Fehler beim Erstellen der Datei %s";
    std::filesystem::path fsPath = {};
};

// Writes files that belong together. Every file's bytes go to a temporary
// file beside its target first; only once all of them are complete (and,
// with syncToDisk, on stable storage) and named are the targets replaced,
// one rename each. A failure before that point leaves every target
// untouched and no temporary file. A rename that fails after others
// succeeded (which hardly happens, as every name is in place by then)
// leaves the targets before it replaced and the rest untouched. With
// syncToDisk, each folder is synced once after all renames.
// Temporary files of killed writers in the targets' folders are removed.
// tw::Error carries the file's pattern and the reason in German.
// A target that is a symbolic link is written through: the file it points to
// is replaced and the link stays. Existing targets keep their permissions;
// a target that is read-only or no regular file is refused.
void WriteFilesAtomically(const std::vector<FileToWrite>& files, bool syncToDisk = true);

// WriteFilesAtomically for one file: the target holds its old bytes or its
// new ones, never a part. syncToDisk is worth it for project files.
void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes,
                         const std::string& errorPattern = "Fehler beim Erstellen der Datei %s",
                         bool syncToDisk = true);

} // namespace tw
