#include "siteembed/embedform.h"

#include "generator/templatesdir.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/paths.h"

namespace tw {

std::optional<EmbedForm> LoadEmbedForm(const TqzHTML& document, MessageSink& reporter)
{
    const TemplateSections sections{"Embed", "Embed"};
    const std::string name = document.GetFileSetting(fsTemplate);
    IniFile settings;
    if (IsTemplateName(name) && DirectoryExists(TemplateSetDirectory(name))) {
        try {
            settings = IniFile::Load(TemplateSetDirectory(name) + "template.ini");
        } catch (const Error& error) {
            reporter.ShowMessage(error.what());
            return std::nullopt;
        }
        // A set made only for generation says so rather than lacking levels.
        if (!settings.Read(sections.levels, "Level0")) {
            reporter.ShowMessage(FormatMessage("Die Vorlage %s hat keine Form zum Einbetten in Seiten "
                                               "([Embed] in template.ini).",
                                               name));
            return std::nullopt;
        }
    }
    std::optional<TemplateSet> set = LoadTemplate(document, reporter, sections);
    if (!set)
        return std::nullopt;
    EmbedForm form{std::move(*set), settings.ReadString(sections.main, "Stylesheet", ""),
                   settings.ReadString(sections.main, "StylesheetName", DefaultStylesheetName)};
    if (!IsPlainName(form.stylesheet)) {
        reporter.ShowMessage(NotPlainNameMessage("Der Baustein", form.stylesheet, " in template.ini"));
        return std::nullopt;
    }
    if (form.stylesheetName.empty() || !IsPlainName(form.stylesheetName)) {
        reporter.ShowMessage(NotPlainNameMessage("Der Name des Stylesheets", form.stylesheetName, " in template.ini"));
        return std::nullopt;
    }
    return form;
}

} // namespace tw
