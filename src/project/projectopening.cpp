#include "project/projectopening.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "project/templatelookup.h"
#include "projectfiles/projectfiles.h"

namespace tw {

void ApplyProjectTemplate(TqzHTML& document)
{
    LoadTemplateVarList(document, SelectTemplateName(document.GetFileSetting(fsTemplate)));
}

bool OpenProject(TqzHTML& document, const std::string& path, int& format, MessageSink& reporter)
{
    format = pfBinaryV11;
    const bool loaded = LoadProject(document, path, format, reporter);
    ApplyProjectTemplate(document);
    return loaded;
}

} // namespace tw
