#include "shell/projectsession.h"

#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "guibase/messageboxreporter.h"
#include "guibase/qtcodec.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/projectfiles.h"
#include "shell/corepath.h"
#include "shell/documenteditor.h"
#include "shell/outputplace.h"
#include "shell/projectfilenames.h"

#include <QApplication>
#include <QFileInfo>

namespace tw {
namespace {

// A burst of writes by another program is over after this long.
constexpr int DiskCheckDelayMs = 300;

const QString DeepLevelsQuestion =
    QStringLiteral("Diese Datei enthält mehr Ebenen, als es das verwendete Format erlaubt. Wollen Sie die Datei in "
                   "einem anderen Format speichern?");

QString Quoted(const QString& path)
{
    return QLatin1Char('"') + FileNameOnly(path) + QLatin1Char('"');
}

// The extension decides the format: a ".twf" is never given binary bytes,
// nor a ".twb" text.
int FormatForName(const QString& path, int chosenFormat)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("twf"))
        return pfText;
    if (suffix == QLatin1String("twb") && chosenFormat == pfText)
        return pfBinaryV11;
    return chosenFormat;
}

} // namespace

std::optional<SaveChoice> SharedSaveDialog::Show(Dialogs& dialogs, QWidget* parent, const SaveRequest& request)
{
    fileName = request.fileName;
    filterIndex = request.filterIndex;
    auto choice = dialogs.SaveFile(parent, request);
    if (choice) {
        fileName = choice->path;
        filterIndex = choice->filterIndex;
    }
    return choice;
}

ProjectSession::ProjectSession(Dialogs& dialogs, QObject* parent)
    : QObject(parent), dialogs_(dialogs),
      document_(std::make_unique<TqzHTML>([this](bool modified) { emit modifiedChanged(modified); })),
      editor_(std::make_unique<DocumentEditor>(*document_))
{
    diskCheck_.setSingleShot(true);
    diskCheck_.setInterval(DiskCheckDelayMs);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &diskCheck_, qOverload<>(&QTimer::start));
    connect(&diskCheck_, &QTimer::timeout, this, &ProjectSession::CheckFileOnDisk);
    connect(editor_.get(), &DocumentEditor::charactersEscaped, this, &ProjectSession::TellAboutEscapes);
}

ProjectSession::~ProjectSession()
{
    editor_.reset();
    document_.reset();
}

void ProjectSession::TellAboutEscapes()
{
    if (toldAboutEscapes_)
        return;
    toldAboutEscapes_ = true;
    dialogs_.Message(dialogParent_,
                     QStringLiteral("Einige Zeichen gibt es im Zeichensatz Windows-1252 nicht. Sie wurden als "
                                    "HTML-Zeichenreferenz (etwa „&#128512;“), in Links als Prozentkodierung "
                                    "gespeichert; der Browser zeigt sie richtig an."));
}

bool ProjectSession::Modified() const
{
    return document_->Modified();
}

bool ProjectSession::FinishEditing()
{
    return !finishEditing_ || finishEditing_();
}

SaveOutcome ProjectSession::SaveIfModified()
{
    if (!FinishEditing())
        return SaveOutcome::Cancelled;
    if (!Modified())
        return SaveOutcome::Discarded;
    const QString question = fileName_.isEmpty() ? QStringLiteral("Möchten Sie die Änderungen speichern?")
                                                 : QStringLiteral("Möchten Sie Änderungen in ") + Quoted(fileName_) +
                                                       QStringLiteral(" speichern?");
    switch (dialogs_.Confirm(dialogParent_, question, true)) {
    case Answer::Cancel:
        return SaveOutcome::Cancelled;
    case Answer::No:
        return SaveOutcome::Discarded;
    case Answer::Yes:
        break;
    }
    return Save() ? SaveOutcome::Saved : SaveOutcome::Cancelled;
}

