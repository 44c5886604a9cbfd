#include "document/qzhtml.h"
#include "generator/generator.h"
#include "generator/menuwriter.h"
#include "generator/templatesdir.h"
#include "generator/templateset.h"
#include "platform/error.h"
#include "platform/messages.h"
#include "platform/paths.h"

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

std::size_t WriteFiles(TqzHTML& document, const std::string& mainFile)
{
    const TemplateState& state = document.Template();
    MenuWriter writer(document);
    writer.WriteMenuFile(nullptr, mainFile, state.AllInOne);
    std::size_t written = 1;
    if (state.AllInOne)
        return written;
    const std::string directory = ExtractFilePath(mainFile);
    // Items at the deepest opened depth and below never get a file of their own.
    const MenuNode* node = document.Tree().Root().NextPreOrder();
    while (node) {
        const int depth = node->Level() - 1;
        if (depth >= state.MaxLevel) {
            node = node->NextSkippingChildren();
            continue;
        }
        if (node->HasChildren()) {
            writer.WriteMenuFile(node, directory + writer.SubmenuFileName(*node), false);
            ++written;
        }
        node = node->NextPreOrder();
    }
    return written;
}

} // namespace

std::size_t Generate(TqzHTML& document)
{
    const std::string mainFile = document.GetFileSetting(fsFilename);
    if (mainFile.empty()) {
        ShowMessage("Kein Dateiname zum Speichern angegeben");
        return 0;
    }
    AssignLinkIDs(document.Tree());
    if (!LoadTemplate(document))
        return 0;
    if (!document.Template().AllInOne) {
        const std::string fileExt = document.GetFileSetting(fsFileExt);
        // Submenu files lie beside the main file: the extension must not lead
        // into another directory.
        if (!IsPlainName(fileExt)) {
            ShowMessage(FormatMessage("Die Dateiendung \"%s\" ist ung\xFCltig: Sie darf weder \\ noch / noch : "
                                      "noch \"..\" enthalten.",
                                      ShortForMessage(fileExt)));
            return 0;
        }
        document.Template().SubmenuExt = SubmenuExtension(fileExt, mainFile);
    }
    try {
        return WriteFiles(document, mainFile);
    } catch (const Error& error) {
        ShowMessage(error.what());
        return 0;
    }
}

} // namespace tw
