#pragma once

#include "document/qzhtml.h"
#include "siteembed/embedform.h"
#include "siteembed/pageedit.h"
#include "siteembed/runstate.h"
#include "siteembed/sitewriter.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tw {

// A page as it was shown before writing: writing leaves a page that no
// longer is what was shown.
struct ShownPage {
    SiteFileIdentity identity;
    std::string newChecksum; // of the new bytes shown
    bool operator==(const ShownPage&) const = default;
};

struct EmbedOptions {
    std::string siteFolder; // ends with a separator
    std::string linkFolder; // the site path the items' links are taken from
    bool fromRoot = false;  // links from the site's root ("/...") instead of relative ones
    bool insertMarkers = false;
    std::set<std::string> insertMarkersInto; // these pages get markers when they have none
    InsertedBlocks inserted;                 // blocks inserted markers make room for
    // When given, only pages that are still as shown here are changed.
    std::optional<std::map<std::string, ShownPage>> shown;
    std::set<std::string> force; // site paths of pages whose edited blocks are overwritten
    std::string program;         // name and version: a new program draws every page anew
};

// How one page stands.
enum class PageState { Changes, Unchanged, NoMarkers, BadMarkers, EditedByHand, ChangedSince, Refused };

struct PageReport {
    std::string sitePath;
    PageState state = PageState::Unchanged;
    int line = 0;         // BadMarkers: the line of the fault
    std::string item;     // the caption of the page's item, empty when none
    std::string encoding; // empty for a page not read again
    std::string message;  // Refused: why
    ShownPage shown;      // what the page was and would become
};

// What a run does or would do to the site.
struct EmbedResult {
    std::vector<PageReport> pages;    // every page of the site, in site order
    std::vector<std::string> changed; // site paths of the files that change
    std::vector<std::string> refused; // one message per page left as it was
    std::vector<std::string> warnings;
    std::vector<std::string> withoutMarkers; // pages without markers, left alone
    std::size_t unchanged = 0;
};

// Told every file that changes: its site path, what it was, its old bytes
// (nothing for a new file) and its new ones.
using ChangeSink = std::function<void(const std::string& sitePath, const SiteFileIdentity& before,
                                      const std::optional<std::string>& old, const std::string& after)>;

// Reads every page of the site, prepares its new bytes and hands each
// change to sink; writes nothing itself. A page that the last run left up
// to date (last) and that is still what it was is not read again, as long
// as nothing the blocks are made of changed. next, when given, gets the
// pages up to date without a change. Throws tw::Error when the site cannot
// be read or a snippet is unusable.
EmbedResult PlanEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer,
                      const RunState::PageIndex& last, RunState::PageIndex* next, const ChangeSink& sink);

// A run in two steps: every change staged beside its file with its old
// bytes kept, then all of them put in place.
struct StagedRun {
    EmbedResult result;
    RunState::PageIndex index; // for the next run
};
StagedRun StageEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer,
                     RunState& state);
// Pages changed since they were read join the refused ones. Throws
// tw::Error when the changes could not be made; no page is changed then.
void CommitEmbed(StagedRun& run, SiteWriter& writer, RunState& state);

// Gives the files of the last run their old bytes back, those that still hold
// what it wrote; the messages of the others. Throws tw::Error when there is
// no run to undo or the undoing failed.
std::vector<std::string> UndoLastRun(SiteWriter& writer, RunState& state);

} // namespace tw
