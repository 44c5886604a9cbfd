#include "shell/project.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "platform/messages.h"
#include "project/projectopening.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/projectfiles.h"
#include "shell/corepath.h"
#include "shell/documenteditor.h"
#include "shell/projectfilenames.h"
#include "shell/recoverykeeper.h"

#include <QFileInfo>

#include <exception>

namespace tw {
namespace {

// A burst of writes by another program is over after this long.
constexpr int DiskCheckDelayMs = 300;

// Collects what the core reports, one message each.
class CollectedMessages : public MessageSink {
public:
    explicit CollectedMessages(QStringList* problems) : problems_(problems) {}
    void ShowMessage(const std::string& text) override
    {
        if (problems_)
            problems_->append(FromCp1252(text));
    }

private:
    QStringList* problems_;
};

void Add(QStringList* problems, const QString& text)
{
    if (problems)
        problems->append(text);
}

} // namespace

Project::Project(QObject* parent)
    : QObject(parent), document_(std::make_unique<TqzHTML>([this](bool modified) { emit modifiedChanged(modified); })),
      editor_(std::make_unique<DocumentEditor>(*document_))
{
    diskCheck_.setSingleShot(true);
    diskCheck_.setInterval(DiskCheckDelayMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &diskCheck_, qOverload<>(&QTimer::start));
    connect(&diskCheck_, &QTimer::timeout, this, &Project::CheckDisk);
    connect(editor_.get(), &DocumentEditor::charactersEscaped, this, &Project::charactersEscaped);
}

Project::~Project()
{
    // The keeper watches the editor: it goes first and takes its copy along.
    recovery_.reset();
    editor_.reset();
    document_.reset();
}

bool Project::Modified() const
{
    return document_->Modified();
}

void Project::Replaced()
{
    editor_->StartHistory();
    emit replaced();
    emit fileNameChanged();
}

void Project::StartNew(const ImportedSite& site)
{
    document_->Reset();
    if (AddImportedItems(*document_, site) > 0)
        document_->SetModified(true);
    fileName_.clear();
    incompleteFile_.clear();
    format_ = pfBinaryV11;
    Watch({});
    Replaced();
}

bool Project::Import(const QString& source, QStringList* problems)
{
    CollectedMessages messages(problems);
    // The new project has no output file yet: links start from the site's folder.
    const ImportedSite site = ReadSite(ToCp1252(source), std::string(), messages);
    if (site.items.empty())
        return false;
    StartNew(site);
    return true;
}

bool Project::Open(const QString& path, QStringList* problems)
{
    const CorePath corePath(path);
    if (!corePath.Usable()) {
        Add(problems, corePath.Problem());
        return false;
    }
    fileName_ = path;
    CollectedMessages messages(problems);
    const bool loaded = OpenProject(*document_, corePath.Path(), format_, messages);
    incompleteFile_ = loaded ? QString() : fileName_;
    Watch(FileIdentity::OfProject(fileName_, format_));
    Replaced();
    return loaded;
}

bool Project::Reload(QStringList* problems)
{
    // Tried on a scratch document first: a spoilt file must not take the
    // project, which may be the only good copy left.
    {
        const CorePath corePath(fileName_);
        TqzHTML trial;
        int format = pfBinaryV11;
        QStringList reasons;
        CollectedMessages messages(&reasons);
        if (!corePath.Usable() || !OpenProject(trial, corePath.Path(), format, messages)) {
            if (!corePath.Usable())
                reasons.append(corePath.Problem());
            Add(problems, QStringLiteral("Die Datei ") + QuotedFileName(fileName_) +
                              QStringLiteral(" konnte nicht neu geladen werden; das geöffnete Projekt bleibt, "
                                             "wie es ist.\n") +
                              reasons.join(QLatin1Char('\n')));
            // The file on disk is spoilt: the project is the one good copy.
            editor_->MarkUnsaved();
            return false;
        }
    }
    return Open(fileName_, problems);
}

bool Project::Restore(const RecoveryCopy& copy, QStringList* problems)
{
    // The copy is read into a scratch document first: one that cannot be
    // read must not empty the project (and a save then its file).
    QString reason;
    try {
        TqzHTML trial;
        int found = pfBinaryV11;
        reason = FromCp1252(LoadBinaryProject(trial, copy.bytes, found).unsupported);
    } catch (const std::exception& error) {
        reason = FromCp1252(error.what());
    }
    if (!reason.isEmpty()) {
        Add(problems, QStringLiteral("Die Wiederherstellungskopie konnte nicht gelesen werden; das geöffnete "
                                     "Projekt bleibt, wie es ist, und die Kopie wird beim nächsten Start wieder "
                                     "angeboten.\n") +
                          reason);
        return false;
    }
    document_->Reset();
    int found = pfBinaryV11;
    static_cast<void>(LoadBinaryProject(*document_, copy.bytes, found));
    ApplyProjectTemplate(*document_);
    // The root is named after the project file, as loading names it.
    if (!copy.fileName.isEmpty())
        document_->Tree().SetCaption(document_->Tree().Root(), ToCp1252(FileNameOnly(copy.fileName)));
    fileName_ = copy.fileName;
    format_ = copy.format;
    incompleteFile_.clear();
    // Compared with the file as it was when the copy was made, a save asks
    // before it replaces what was saved since.
    Watch(copy.identity.Exists() || fileName_.isEmpty() ? copy.identity : FileIdentity::OfProject(fileName_, format_));
    document_->SetModified(true);
    Replaced();
    if (recovery_)
        recovery_->Write(); // kept again, now as this program's copy
    return true;
}

bool Project::SaveTo(const QString& path, int format, QStringList* problems)
{
    const CorePath corePath(path);
    if (!corePath.Usable()) {
        Add(problems, corePath.Problem());
        return false;
    }
    CollectedMessages messages(problems);
    writing_ = true;
    const bool saved = SaveProject(*document_, corePath.Path(), format, messages);
    writing_ = false;
    if (!saved)
        return false;
    fileName_ = path;
    format_ = format;
    incompleteFile_.clear();
    editor_->MarkSaved();
    Watch(FileIdentity::OfProject(fileName_, format_));
    emit fileNameChanged();
    return true;
}

void Project::Close()
{
    document_->Tree().DeleteChildren(document_->Tree().Root());
}

bool Project::ChangedElsewhere(const QString& path) const
{
    if (path != fileName_ || !identity_.Exists())
        return false;
    const FileIdentity now = FileIdentity::OfProject(path, format_);
    return now.Exists() && now != identity_;
}

void Project::Watch(const FileIdentity& identity)
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    identity_ = identity;
    announced_ = {};
    if (fileName_.isEmpty())
        return;
    for (const QString& path : ProjectFilePaths(fileName_, format_)) {
        if (QFileInfo::exists(path))
            watcher_.addPath(path);
    }
}

