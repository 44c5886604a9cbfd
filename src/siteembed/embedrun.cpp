#include "siteembed/embedrun.h"

#include "generator/menuwriter.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "siteembed/blockrender.h"
#include "siteembed/markers.h"
#include "siteembed/pageencoding.h"
#include "siteembed/sitemenu.h"

namespace tw {
namespace {

// The background picture is named in the stylesheet, which lies in the
// site's root: its address is taken from there while the blocks are drawn,
// and the document gets its own again afterwards.
class BackgroundFromRoot {
public:
    BackgroundFromRoot(TqzHTML& document, const EmbedOptions& options)
        : document_(document), own_(document.GetString(siBackgroundImage)), modified_(document.Modified())
    {
        if (const std::optional<std::string> sitePath = SitePathOfLink(own_, options.linkFolder))
            taken_ = LinkFromPage("", *sitePath, options.fromRoot);
        if (taken_ != own_)
            document.SetString(siBackgroundImage, taken_);
    }
    ~BackgroundFromRoot()
    {
        if (taken_ != own_) {
            document_.SetString(siBackgroundImage, own_);
            document_.SetModified(modified_);
        }
    }
    BackgroundFromRoot(const BackgroundFromRoot&) = delete;
    BackgroundFromRoot& operator=(const BackgroundFromRoot&) = delete;

private:
    TqzHTML& document_;
    std::string own_;
    std::string taken_ = own_;
    bool modified_;
};

// A checksum of everything the blocks of the pages are made of: the menu,
// the settings, the variables, the template set's files, the options and
// the site's files (which decide where links lead).
std::string InputsChecksum(const TqzHTML& document, const EmbedForm& form, const EmbedOptions& options,
                           const SiteFiles& site)
{
    std::string text = options.program + '\n' + options.linkFolder + '\n' + (options.fromRoot ? "r" : "-") +
                       (options.insertMarkers ? "i" : "-") + '\n';
    for (const std::string& page : options.force)
        text += page + '\n';
    for (const std::string& page : options.insertMarkersInto)
        text += page + '\n';
    text += options.inserted.breadcrumb ? "b" : "-";
    text += options.inserted.prevNext ? "p\n" : "-\n";
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        text += std::to_string(node->Level()) + '\t' + node->Caption();
        if (node->Item())
            text += '\t' + node->Item()->Link + '\t' + node->Item()->Target;
        text += '\n';
    }
    for (int index = 1; index <= ColorCount; ++index)
        text += std::to_string(document.GetColor(index)) + '\n';
    for (int index = 1; index <= StringCount; ++index)
        text += document.GetString(index) + '\n';
    for (int index = 1; index <= 3; ++index)
        text += document.GetFileSetting(index) + '\n';
    for (std::size_t index = 0; index < document.Variables().Count(); ++index) {
        std::string name;
        std::string value;
        document.Variables().GetVariable(index, name, value);
        text += name + '\t' + value + '\n';
    }
    for (const std::string& name : RegularFileNames(form.set.TemplateDir))
        text += name + '\t' + ReadFileInFolder(form.set.TemplateDir, name).value_or("") + '\n';
    // The stylesheet the first run adds changes no link.
    for (const std::string& file : site.files) {
        if (file != form.stylesheetName)
            text += file + '\n';
    }
    for (const std::string& folder : site.folders)
        text += folder + '\n';
    return BlockChecksum(text);
}

} // namespace

