// The document lifecycle of the main window: New, Open, Save, Save As and
// the questions around them, and the commands that act on the document.
#include "shell/mainform.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/dialogs.h"
#include "guibase/messageboxreporter.h"
#include "guibase/qtcodec.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "projectfiles/projectfiles.h"
#include "shell/corepath.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/menutreepage.h"
#include "shell/outputplace.h"
#include "shell/passingnotice.h"
#include "shell/previewbuilder.h"
#ifdef TW_WEBENGINE
#include "shell/previewwindow.h"
#endif
#include "shell/project.h"
#include "shell/projectfilenames.h"
#include "shell/projectquestions.h"
#include "shell/stalefilesquestion.h"
#include "shell/variablespage.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolBar>
#include <QUrl>

#include <cstdint>

#ifndef TW_VERSION_TEXT
#error "TW_VERSION_TEXT must be defined by the build"
#endif

namespace tw {
namespace {

constexpr int NoticeMilliseconds = 4000;

} // namespace

TqzHTML& Tmainform::Document()
{
    return project_->Document();
}

DocumentEditor& Tmainform::Editor()
{
    return project_->Editor();
}

const QString& Tmainform::ProjectFileName() const
{
    return project_->FileName();
}

int Tmainform::ProjectFormat() const
{
    return project_->Format();
}

void Tmainform::NewClick()
{
    questions_->New();
}

void Tmainform::ImportClick()
{
    questions_->Import();
}

void Tmainform::ShowNewDocument()
{
    // Ends any edit in place; the keyboard goes on in the tree.
    menuTreePage_->treeView()->setFocus();
    ShowDocumentSettings();
    menuTreePage_->ShowSelectedLink();
    menuTreePage_->EnableItemControls(false);
    variablesPage_->afterOpen();
    menuTreePage_->expandRoot();
}

void Tmainform::OpenClick()
{
    questions_->OpenChosen();
}

void Tmainform::OpenProject(const QString& path)
{
    questions_->Open(path);
}

void Tmainform::SaveClick()
{
    questions_->Save();
}

void Tmainform::SaveAsClick()
{
    questions_->SaveAs();
}

void Tmainform::GenerateClick()
{
    // A relative output name is taken from the project's folder, which the
    // core reaches also when its name is outside the code page.
    const CorePath project(ProjectFileName());
    const std::string mainFile = ResolveFromProjectFolder(project.Path(), document_->GetFileSetting(fsFilename));
    const QString setting = FromCp1252(document_->GetFileSetting(fsFilename));
    const QString outputFile = setting.isEmpty() || ProjectFileName().isEmpty()
                                   ? setting
                                   : QFileInfo(ProjectFileName()).dir().filePath(setting);
    const QString folder = QFileInfo(outputFile).absolutePath();
    if (!outputFile.isEmpty() && !OfferOutputFolder(folder))
        return;
    GenerationCounts counts;
    {
        const BusyCursor busy;
        MessageBoxReporter reporter(dialogs_, this);
        counts = Generate(*document_, mainFile, reporter);
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
    const CorePath project(ProjectFileName());
    const std::string fileName = ResolveFromProjectFolder(project.Path(), document_->GetFileSetting(fsFilename));
    if (fileName.empty())
        dialogs_.Message(this, QStringLiteral("Kein Dateiname zum Speichern angegeben"));
    else if (!FileExists(fileName))
        dialogs_.Message(this, QStringLiteral("Es wurde noch kein Menü erstellt!"));
    else
        OpenWithShell(opener_, dialogs_, this, QUrl::fromLocalFile(FromCp1252(fileName)));
}

void Tmainform::PreviewClick()
{
    // Made on first use: its private folder is not needed before.
    if (!previewBuilder_)
        previewBuilder_ = std::make_unique<PreviewBuilder>(*document_);
#ifdef TW_WEBENGINE
    if (preview_ == nullptr)
        preview_ = new PreviewWindow(
            *editor_, *menuTreePage_, *previewBuilder_, dialogs_, opener_, [this] { return ProjectFileName(); }, this);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
#else
    if (previewBuilder_->Build(ProjectFileName()))
        OpenWithShell(opener_, dialogs_, this, QUrl::fromLocalFile(previewBuilder_->MainFile()));
    else
        dialogs_.Message(this, previewBuilder_->Problem());
#endif
}

void Tmainform::Button2Click()
{
    SaveRequest request;
    request.filter = HtmlSaveFilter;
    SharedSaveDialog& dialog = questions_->SaveDialog();
    request.filterIndex = dialog.filterIndex;
    // The shared dialog last held the project file's name; offering it here
    // would let the next generation write HTML over the project. Start from
    // the output file, or from the project's name as an HTML file.
    request.fileName = efilename()->text();
    if (request.fileName.isEmpty() && !dialog.fileName.isEmpty())
        request.fileName = ChangeExtension(dialog.fileName, QStringLiteral(".htm"));
    request.defaultSuffix = HtmlDefaultSuffix;
    const auto choice = dialog.Show(dialogs_, this, request);
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
