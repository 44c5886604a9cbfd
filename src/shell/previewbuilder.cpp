#include "shell/previewbuilder.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "generator/submenufiles.h"
#include "guibase/qtcodec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "shell/previewsnapshot.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace tw {
namespace {

class CollectingSink : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { lines.append(FromCp1252(text)); }
    QStringList lines;
};

// The rows from the top down that a submenu file's name stands for
// ("Child2,1" is the first child of the second item); empty for any other
// name.
std::vector<std::size_t> PlaceOfSubmenuFile(const std::string& name, const std::string& extension)
{
    std::vector<std::size_t> place;
    if (!IsSubmenuFileName(name, extension))
        return place;
    const std::string positions = name.substr(5, name.size() - 5 - extension.size());
    for (std::size_t start = 0; start <= positions.size();) {
        const std::size_t end = std::min(positions.find(',', start), positions.size());
        place.push_back(std::stoul(positions.substr(start, end - start)) - 1);
        start = end + 1;
    }
    return place;
}

} // namespace

PreviewBuilder::PreviewBuilder(TqzHTML& document) : document_(document), worker_([this] { Work(); }) {}

PreviewBuilder::~PreviewBuilder()
{
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
    generator_.reset();
}

bool PreviewBuilder::PrepareNames(const QString& projectFile)
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
    return true;
}

bool PreviewBuilder::Build(const QString& projectFile)
{
    if (!PrepareNames(projectFile))
        return false;
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

void PreviewBuilder::DocumentChanged()
{
    copyCurrent_ = false;
}

void PreviewBuilder::BuildPage(const QString& projectFile, const MenuNode* node)
{
    if (!PrepareNames(projectFile)) {
        emit pageBuilt({}, problem_);
        return;
    }
    if (!copyCurrent_) {
        copies_.push_back(CopyForGeneration(document_));
        copyCurrent_ = true;
    }
    {
        const std::lock_guard lock(mutex_);
        pending_ = Job{copies_.back().get(), ToCp1252(MainFile()), PlaceOf(node), ++lastSerial_};
    }
    wake_.notify_one();
    DropUnusedCopies();
}

void PreviewBuilder::DropUnusedCopies()
{
    const std::lock_guard lock(mutex_);
    const TqzHTML* newest = copies_.empty() ? nullptr : copies_.back().get();
    std::erase_if(copies_, [&](const std::unique_ptr<TqzHTML>& copy) {
        return copy.get() != newest && copy.get() != inUse_ && (!pending_ || copy.get() != pending_->copy);
    });
}

// The worker: one job at a time, the newest; a job that waits is replaced
// by a later one.
void PreviewBuilder::Work()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
            if (stop_)
                return;
            job = std::move(*pending_);
            pending_.reset();
            inUse_ = job.copy;
        }
        // The link IDs and the set are prepared once for every copy.
        if (job.copy != generatorCopy_ || job.mainFile != generatorMainFile_) {
            CollectingSink setup;
            // Generation assigns the copy's link IDs: the copy is this
            // thread's while it works on it.
            generator_ = std::make_unique<PageGenerator>(*job.copy, job.mainFile, setup);
            generatorCopy_ = job.copy;
            generatorMainFile_ = job.mainFile;
            generatorProblem_ = setup.lines;
        }
        CollectingSink sink;
        sink.lines = generatorProblem_;
        std::string page;
        if (generator_->Ready())
            page = generator_->WritePageOf(NodeAt(*job.copy, job.place), sink);
        const QString problem = sink.lines.join(QLatin1Char('\n'));
        const QString built = FromCp1252(page);
        const QString extension = FromCp1252(generator_->SubmenuExt());
        QMetaObject::invokeMethod(
            this,
            [this, serial = job.serial, built, problem, extension] {
                DropUnusedCopies();
                if (serial != lastSerial_)
                    return;
                submenuExt_ = ToCp1252(extension);
                problem_ = problem;
                emit pageBuilt(built, problem);
            },
            Qt::QueuedConnection);
    }
}

QString PreviewBuilder::MainFile() const
{
    return folder_.filePath(mainFileName_);
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
    // Only names of submenu files count, and only for items that have a
    // submenu, not a page of the site that happens to carry such a name.
    const std::vector<std::size_t> place = PlaceOfSubmenuFile(ToCp1252(target.fileName()), submenuExt_);
    MenuNode* node = place.empty() ? nullptr : NodeAt(document_, place);
    return node != nullptr && node->HasChildren() ? node : nullptr;
}

} // namespace tw
