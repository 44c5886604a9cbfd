// The document lifecycle of the main window: New, Open, Save, Save As and
// the questions around them, and the commands that act on the document.
#include "shell/mainform.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/menutreepage.h"
#include "shell/outputplace.h"
#include "shell/passingnotice.h"
#include "shell/previewbuilder.h"
#ifdef TW_WEBENGINE
#include "shell/previewwindow.h"
#endif
#include "shell/projectfilenames.h"
#include "shell/stalefilesquestion.h"
#include "shell/textformatlinebreaks.h"
#include "shell/variablespage.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolBar>

#include <cstdint>

#ifndef TW_VERSION_TEXT
#error "TW_VERSION_TEXT must be defined by the build"
#endif

namespace tw {
namespace {

constexpr int NoticeMilliseconds = 4000;

const QString DeepLevelsQuestion =
    QStringLiteral("Diese Datei enthält mehr Ebenen, als es das verwendete Format erlaubt. Wollen Sie die Datei in "
                   "einem anderen Format speichern?");

QString QuotedFileName(const QString& path)
{
    return QLatin1Char('"') + FileNameOnly(path) + QLatin1Char('"');
}

} // namespace

bool Tmainform::QuerySaveChanges()
{
    if (!document_->Modified())
        return true;
    const QString question = ProjectFileName_.isEmpty()
                                 ? QStringLiteral("Möchten Sie die Änderungen speichern?")
                                 : QStringLiteral("Möchten Sie Änderungen in ") + QuotedFileName(ProjectFileName_) +
                                       QStringLiteral(" speichern?");
    switch (dialogs_.Confirm(this, question, true)) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        break;
    }
    // The caption follows a file chosen here, in case the pending action
    // does not go ahead (a cancelled open dialog).
    if (ProjectFileName_.isEmpty()) {
        if (!SaveProjectAs())
            return false;
        SetCaption();
        return true;
    }
    // Declining another format lets the pending action go ahead unsaved.
    if (!ConfirmFormatDepth(ProjectFileName_, ProjectFormat_))
        return true;
    if (!MayReplaceProjectFile(ProjectFileName_))
        return false;
    SetCaption();
    return SaveToProjectFile(ProjectFileName_, ProjectFormat_);
}

bool Tmainform::MayReplaceProjectFile(const QString& path)
{
    return path != incompleteFile_ || ConfirmOverwrite(path);
}

bool Tmainform::SaveToProjectFile(const QString& path, int format)
{
    if (format == pfText && !PrepareLineBreaksForTextFormat(dialogs_, this, *document_))
        return false;
    bool saved = false;
    {
        const BusyCursor busy;
        saved = SaveProject(*document_, ToCp1252(path), format);
    }
    if (!saved)
        return false;
    ProjectFileName_ = path;
    ProjectFormat_ = format;
    incompleteFile_.clear();
    editor_->MarkSaved();
    return true;
}

std::optional<SaveChoice> Tmainform::ShowProjectSaveDialog(const QString& fileName, int format)
{
    SaveRequest request;
    request.filter = ProjectSaveFilter;
    request.filterIndex = format;
    request.fileName = fileName;
    request.defaultSuffix = ProjectDefaultSuffix;
    request.onFileTypeChange = SavetwbFileName;
    return ShowSharedSaveDialog(request);
}

std::optional<SaveChoice> Tmainform::ShowSharedSaveDialog(const SaveRequest& request)
{
    saveDialogFileName_ = request.fileName;
    saveDialogFilterIndex_ = request.filterIndex;
    auto choice = dialogs_.SaveFile(this, request);
    if (choice) {
        saveDialogFileName_ = choice->path;
        saveDialogFilterIndex_ = choice->filterIndex;
    }
    return choice;
}

bool Tmainform::ConfirmOverwrite(const QString& path)
{
    const QString question = QStringLiteral("Soll die bereits existierende Datei ") + QuotedFileName(path) +
                             QStringLiteral(" überschrieben werden?");
    return dialogs_.Confirm(this, question, false) == Answer::Yes;
}

