#include "document/qzhtml.h"
#include "generator/generateprogress.h"
#include "generator/generator.h"
#include "generator/menuwriter.h"
#include "generator/submenufiles.h"
#include "generator/templatesdir.h"
#include "generator/templateset.h"
#include "platform/error.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <optional>

namespace tw {
namespace {

// "fileext" with a leading "." added, or the main file's extension. When
// both are empty, submenu files get no extension at all.
std::string SubmenuExtension(const std::string& fileExt, const std::string& mainFile)
{
    std::string extension = fileExt.empty() ? ExtractFileExt(mainFile) : fileExt;
    if (!extension.empty() && extension.front() != '.')
        extension.insert(extension.begin(), '.');
    return extension;
}

} // namespace

GenerationCounts Generate(TqzHTML& document, MessageSink& reporter)
{
    return Generate(document, document.GetFileSetting(fsFilename), reporter);
}

GenerationCounts Generate(TqzHTML& document, const std::string& mainFile, MessageSink& reporter)
{
    return Generate(document, mainFile, reporter, {});
}

GenerationCounts Generate(TqzHTML& document, const std::string& mainFile, MessageSink& reporter,
                          const GenerationProgress& progress)
{
    if (mainFile.empty()) {
        reporter.ShowMessage("Kein Dateiname zum Speichern angegeben");
        return {};
    }
    AssignLinkIDs(document.Tree());
    std::optional<TemplateSet> set = LoadTemplate(document, reporter);
    if (!set)
        return {};
    const std::string fileExt = document.GetFileSetting(fsFileExt);
    const bool plainExtension = IsPlainName(fileExt);
    const std::string submenuExt = SubmenuExtension(fileExt, mainFile);
    if (!set->AllInOne) {
        // Submenu files lie beside the main file: the extension must not lead
        // into another directory.
        if (!plainExtension) {
            reporter.ShowMessage(NotPlainNameMessage("Die Dateiendung", fileExt));
            return {};
        }
        set->SubmenuExt = submenuExt;
    }
    MenuWriter writer(document, *set);
    writer.SetProgress(progress);
    GenerationCounts counts;
    counts.submenuExt = set->SubmenuExt;
    try {
        writer.WriteFiles(mainFile, counts);
        counts.complete = true;
        // Also a menu in one file leaves the submenu files of earlier
        // generations behind.
        if (plainExtension)
            counts.staleFiles = StaleSubmenuFiles(ExtractFilePath(mainFile), submenuExt, writer.FileNames());
    } catch (const Error& error) {
        reporter.ShowMessage(error.what());
    }
    return counts;
}

} // namespace tw
