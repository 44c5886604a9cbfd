#pragma once

#include "document/qzhtml.h"
#include "siteembed/embedform.h"
#include "siteembed/runstate.h"
#include "siteembed/sitewriter.h"

#include <set>
#include <string>
#include <vector>

namespace tw {

struct EmbedOptions {
    std::string siteFolder; // ends with a separator
    std::string linkFolder; // the site path the items' links are taken from
    bool fromRoot = false;  // links from the site's root ("/...") instead of relative ones
    bool insertMarkers = false;
    std::set<std::string> force; // site paths of pages whose edited blocks are overwritten
};

// What a run does or would do to the site.
struct EmbedResult {
    std::vector<FileChange> changes;  // the pages (and the stylesheet) that change
    std::vector<std::string> refused; // one message per page left as it was
    std::vector<std::string> warnings;
    std::vector<std::string> withoutMarkers; // pages without markers, left alone
    std::size_t unchanged = 0;
};

// Reads every page of the site and prepares its new bytes; writes nothing.
// Throws tw::Error when the site cannot be read or a snippet is unusable.
EmbedResult PlanEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer);

// Writes the planned changes, keeping the old bytes first. Pages skipped as
// changed meanwhile join the refused ones. Throws tw::Error when the
// changes could not be written; no page is changed then.
void WriteEmbed(EmbedResult& result, SiteWriter& writer, RunState& state);

} // namespace tw