bool Tmainform::SaveProjectAs()
{
    const auto choice = ShowProjectSaveDialog(ProjectFileName_, ProjectFormat_);
    if (!choice)
        return false;
    if (QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
        return false;
    QString fileName = choice->path;
    int format = choice->filterIndex;
    if (!ConfirmFormatDepth(fileName, format))
        return false;
    return SaveToProjectFile(fileName, format);
}

bool Tmainform::ConfirmFormatDepth(QString& fileName, int& format)
{
    if (format == pfBinaryV11 || !document_->HasDeepLevels())
        return true;
    QString currentName = fileName;
    int currentFormat = format;
    // The tree stays as deep as it is, so only format 1 ends the loop.
    while (currentFormat != pfBinaryV11) {
        if (dialogs_.Confirm(this, DeepLevelsQuestion, false) != Answer::Yes)
            return false;
        const QString proposed = ChangeExtension(currentName, QStringLiteral(".twb"));
        const auto choice = ShowProjectSaveDialog(proposed, pfBinaryV11);
        if (!choice)
            return false;
        if (choice->path != currentName && QFileInfo::exists(choice->path) && !ConfirmOverwrite(choice->path))
            return false;
        currentName = choice->path;
        currentFormat = choice->filterIndex;
    }
    fileName = currentName;
    format = currentFormat;
    return true;
}

void Tmainform::NewClick()
{
    if (QuerySaveChanges())
        StartNewProject();
}

void Tmainform::ImportClick()
{
    if (!QuerySaveChanges())
        return;
    const auto source = dialogs_.ChooseImportSource(this, DirectoryPart(ProjectFileName_));
    if (!source)
        return;
    ImportedSite site;
    {
        const BusyCursor busy;
        // The new project has no output file yet: links start from the site's folder.
        site = ReadSite(ToCp1252(*source), std::string(), messageSink_);
    }
    // What went wrong has been shown; the project stays as it was.
    if (!site.items.empty())
        StartNewProject(site);
}

void Tmainform::StartNewProject(const ImportedSite& site)
{
    setFocus(); // takes the focus from any control
    document_->Reset();
    if (AddImportedItems(*document_, site) > 0)
        document_->SetModified(true);
    ShowDocumentSettings();
    menuTreePage_->EnableItemControls(false);
    menuTreePage_->expandRoot();
    ProjectFileName_.clear();
    incompleteFile_.clear();
    SetProgramCaption();
    ProjectFormat_ = pfBinaryV11;
    editor_->StartHistory();
}

void Tmainform::OpenClick()
{
    if (!QuerySaveChanges())
        return;
    const auto path = dialogs_.OpenFile(this, ProjectOpenFilter, DirectoryPart(ProjectFileName_), QString());
    if (path)
        LoadProjectFile(*path);
}

void Tmainform::OpenProject(const QString& path)
{
    if (QuerySaveChanges())
        LoadProjectFile(path);
}

void Tmainform::LoadProjectFile(const QString& path)
{
    ProjectFileName_ = path;
    // A failed load has shown its message; the window shows what it left.
    bool loaded = false;
    {
        const BusyCursor busy;
        loaded = LoadProject(*document_, ToCp1252(ProjectFileName_), ProjectFormat_);
    }
    incompleteFile_ = loaded ? QString() : ProjectFileName_;
    ShowDocumentSettings();
    SetCaption();
    variablesPage_->afterOpen();
    menuTreePage_->expandRoot();
    editor_->StartHistory();
}

void Tmainform::SaveClick()
{
    if (ProjectFileName_.isEmpty()) {
        SaveAsClick();
        return;
    }
    QString fileName = ProjectFileName_;
    int format = ProjectFormat_;
    if (!ConfirmFormatDepth(fileName, format) || !MayReplaceProjectFile(fileName))
        return;
    if (SaveToProjectFile(fileName, format))
        SetCaption();
}

void Tmainform::SaveAsClick()
{
    if (SaveProjectAs())
        SetCaption();
}

void Tmainform::GenerateClick()
{
    // A relative output name is taken from the project's folder.
    const std::string mainFile =
        ResolveFromProjectFolder(ToCp1252(ProjectFileName_), document_->GetFileSetting(fsFilename));
    const QString outputFile = FromCp1252(mainFile);
    const QString folder = QFileInfo(outputFile).absolutePath();
    if (!outputFile.isEmpty() && !OfferOutputFolder(folder))
        return;
    GenerationCounts counts;
    {
        const BusyCursor busy;
        counts = Generate(*document_, mainFile, messageSink_);
    }
    if (!counts.complete)
        return;
    if (!counts.staleFiles.empty())
        OfferToDeleteStaleFiles(folder, counts.staleFiles);
    QString files =
        counts.written == 1 ? QStringLiteral("1 Datei") : QString::number(counts.written) + QStringLiteral(" Dateien");
    files += QStringLiteral(" erstellt");
    // Files that already held their bytes were left as they were.
    if (counts.unchanged > 0)
        files += QStringLiteral(", ") + QString::number(counts.unchanged) + QStringLiteral(" unverändert,");
    ShowPassingNotice(files + QStringLiteral(" in „") + QDir::toNativeSeparators(folder) + QStringLiteral("“"));
}

bool Tmainform::OfferOutputFolder(const QString& folder)
{
    if (QDir(folder).exists())
        return true;
    const QString question = QStringLiteral("Der Ordner „") + QDir::toNativeSeparators(folder) +
                             QStringLiteral("“ existiert nicht. Soll er angelegt werden?");
    if (dialogs_.Confirm(this, question, false) != Answer::Yes)
        return false;
    if (QDir().mkpath(folder))
        return true;
    dialogs_.Message(this, QStringLiteral("Der Ordner „") + QDir::toNativeSeparators(folder) +
                               QStringLiteral("“ konnte nicht angelegt werden."));
    return false;
}

void Tmainform::OfferToDeleteStaleFiles(const QString& folder, const std::vector<std::string>& paths)
{
    const StaleFilesQuestion question = AskToDeleteStaleFiles(folder, paths);
    if (dialogs_.ConfirmDeletion(this, question.text, question.details) != Answer::Yes)
        return;
    QStringList failures;
    for (const std::string& failure : DeleteRegularFiles(paths))
        failures.append(FromCp1252(failure));
    if (!failures.isEmpty())
        dialogs_.Message(this, failures.join(QLatin1Char('\n')));
}

void Tmainform::ShowPassingNotice(const QString& text)
{
    lastNotice_ = text;
    notice_->ShowBelow(*toolBar_->widgetForAction(commands_[cmdGenerate]), text, NoticeMilliseconds);
}

void Tmainform::OpenMenuClick()
{
    const std::string fileName =
        ResolveFromProjectFolder(ToCp1252(ProjectFileName_), document_->GetFileSetting(fsFilename));
    if (fileName.empty())
        dialogs_.Message(this, QStringLiteral("Kein Dateiname zum Speichern angegeben"));
    else if (!FileExists(fileName))
        dialogs_.Message(this, QStringLiteral("Es wurde noch kein Menü erstellt!"));
    else
        OpenWithShell(fileName);
}

void Tmainform::PreviewClick()
{
    // Made on first use: its private folder is not needed before.
    if (!previewBuilder_)
        previewBuilder_ = std::make_unique<PreviewBuilder>(*document_);
#ifdef TW_WEBENGINE
    if (preview_ == nullptr)
        preview_ = new PreviewWindow(
            *editor_, *menuTreePage_, *previewBuilder_, [this] { return ProjectFileName_; }, this);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
#else
    if (previewBuilder_->Build(ProjectFileName_))
        OpenWithShell(ToCp1252(previewBuilder_->MainFile()));
    else
        dialogs_.Message(this, previewBuilder_->Problem());
#endif
}

void Tmainform::Button2Click()
{
    SaveRequest request;
    request.filter = HtmlSaveFilter;
    request.filterIndex = saveDialogFilterIndex_;
    // The shared dialog last held the project file's name; offering it here
    // would let the next generation write HTML over the project. Start from
    // the output file, or from the project's name as an HTML file.
    request.fileName = efilename()->text();
    if (request.fileName.isEmpty() && !saveDialogFileName_.isEmpty())
        request.fileName = ChangeExtension(saveDialogFileName_, QStringLiteral(".htm"));
    request.defaultSuffix = HtmlDefaultSuffix;
    const auto choice = ShowSharedSaveDialog(request);
    if (choice)
        efilename()->setText(choice->path);
}

void Tmainform::InfoClick()
{
    const QString product = programTitle_ + QLatin1Char(' ') + QStringLiteral(TW_VERSION_TEXT);
    const QIcon icon = windowIcon();
    if (!libraries_.ShowInfoBox(static_cast<std::uintptr_t>(winId()), product, reinterpret_cast<std::uintptr_t>(&icon)))
        dialogs_.Message(this, product + QStringLiteral("\nein Programm von Vellmark Software"));
}

void Tmainform::VersionCheckClick()
{
    // The command is visible only when the library was loaded.
    libraries_.ShowUpdateCheck(static_cast<std::uintptr_t>(winId()));
}

} // namespace tw
