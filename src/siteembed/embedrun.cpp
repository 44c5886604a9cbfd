#include "siteembed/embedrun.h"

#include "generator/menuwriter.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "siteembed/blockrender.h"
#include "siteembed/pageedit.h"
#include "siteembed/sitemenu.h"

#include <filesystem>

namespace tw {
namespace {

// The background picture is named in the stylesheet, which lies in the
// site's root: its address is taken from there.
void BackgroundFromRoot(TqzHTML& document, const EmbedOptions& options)
{
    const std::string picture = document.GetString(siBackgroundImage);
    if (const std::optional<std::string> sitePath = SitePathOfLink(picture, options.linkFolder))
        document.SetString(siBackgroundImage, LinkFromPage("", *sitePath, options.fromRoot));
}

// A file of the site that is too large is refused before it is read.
bool TooLarge(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(ToFsPath(path), error);
    return !error && size > MaxPageSize;
}

} // namespace

EmbedResult PlanEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer)
{
    EmbedResult result;
    AssignLinkIDs(document.Tree());
    BackgroundFromRoot(document, options);
    const SiteFiles site = ListSiteFiles(options.siteFolder);
    const SiteMenu menu(document.Tree(), site, options.linkFolder);
    BlockRenderer renderer(document, form, menu, options.fromRoot);
    bool anyBlocks = false;
    for (const std::string& page : site.pages) {
        const std::string where = options.siteFolder + page + ": ";
        if (TooLarge(options.siteFolder + page)) {
            result.refused.push_back(where +
                                     "Die Seite ist gr\xF6\xDF"
                                     "er als " +
                                     std::to_string(MaxPageSize >> 20) + " MB und wird nicht bearbeitet.");
            continue;
        }
        std::optional<std::string> bytes;
        try {
            bytes = writer.ReadNow(page);
        } catch (const Error& error) {
            result.refused.push_back(error.what());
            continue;
        }
        if (!bytes)
            continue; // gone since the listing
        const PageEditRules rules{options.force.contains(page), options.insertMarkers};
        PageEdit edit = EditPage(page, *bytes, menu, site, renderer, rules);
        if (!edit.warning.empty())
            result.warnings.push_back(where + edit.warning);
        switch (edit.outcome) {
        case PageEdit::Outcome::Unchanged:
            anyBlocks = true;
            ++result.unchanged;
            break;
        case PageEdit::Outcome::Changed:
            anyBlocks = true;
            result.changes.push_back({page, std::move(*bytes), std::move(edit.bytes)});
            break;
        case PageEdit::Outcome::NoMarkers:
            result.withoutMarkers.push_back(options.siteFolder + page);
            break;
        case PageEdit::Outcome::Refused:
            anyBlocks = true;
            result.refused.push_back(where + edit.message);
            break;
        }
    }
    // One stylesheet for all pages: a change of colour rewrites one file.
    const std::string stylesheet = renderer.Stylesheet();
    if (anyBlocks && !stylesheet.empty()) {
        const std::optional<std::string> old = writer.ReadNow(form.stylesheetName);
        if (old && !old->starts_with(OwnStylesheetLine))
            result.refused.push_back(options.siteFolder + form.stylesheetName +
                                     ": Die Datei stammt nicht vom Programm und wird nicht \xFC"
                                     "berschrieben.");
        else if (old != stylesheet)
            result.changes.push_back({form.stylesheetName, old, stylesheet});
    }
    return result;
}

void WriteEmbed(EmbedResult& result, SiteWriter& writer, RunState& state)
{
    if (result.changes.empty())
        return;
    state.Keep(result.changes, writer);
    try {
        std::vector<std::string> skipped = writer.Apply(result.changes);
        result.refused.insert(result.refused.end(), skipped.begin(), skipped.end());
    } catch (const Error&) {
        // Old bytes that could not be put back stay where undo finds them.
        if (writer.RestoreFailed())
            state.Finish(result.changes);
        else
            state.Abandon();
        result.changes.clear();
        throw;
    }
    state.Finish(result.changes);
}

} // namespace tw
