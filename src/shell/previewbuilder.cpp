#include "shell/previewbuilder.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "generator/submenufiles.h"
#include "guibase/qtcodec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QUrl>

namespace tw {
namespace {

class CollectingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { lines.append(FromCp1252(text)); }
    QStringList lines;
};

} // namespace

PreviewBuilder::PreviewBuilder(TqzHTML& document) : document_(document) {}

bool PreviewBuilder::Build(const QString& projectFile)
{
    problem_.clear();
    if (!folder_.isValid()) {
        problem_ = QStringLiteral("Der Ordner für die Vorschau konnte nicht angelegt werden: ") + folder_.errorString();
        return false;
    }
    // A new or imported menu has no output file yet; it is shown all the
    // same, its relative links taken from the project's folder.
    std::string outputFile = document_.GetFileSetting(fsFilename);
    if (outputFile.empty())
        outputFile = "index.htm";
    const QFileInfo output(FromCp1252(ResolveFromProjectFolder(ToCp1252(projectFile), outputFile)));
    outputFolder_ = output.absolutePath();
    mainFileName_ = output.fileName();
    CollectingSink sink;
    // Files that hold their bytes already are left alone, so a small edit
    // of a large menu rewrites little. Submenu files of an earlier build
    // would stand for submenus that are gone.
    const GenerationCounts counts = Generate(document_, ToCp1252(MainFile()), sink);
    submenuExt_ = counts.submenuExt;
    for (const std::string& failure : DeleteRegularFiles(counts.staleFiles))
        sink.ShowMessage(failure);
    problem_ = sink.lines.join(QLatin1Char('\n'));
    return counts.complete;
}

QString PreviewBuilder::MainFile() const
{
    return folder_.filePath(mainFileName_);
}

QString PreviewBuilder::PageFor(const MenuNode* node) const
{
    const MenuNode* owner = node != nullptr && !node->HasChildren() ? node->Parent() : node;
    for (; owner != nullptr && !owner->IsRoot(); owner = owner->Parent()) {
        if (owner->Item() == nullptr)
            continue;
        const QString page = folder_.filePath(FromCp1252(SubmenuFileName(*owner, submenuExt_)));
        if (QFileInfo::exists(page))
            return page;
    }
    return MainFile();
}

MenuNode* PreviewBuilder::NodeOfLink(const QUrl& link) const
{
    if (!link.isLocalFile())
        return nullptr;
    const QFileInfo target(link.toLocalFile());
    if (target.absolutePath() != outputFolder_)
        return nullptr;
    MenuTree& tree = document_.Tree();
    if (target.fileName() == mainFileName_)
        return &tree.Root();
    // Only files this build wrote count, not a page of the site that happens
    // to carry such a name.
    if (!QFileInfo::exists(folder_.filePath(target.fileName())))
        return nullptr;
    const std::string name = ToCp1252(target.fileName());
    for (MenuNode* node = tree.Root().NextPreOrder(); node != nullptr; node = node->NextPreOrder()) {
        if (node->HasChildren() && node->Item() != nullptr && SubmenuFileName(*node, submenuExt_) == name)
            return node;
    }
    return nullptr;
}

} // namespace tw