bool ProjectSession::Save()
{
    if (!FinishEditing())
        return false;
    if (fileName_.isEmpty())
        return SaveAs();
    QString fileName = fileName_;
    int format = format_;
    if (!ConfirmFormatDepth(fileName, format) || !MayWriteProjectFile(fileName, format))
        return false;
    return SaveTo(fileName, format);
}

bool ProjectSession::SaveAs()
{
    if (!FinishEditing())
        return false;
    const auto choice = ShowSaveDialog(fileName_, format_);
    if (!choice)
        return false;
    QString fileName = choice->path;
    int format = FormatForName(fileName, choice->filterIndex);
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(fileName))
        return false;
    if (!ConfirmFormatDepth(fileName, format))
        return false;
    return SaveTo(fileName, format);
}

std::optional<SaveChoice> ProjectSession::ShowSaveDialog(const QString& fileName, int format)
{
    SaveRequest request;
    request.filter = ProjectSaveFilter;
    request.filterIndex = format;
    request.fileName = fileName;
    request.defaultSuffix = ProjectDefaultSuffix;
    request.onFileTypeChange = SavetwbFileName;
    return sharedSaveDialog_.Show(dialogs_, dialogParent_, request);
}

bool ProjectSession::ConfirmOverwrite(const QString& path)
{
    const QString question = QStringLiteral("Soll die bereits existierende Datei ") + Quoted(path) +
                             QStringLiteral(" überschrieben werden?");
    return dialogs_.Confirm(dialogParent_, question, false) == Answer::Yes;
}