EmbedResult PlanEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer,
                      const RunState::PageIndex& last, RunState::PageIndex* next, const ChangeSink& sink)
{
    EmbedResult result;
    AssignLinkIDs(document.Tree());
    const BackgroundFromRoot background(document, options);
    const SiteFiles site = ListSiteFiles(options.siteFolder);
    const SiteMenu menu(document.Tree(), site, options.linkFolder);
    BlockRenderer renderer(document, form, menu, options.fromRoot);
    const std::string inputs = InputsChecksum(document, form, options, site);
    const bool lastHolds = last.inputs == inputs;
    if (next)
        next->inputs = inputs;
    bool anyBlocks = false;
    for (const std::string& page : site.pages) {
        if (lastHolds) {
            const auto known = last.pages.find(page);
            if (known != last.pages.end() && writer.IdentityNow(page) == known->second) {
                anyBlocks = true;
                PageReport& report = result.pages.emplace_back();
                report.sitePath = page;
                report.shown.identity = known->second;
                ++result.unchanged;
                if (next)
                    next->pages.insert(*known);
                continue;
            }
        }
        const std::string where = options.siteFolder + page + ": ";
        PageReport& report = result.pages.emplace_back();
        report.sitePath = page;
        const auto refuse = [&](PageState state, std::string message) {
            report.state = state;
            report.message = message;
            result.refused.push_back(where + message);
        };
        SiteFileIdentity identity;
        std::optional<std::string> bytes;
        try {
            bytes = writer.ReadNow(page, MaxPageSize, &identity);
        } catch (const Error& error) {
            refuse(PageState::Refused, error.what());
            continue;
        }
        if (!bytes) { // gone since the listing
            result.pages.pop_back();
            continue;
        }
        report.encoding = PageEncoding(*bytes);
        report.shown.identity = identity;
        const PageEditRules rules{options.force.contains(page),
                                  options.insertMarkers || options.insertMarkersInto.contains(page), options.inserted};
        const PageEdit edit = EditPage(page, *bytes, menu, site, renderer, rules);
        if (const std::size_t item = edit.item ? edit.item : menu.ItemOfPage(page))
            report.item = menu.Items()[item].node->Caption();
        if (!edit.warning.empty())
            result.warnings.push_back(where + edit.warning);
        if (edit.outcome != PageEdit::Outcome::NoMarkers)
            anyBlocks = true;
        switch (edit.outcome) {
        case PageEdit::Outcome::Unchanged:
            ++result.unchanged;
            if (next)
                next->pages.emplace(page, identity);
            break;
        case PageEdit::Outcome::Changed: {
            report.state = PageState::Changes;
            report.shown.newChecksum = BlockChecksum(edit.bytes);
            if (options.shown) {
                const auto shown = options.shown->find(page);
                if (shown == options.shown->end() || shown->second != report.shown) {
                    refuse(PageState::ChangedSince,
                           "Die Seite wurde seit der Anzeige ge\xE4ndert und bleibt, wie sie ist.");
                    break;
                }
            }
            sink(page, identity, bytes, edit.bytes);
            result.changed.push_back(page);
            break;
        }
        case PageEdit::Outcome::NoMarkers:
            report.state = PageState::NoMarkers;
            result.withoutMarkers.push_back(options.siteFolder + page);
            break;
        case PageEdit::Outcome::Refused:
            refuse(edit.editedByHand ? PageState::EditedByHand
                   : edit.markerLine ? PageState::BadMarkers
                                     : PageState::Refused,
                   edit.message);
            report.line = edit.markerLine;
            break;
        }
    }
    // One stylesheet for all pages: a change of colour rewrites one file.
    const std::string stylesheet = renderer.Stylesheet();
    if (anyBlocks && !stylesheet.empty()) {
        SiteFileIdentity identity;
        const std::optional<std::string> old = writer.ReadNow(form.stylesheetName, MaxPageSize, &identity);
        if (old && !old->starts_with(OwnStylesheetLine)) {
            result.refused.push_back(options.siteFolder + form.stylesheetName +
                                     ": Die Datei stammt nicht vom Programm und wird nicht \xFC"
                                     "berschrieben.");
        } else if (old != stylesheet) {
            sink(form.stylesheetName, identity, old, stylesheet);
            result.changed.push_back(form.stylesheetName);
        }
    }
    return result;
}

StagedRun StageEmbed(TqzHTML& document, const EmbedForm& form, const EmbedOptions& options, SiteWriter& writer,
                     RunState& state)
{
    StagedRun run;
    state.Begin();
    const auto stage = [&](const std::string& sitePath, const SiteFileIdentity& before,
                           const std::optional<std::string>& old, const std::string& after) {
        SiteFileIdentity staged = before;
        if (old) {
            state.Keep(writer.Changes().size(), sitePath, *old, writer);
            // A second name changes the file's change time and nothing else;
            // any other difference is a change meanwhile, found on commit.
            const SiteFileIdentity now = writer.IdentityNow(sitePath);
            SiteFileIdentity linked = now;
            linked.changed = before.changed;
            if (linked == before)
                staged = now;
        }
        writer.Stage(sitePath, staged, after);
    };
    try {
        run.result = PlanEmbed(document, form, options, writer, state.LoadIndex(), &run.index, stage);
    } catch (const Error&) {
        writer.Discard();
        state.Abandon();
        throw;
    }
    return run;
}

void CommitEmbed(StagedRun& run, SiteWriter& writer, RunState& state)
{
    try {
        const std::vector<std::string> skipped =
            writer.Commit([&state](std::size_t place) { return state.OldBytes(place); });
        run.result.refused.insert(run.result.refused.end(), skipped.begin(), skipped.end());
    } catch (const Error&) {
        // Old bytes that could not be put back stay where undo finds them.
        if (writer.RestoreFailed())
            state.Finish(writer.Changes());
        else
            state.Abandon();
        run.result.changed.clear();
        throw;
    }
    run.result.changed.clear();
    for (const FileChange& change : writer.Changes()) {
        run.result.changed.push_back(change.sitePath);
        run.index.pages[change.sitePath] = change.after;
    }
    for (PageReport& page : run.result.pages) {
        if (page.state == PageState::Changes && !run.index.pages.contains(page.sitePath))
            page.state = PageState::ChangedSince;
    }
    state.Finish(writer.Changes());
    state.SaveIndex(run.index);
}

std::vector<std::string> UndoLastRun(SiteWriter& writer, RunState& state)
{
    std::vector<std::string> skipped;
    const std::vector<std::optional<std::string>> current = state.StageUndo(writer, skipped);
    std::vector<std::string> late = writer.Commit([&current](std::size_t place) { return current[place]; });
    skipped.insert(skipped.end(), late.begin(), late.end());
    // The old bytes of a skipped page stay for another try.
    if (skipped.empty())
        state.Forget();
    return skipped;
}

} // namespace tw
