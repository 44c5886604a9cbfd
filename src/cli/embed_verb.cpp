#include "cli/embed_verb.h"

#include "cli/checksite.h"
#include "cli/verbs.h"
#include "platform/codec.h"
#include "platform/datadirs.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "siteembed/embedrun.h"
#include "siteembed/sitelinks.h"
#include "siteembed/sitemapxml.h"
#include "siteembed/unifieddiff.h"

#include <filesystem>

namespace tw::cli {
namespace {

namespace fs = std::filesystem;

std::string WithSeparator(std::string folder)
{
    if (folder.empty())
        return "./";
    if (!IsPathSeparator(folder.back()))
        folder += '/';
    return folder;
}

// The site path of a file or folder given on the command line, when it lies
// in the site; nothing else.
std::optional<std::string> SitePathOf(const std::string& siteFolder, const std::string& path, bool folder)
{
    std::error_code error;
    const fs::path site = fs::weakly_canonical(ToFsPath(siteFolder), error);
    const fs::path inner = fs::weakly_canonical(ToFsPath(path), error);
    const fs::path relative = inner.lexically_relative(site);
    if (error || relative.empty() || *relative.begin() == "..")
        return std::nullopt;
    std::string sitePath = relative == "." ? std::string() : FromFsPath(relative.generic_string());
    if (folder && !sitePath.empty())
        sitePath += '/';
    return sitePath;
}

void Tell(const std::vector<std::string>& messages, MessageLines& lines, const std::string& prefix = {})
{
    for (const std::string& message : messages)
        lines.ShowMessage(prefix + message);
}

int Undo(const Invocation& invocation, SiteWriter& writer, RunState& state, std::ostream& out, MessageLines& lines)
{
    std::vector<std::string> skipped;
    if (invocation.dryRun) {
        state.StageUndo(writer, skipped);
        for (const FileChange& change : writer.Changes())
            out << "W\xC3\xBCrde zur\xC3\xBC"
                   "ckgesetzt: "
                << Cp1252ToUtf8(change.sitePath) << '\n';
        writer.Discard();
    } else {
        skipped = UndoLastRun(writer, state);
        out << "Zur\xC3\xBC"
               "ckgesetzt: "
            << writer.Changes().size() << '\n';
    }
    Tell(skipped, lines);
    return skipped.empty() ? ExitSuccess : ExitFailure;
}

// The sitemap beside the pages: written as checksite writes it, or by a
// dry run or check only handed to show. False when it could not be written
// or, with --check, would change.
bool EmbedSitemap(const Invocation& invocation, const TqzHTML& document, const std::string& siteFolder,
                  const std::string& mainFile, const ChangeSink& show, std::ostream& out, MessageLines& lines)
{
    try {
        const MenuSite site = ReadMenuSite(siteFolder, mainFile);
        if (!invocation.check && !invocation.dryRun)
            return WriteSitemapOf(document, site, *invocation.sitemap, out, lines);
        const std::string xml = SitemapXml(document, site, *invocation.sitemap);
        const std::optional<std::string> old = OwnSitemap(site);
        if (old == xml)
            return true;
        show(SitemapName, SiteFileIdentity{}, old, xml);
        return !invocation.check;
    } catch (const Error& error) {
        lines.ShowMessage(error.what());
        return false;
    }
}

} // namespace

int RunEmbed(const Invocation& invocation, TqzHTML& document, std::ostream& out, MessageLines& lines)
{
    const std::string mainFile = ResolveFromProjectFolder(invocation.project, document.GetFileSetting(fsFilename));
    if (!invocation.site && document.GetFileSetting(fsFilename).empty()) {
        lines.ShowMessage("Das Projekt nennt keine Hauptdatei; bitte den Ordner der Website angeben.");
        return ExitUsage;
    }
    EmbedOptions options;
    options.siteFolder = WithSeparator(invocation.site.value_or(ExtractFilePath(mainFile)));
    if (!DirectoryExists(options.siteFolder)) {
        lines.ShowMessage(FormatMessage("Den Ordner %s gibt es nicht.", options.siteFolder));
        return ExitUsage;
    }
    // Links are taken from the main file's folder; one outside the site
    // leaves them taken from the site's root.
    options.linkFolder = SitePathOf(options.siteFolder, WithSeparator(ExtractFilePath(mainFile)), true).value_or("");
    options.fromRoot = invocation.fromRoot;
    options.insertMarkers = invocation.insertMarkers;
    for (const std::string& page : invocation.force) {
        const std::optional<std::string> sitePath = SitePathOf(options.siteFolder, page, false);
        options.force.insert(sitePath ? *sitePath : SitePathOfLink(page, "").value_or(page));
    }
    SiteWriter writer(options.siteFolder);
    RunState state(UserStateDirectory(), options.siteFolder);
    if (invocation.undo)
        return Undo(invocation, writer, state, out, lines);

    const std::optional<EmbedForm> form = LoadEmbedForm(document, lines);
    if (!form)
        return ExitFailure;
    options.program = "treeweaver-cli " TW_VERSION_TEXT;
    EmbedResult result;
    bool failed = false;
    // With --check or --dry-run nothing is written: each change is only shown.
    const ChangeSink show = [&](const std::string& sitePath, const SiteFileIdentity&,
                                const std::optional<std::string>& old, const std::string& after) {
        if (invocation.check)
            out << "W\xC3\xBCrde ge\xC3\xA4ndert: " << Cp1252ToUtf8(options.siteFolder + sitePath) << '\n';
        else
            out << UnifiedDiff(Cp1252ToUtf8(sitePath), old.value_or(""), after);
    };
    if (invocation.check || invocation.dryRun) {
        result = PlanEmbed(document, *form, options, writer, state.LoadIndex(), nullptr, show);
        failed = invocation.check && !result.changed.empty();
    } else {
        StagedRun run;
        try {
            run = StageEmbed(document, *form, options, writer, state);
            CommitEmbed(run, writer, state);
        } catch (const Error& error) {
            lines.ShowMessage(error.what());
            failed = true;
        }
        result = std::move(run.result);
        if (invocation.verbose)
            lines.ShowNote("Dateien geschrieben: " + std::to_string(result.changed.size()) +
                           ", unver\xE4ndert: " + std::to_string(result.unchanged) +
                           ", ohne Markierungen: " + std::to_string(result.withoutMarkers.size()));
    }
    Tell(result.warnings, lines, "Warnung: ");
    for (const std::string& page : result.withoutMarkers)
        out << "Ohne Markierungen: " << Cp1252ToUtf8(page) << '\n';
    failed = failed || !result.refused.empty();
    Tell(result.refused, lines);
    const std::string& mainName = document.GetFileSetting(fsFilename);
    if (invocation.sitemap && !EmbedSitemap(invocation, document, options.siteFolder,
                                            mainName.empty() ? mainName : mainFile, show, out, lines))
        failed = true;
    out << std::flush;
    return failed ? ExitFailure : ExitSuccess;
}

} // namespace tw::cli
