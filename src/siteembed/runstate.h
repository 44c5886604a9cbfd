#pragma once

#include "siteembed/sitewriter.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// What a run keeps outside the site, in the user's state folder (one folder
// per site): the old bytes of the files it changes, so that the last run
// can be undone, and the identity of every page that was up to date after
// it, so that a run with nothing changed need not read those pages again.
// A run's old bytes are "pending" while it writes and become "last" once it
// is done.
class RunState {
public:
    // stateRoot: the user's state folder. Throws tw::Error without one.
    RunState(const std::filesystem::path& stateRoot, const std::string& siteFolder);

    // Starts keeping the old bytes of a new run.
    void Begin();
    // Keeps the old bytes of the change at this place among the run's
    // changes before anything is written; throws tw::Error when they cannot
    // be kept (then nothing may be written).
    void Keep(std::size_t index, const std::string& sitePath, const std::string& before, SiteWriter& writer);
    // The kept old bytes of a change.
    std::optional<std::string> OldBytes(std::size_t index) const;
    // The run made these changes (the others were skipped): they become
    // the last run. Without any, the last run stays what it was.
    void Finish(const std::vector<FileChange>& made);
    // The run wrote nothing: what it kept goes.
    void Abandon();

    // Stages the changes that undo the last run, for the files that still
    // hold what it wrote; skipped gets a message for each of the others.
    // Returns what the staged files hold now, by their place, to put back
    // should the undoing fail. Throws tw::Error when there is no run to undo.
    std::vector<std::optional<std::string>> StageUndo(SiteWriter& writer, std::vector<std::string>& skipped) const;
    // The last run is undone: it is forgotten.
    void Forget();

    // The pages up to date after the last run, by site path, and what
    // that run was made from (its inputs' checksum).
    struct PageIndex {
        std::string inputs;
        std::map<std::string, SiteFileIdentity> pages;
    };
    PageIndex LoadIndex() const;
    void SaveIndex(const PageIndex& index) const;

private:
    // The list of the run's changes, beside their old bytes.
    void WriteList(const std::vector<FileChange>& changes);

    std::filesystem::path folder_;
    std::string site_;
};

} // namespace tw