void Project::CheckDisk()
{
    if (fileName_.isEmpty() || writing_)
        return;
    // A file replaced by renaming another over it is a new file to watch.
    for (const QString& path : ProjectFilePaths(fileName_, format_)) {
        if (!watcher_.files().contains(path) && QFileInfo::exists(path))
            watcher_.addPath(path);
    }
    const FileIdentity now = FileIdentity::OfProject(fileName_, format_);
    if (now.Exists() && now != identity_ && now != announced_)
        emit diskChanged();
}

bool Project::TakeDiskChange()
{
    const FileIdentity now = FileIdentity::OfProject(fileName_, format_);
    if (fileName_.isEmpty() || !now.Exists() || now == identity_ || now == announced_)
        return false;
    announced_ = now;
    return true;
}

void Project::KeepRecoveryCopies(const QString& folder, int intervalMs, std::function<void(const QString&)> report)
{
    recovery_ = std::make_unique<RecoveryKeeper>(*this, folder, intervalMs);
    recovery_->SetReporter(std::move(report));
}

void Project::WriteRecoveryNow()
{
    if (recovery_)
        recovery_->WriteNow();
}

std::vector<RecoveryFiles::Left> Project::LeftBehind() const
{
    return recovery_ ? recovery_->LeftBehind() : std::vector<RecoveryFiles::Left>{};
}

void Project::WaitForRecoveryCopy()
{
    if (recovery_)
        recovery_->WaitForWriting();
}

} // namespace tw
