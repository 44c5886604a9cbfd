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

// The set for a generation into mainFile, with the submenu files' extension
// set; empty after telling reporter why it cannot be used.
std::optional<TemplateSet> PrepareSet(TqzHTML& document, const std::string& mainFile, MessageSink& reporter)
{
    if (mainFile.empty()) {
        reporter.ShowMessage("Kein Dateiname zum Speichern angegeben");
        return {};
    }
    AssignLinkIDs(document.Tree());
    std::optional<TemplateSet> set = LoadTemplate(document, reporter);
    if (!set || set->AllInOne)
        return set;
    // Submenu files lie beside the main file: the extension must not lead
    // into another directory.
    const std::string fileExt = document.GetFileSetting(fsFileExt);
    if (!IsPlainName(fileExt)) {
        reporter.ShowMessage(NotPlainNameMessage("Die Dateiendung", fileExt));
        return {};
    }
    set->SubmenuExt = SubmenuExtension(fileExt, mainFile);
    return set;
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
    std::optional<TemplateSet> set = PrepareSet(document, mainFile, reporter);
    if (!set)
        return {};
    MenuWriter writer(document, *set);
    writer.SetProgress(progress);
    GenerationCounts counts;
    counts.submenuExt = set->SubmenuExt;
    try {
        writer.WriteFiles(mainFile, counts);
        counts.complete = true;
        // Also a menu in one file leaves the submenu files of earlier
        // generations behind.
        const std::string fileExt = document.GetFileSetting(fsFileExt);
        if (IsPlainName(fileExt))
            counts.staleFiles =
                StaleSubmenuFiles(ExtractFilePath(mainFile), SubmenuExtension(fileExt, mainFile), writer.FileNames());
    } catch (const Error& error) {
        reporter.ShowMessage(error.what());
    }
    return counts;
}

PageGenerator::PageGenerator(TqzHTML& document, std::string mainFile, MessageSink& reporter)
    : mainFile_(std::move(mainFile))
{
    if (std::optional<TemplateSet> set = PrepareSet(document, mainFile_, reporter)) {
        set_ = std::make_unique<TemplateSet>(std::move(*set));
        writer_ = std::make_unique<MenuWriter>(document, *set_);
    }
}

PageGenerator::~PageGenerator() = default;

std::string PageGenerator::WritePageOf(const MenuNode* node, MessageSink& reporter)
{
    GenerationCounts counts;
    try {
        return writer_->WriteFileShowing(node, mainFile_, counts);
    } catch (const Error& error) {
        reporter.ShowMessage(error.what());
        return {};
    }
}

std::string PageGenerator::SubmenuExt() const
{
    return set_ ? set_->SubmenuExt : std::string();
}

} // namespace tw
