// The document lifecycle of the main window: New, Open, Save, Save As and
// the questions around them, and the commands that act on the document.
#include "shell/mainform.h"

#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/menutreepage.h"
#include "shell/passingnotice.h"
#include "shell/previewbuilder.h"
#ifdef TW_WEBENGINE
#include "shell/previewwindow.h"
#endif
#include "shell/project.h"
#include "shell/projectfilenames.h"
#include "shell/projectquestions.h"
#include "shell/variablespage.h"

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

void Tmainform::ShowPassingNotice(const QString& text)
{
    lastNotice_ = text;
    notice_->ShowBelow(*toolBar_->widgetForAction(commands_[cmdGenerate]), text, NoticeMilliseconds);
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
