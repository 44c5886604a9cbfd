#include "cli/verbs.h"

#include "cli/arguments.h"
#include "cli/checksite.h"
#include "cli/embed_verb.h"
#include "cli/message_lines.h"
#include "cli/project_json.h"
#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "project/projectopening.h"
#include "project/templatelookup.h"
#include "projectfiles/projectfiles.h"
#include "siteimport/siteimport.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace tw::cli {

namespace {

// The folder of the output file is made when it is missing, as static site
// generators do; a failure shows up as the generator's write error.
void CreateOutputDirectory(const std::string& outputFile)
{
    const std::string directory = ExtractFilePath(outputFile);
    if (directory.empty())
        return;
    std::error_code ignored;
    std::filesystem::create_directories(ToFsPath(directory), ignored);
}

// The files a project in this format is saved to.
std::vector<std::string> ProjectFiles(const std::string& path, int format)
{
    if (format != pfText) {
        return {path};
    }
    return {path, ChangeFileExt(path, ".tws"), ChangeFileExt(path, ".twv")};
}

// Saving over the sitemap that is read would lose it: one of the project's
// files that is the source itself (also through another name) is refused.
bool WouldOverwriteSource(const std::string& source, const std::string& output, int format, MessageLines& lines)
{
    for (const std::string& file : ProjectFiles(output, format)) {
        std::error_code ignored;
        if (std::filesystem::equivalent(ToFsPath(source), ToFsPath(file), ignored)) {
            lines.ShowMessage(FormatMessage("Die Projektdatei %s ist die Quelle des Imports und wird nicht "
                                            "\xFC"
                                            "berschrieben; bitte einen anderen Namen w\xE4hlen.",
                                            file));
            return true;
        }
    }
    return false;
}

// A new project holding the menu of an existing site. The text format keeps
// two item levels only, so a deeper menu is not cut down to fit it. True
// when the project was written: what was told on the way (pages that could
// not be read, say) is then a warning about a project that exists.
bool Import(const Invocation& invocation, MessageLines& lines)
{
    if (WouldOverwriteSource(invocation.source, *invocation.output, invocation.format, lines)) {
        return false;
    }
    TqzHTML document;
    if (invocation.templateName) {
        const std::string name = SelectTemplateName(*invocation.templateName);
        if (name.empty()) {
            lines.ShowMessage("Die Vorlage \"" + *invocation.templateName + "\" gibt es nicht.");
            return false;
        }
        document.SetFileSetting(fsTemplate, name);
        LoadTemplateVarList(document, name);
    }
    // A new project has no output file yet: links start from the source folder.
    const ImportedSite site = ReadSite(invocation.source, std::string(), lines);
    if (site.items.empty()) {
        return false;
    }
    const std::size_t count = AddImportedItems(document, site);
    if (invocation.format == pfText && document.HasDeepLevels()) {
        lines.ShowMessage("Das importierte Men\xFC hat mehr als zwei Ebenen, eine .twf-Datei h\xE4lt nur zwei: "
                          "bitte als .twb speichern.");
        return false;
    }
    if (!SaveProject(document, *invocation.output, invocation.format, lines)) {
        return false;
    }
    if (invocation.verbose) {
        lines.ShowNote("Men\xFCpunkte importiert: " + std::to_string(count));
    }
    return true;
}

// Stale submenu files are named in one line, or with prune deleted, each
// named as it goes. They are no failure of the generation: only a file that
// cannot be deleted is. False after such a failure.
bool ReportStaleFiles(const std::vector<std::string>& staleFiles, bool prune, MessageLines& lines)
{
    if (staleFiles.empty())
        return true;
    if (!prune) {
        std::string names;
        for (const std::string& path : staleFiles)
            names += " " + ExtractFileName(path);
        lines.ShowNote("Warnung: Veraltete Untermen\xFC-Dateien im Ordner der Hauptdatei (--prune l\xF6scht sie):" +
                       names);
        return true;
    }
    bool deleted = true;
    for (const std::string& path : staleFiles) {
        try {
            DeleteRegularFile(path);
            lines.ShowNote("Gel\xF6scht: " + path);
        } catch (const Error& error) {
            lines.ShowMessage(error.what());
            deleted = false;
        }
    }
    return deleted;
}

// "show" prints the document also after a failed load, as the window shows
// what the load left behind. "convert" and "generate" stop there instead:
// their result would silently lack whatever came after the error. Returns
// the exit status, which follows the outcome: warnings are no failure.
int Run(const Invocation& invocation, std::ostream& out, MessageLines& lines)
{
    SetTemplatesDirectory(invocation.templates.value_or(""));
    if (invocation.verb == Verb::Import) {
        return Import(invocation, lines) ? ExitSuccess : ExitFailure;
    }
    TqzHTML document;
    int format = 0;
    const bool opened = OpenProject(document, invocation.project, format, lines);
    bool done = opened;
    switch (invocation.verb) {
    case Verb::Show:
        WriteProjectJson(out, document, format);
        out << '\n' << std::flush;
        if (!out) {
            lines.ShowMessage("Die Ausgabe konnte nicht geschrieben werden.");
            done = false;
        }
        break;
    case Verb::Convert:
        if (opened) {
            done = SaveProject(document, invocation.out, invocation.format, lines);
        }
        break;
    case Verb::Generate:
        if (opened) {
            // A name given here is taken from the working folder, as every
            // argument is; the project's own from the project's folder.
            if (invocation.output) {
                document.SetFileSetting(fsFilename, *invocation.output);
            }
            const std::string mainFile =
                invocation.output ? *invocation.output
                                  : ResolveFromProjectFolder(invocation.project, document.GetFileSetting(fsFilename));
            CreateOutputDirectory(mainFile);
            const GenerationCounts counts = Generate(document, mainFile, lines);
            // Quiet by default: a line on stderr means that something went
            // wrong or, as a warning, wants a look; scripts rely on that.
            if (invocation.verbose) {
                lines.ShowNote("Dateien geschrieben: " + std::to_string(counts.written) +
                               ", unver\xE4ndert: " + std::to_string(counts.unchanged));
            }
            done = counts.complete && ReportStaleFiles(counts.staleFiles, invocation.prune, lines);
        }
        break;
    case Verb::Embed:
        return opened ? RunEmbed(invocation, document, out, lines) : ExitFailure;
    case Verb::CheckSite:
        return opened ? CheckSite(invocation, document, out, lines) : ExitFailure;
    case Verb::Import: // reads no project, see above
        break;
    }
    return done ? ExitSuccess : ExitFailure;
}

} // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Invocation invocation;
    try {
        invocation = ParseArguments(arguments);
    } catch (const UsageError& error) {
        err << EscapeControlCharacters(error.what()) << '\n' << UsageText << std::flush;
        return ExitUsage;
    }
    if (invocation.help) {
        out << UsageText << std::flush;
        return ExitSuccess;
    }
    if (invocation.version) {
        out << "treeweaver-cli " TW_VERSION_TEXT "\n" << std::flush;
        return ExitSuccess;
    }

    MessageLines messages(err);
    try {
        return Run(invocation, out, messages);
    } catch (const std::exception& error) {
        // The document code reports its own errors; whatever still escapes
        // (such as an exhausted memory) is told like any other message.
        messages.ShowMessage(error.what());
    }
    return ExitFailure;
}

} // namespace tw::cli
