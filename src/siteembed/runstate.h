#pragma once

#include "siteembed/sitewriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw {

// The old bytes of the files a run changes, kept outside the site (in the
// user's state folder, one folder per site) so that the last run can be
// undone. A run's files are kept as "pending" while it writes and become
// "last" once it is done.
class RunState {
public:
    // stateRoot: the user's state folder; site: the site folder.
    RunState(const std::filesystem::path& stateRoot, const std::string& siteFolder);

    // Keeps the old bytes of every change before anything is written;
    // throws tw::Error when they cannot be kept (then nothing may be written).
    void Keep(const std::vector<FileChange>& changes, SiteWriter& writer);
    // The run wrote these changes (Keep's less the skipped): they become the
    // last run. Without any, the last run stays what it was.
    void Finish(const std::vector<FileChange>& written);
    // The run wrote nothing: what Keep kept goes.
    void Abandon();

    // The changes that undo the last run, for the files that still hold
    // what it wrote; skipped gets a message for each of the others.
    // Throws tw::Error when there is no run to undo.
    std::vector<FileChange> UndoChanges(SiteWriter& writer, std::vector<std::string>& skipped) const;
    // The last run is undone: it is forgotten.
    void Forget();

private:
    std::filesystem::path folder_;
    std::string site_;
};

} // namespace tw