bool ProjectSession::ConfirmFormatDepth(QString& fileName, int& format)
{
    if (format == pfBinaryV11 || !document_->HasDeepLevels())
        return true;
    QString currentName = fileName;
    int currentFormat = format;
    // The tree stays as deep as it is, so only format 1 ends the loop.
    while (currentFormat != pfBinaryV11) {
        if (dialogs_.Confirm(dialogParent_, DeepLevelsQuestion, false) != Answer::Yes)
            return false;
        const auto choice = ShowSaveDialog(ChangeExtension(currentName, QStringLiteral(".twb")), pfBinaryV11);
        if (!choice)
            return false;
        if (choice->path != currentName && QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
            return false;
        currentName = choice->path;
        currentFormat = FormatForName(currentName, choice->filterIndex);
    }
    fileName = currentName;
    format = currentFormat;
    return true;
}

bool ProjectSession::MayWriteProjectFile(QString& path, int& format)
{
    if (path != fileName_)
        return true;
    // Saving over a file that did not load completely would replace it
    // with the part that was read.
    if (path == incompleteFile_)
        return ConfirmOverwrite(path);
    const FileIdentity now = FileIdentity::Of(path);
    if (!identity_.Exists() || !now.Exists() || now == identity_)
        return true;
    const QString question = QStringLiteral("Die Datei ") + Quoted(path) +
                             QStringLiteral(" wurde seit dem Laden oder Speichern von einem anderen Programm "
                                            "geändert. Was soll geschehen?");
    switch (dialogs_.Choose(dialogParent_, question,
                            {QStringLiteral("Überschreiben"), QStringLiteral("Unter anderem Namen speichern"),
                             QStringLiteral("Abbrechen")})) {
    case 0:
        return true;
    case 1: {
        const auto choice = ShowSaveDialog(path, format);
        if (!choice)
            return false;
        if (QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
            return false;
        path = choice->path;
        format = FormatForName(path, choice->filterIndex);
        return ConfirmFormatDepth(path, format);
    }
    default:
        return false;
    }
}

bool ProjectSession::SaveTo(const QString& path, int format)
{
    const CorePath corePath(path);
    if (!corePath.Usable()) {
        dialogs_.Message(dialogParent_, corePath.Problem());
        return false;
    }
    if (format == pfText && !editor_->PrepareForTextFormat(dialogs_, dialogParent_))
        return false;
    bool saved = false;
    writing_ = true;
    {
        const BusyCursor busy;
        MessageBoxReporter reporter(dialogs_, dialogParent_);
        saved = SaveProject(*document_, corePath.Path(), format, reporter);
    }
    writing_ = false;
    if (!saved)
        return false;
    fileName_ = path;
    format_ = format;
    incompleteFile_.clear();
    editor_->MarkSaved();
    Watch();
    emit fileNameChanged();
    return true;
}

void ProjectSession::StartNew(const ImportedSite& site)
{
    document_->Reset();
    if (AddImportedItems(*document_, site) > 0)
        document_->SetModified(true);
    fileName_.clear();
    incompleteFile_.clear();
    format_ = pfBinaryV11;
    Watch();
    editor_->StartHistory();
    emit replaced();
    emit fileNameChanged();
}

void ProjectSession::Open(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        dialogs_.Message(dialogParent_, QStringLiteral("Die Datei ") + Quoted(path) +
                                            QStringLiteral(" gibt es nicht; das Projekt bleibt geöffnet."));
        return;
    }
    if (SaveIfModified() != SaveOutcome::Cancelled)
        Load(path);
}

void ProjectSession::Load(const QString& path)
{
    const CorePath corePath(path);
    if (!corePath.Usable()) {
        dialogs_.Message(dialogParent_, corePath.Problem());
        return;
    }
    fileName_ = path;
    // A failed load has shown its message; the window shows what it left.
    bool loaded = false;
    {
        const BusyCursor busy;
        MessageBoxReporter reporter(dialogs_, dialogParent_);
        loaded = LoadProject(*document_, corePath.Path(), format_, reporter);
    }
    incompleteFile_ = loaded ? QString() : fileName_;
    Watch();
    editor_->StartHistory();
    emit replaced();
    emit fileNameChanged();
}

void ProjectSession::Restore(const std::string& binaryBytes, const QString& fileName, int format)
{
    int found = pfBinaryV11;
    LoadBinaryProject(*document_, binaryBytes, found);
    // The root is named after the project file, as loading names it.
    if (!fileName.isEmpty())
        document_->Tree().SetCaption(document_->Tree().Root(), ToCp1252(FileNameOnly(fileName)));
    fileName_ = fileName;
    format_ = format;
    incompleteFile_.clear();
    Watch();
    document_->SetModified(true);
    editor_->StartHistory();
    emit replaced();
    emit fileNameChanged();
}

void ProjectSession::Watch()
{
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    identity_ = fileName_.isEmpty() ? FileIdentity() : FileIdentity::Of(fileName_);
    if (identity_.Exists())
        watcher_.addPath(fileName_);
}

void ProjectSession::CheckFileOnDisk()
{
    if (fileName_.isEmpty() || writing_)
        return;
    // A file replaced by renaming another over it is a new file to watch.
    if (!watcher_.files().contains(fileName_) && QFileInfo::exists(fileName_))
        watcher_.addPath(fileName_);
    const FileIdentity now = FileIdentity::Of(fileName_);
    if (!now.Exists() || now == identity_ || now == announced_)
        return;
    // No question on top of another; it waits until that one is answered.
    if (asking_ || QApplication::activeModalWidget()) {
        diskCheck_.start();
        return;
    }
    // Announced once per change; saving over it is still asked.
    announced_ = now;
    const QString changed = QStringLiteral("Die Datei ") + Quoted(fileName_) +
                            QStringLiteral(" wurde von einem anderen Programm geändert.");
    const QString question =
        Modified() ? changed + QStringLiteral(" Soll sie neu geladen werden? Ihre ungespeicherten Änderungen gehen "
                                              "dabei verloren.")
                   : changed + QStringLiteral(" Soll sie neu geladen werden?");
    asking_ = true;
    const Answer answer = dialogs_.Confirm(dialogParent_, question, false);
    asking_ = false;
    if (answer == Answer::Yes)
        Load(fileName_);
}

} // namespace tw
