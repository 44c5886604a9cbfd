#include "shell/mainform.h"

#include "document/qzhtml.h"
#include "generator/templatesdir.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "inspector/oic.h"
#include "inspector/tflathintunit.h"
#include "shell/cfile.h"
#include "shell/corepath.h"
#include "shell/csetting.h"
#include "shell/documenteditor.h"
#include "shell/editorparts.h"
#include "shell/generalpage.h"
#include "shell/generationcontroller.h"
#include "shell/layoutpage.h"
#include "shell/menutreepage.h"
#include "shell/passingnotice.h"
#include "shell/previewbuilder.h"
#include "shell/project.h"
#include "shell/projectfilenames.h"
#include "shell/projectquestions.h"
#include "shell/siteembedcommand.h"
#include "shell/targetspread.h"
#include "shell/templatewatcher.h"
#include "shell/variablespage.h"
#include "shell/windowkeys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolTip>

namespace tw {
namespace {

constexpr int ClientWidth = 460;
constexpr int ClientHeight = 565;

// The platform's key for a standard command, or the common one where the
// platform names none.
QKeySequence StandardKey(QKeySequence::StandardKey command, const QKeySequence& common)
{
    const QKeySequence key(command);
    return key.isEmpty() ? common : key;
}

} // namespace

Tmainform::Tmainform(Dialogs& dialogs, ShellOpener& opener, const QString& programDir, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs), opener_(opener), programTitle_(QCoreApplication::applicationName()), libraries_(programDir),
      images_(CommandImages())
{
    setFixedSize(ClientWidth, ClientHeight);
    CreateFlatHint();
    CreateCommands();
    libraries_.LoadInfoLibrary(); // without it "Info" shows the program's own notice
    const bool canCheckVersion = libraries_.LoadUpdateLibrary();
    commands_[cmdVersionCheck]->setVisible(canCheckVersion);
    versionSeparator_->setVisible(canCheckVersion);

    project_ = std::make_unique<Project>();
    questions_ = new ProjectQuestions(*project_, dialogs_, this); // the window owns it
    document_ = &project_->Document();
    editor_ = &project_->Editor();
    CreatePages();
    notice_ = new PassingNotice(this); // the window owns it
    generation_ = new GenerationController(*project_, dialogs_, opener_, *this,
                                           [this](const QString& text) { ShowPassingNotice(text); });
    inspector_ = std::make_unique<tOIC>(
        layoutPage_->Controls(), dialogs_, *document_,
        tOIC::ValueWriter{[this](int setting, TColor color) { editor_->SetColor(setting, color); },
                          [this](int setting, const QString& text) { editor_->SetString(setting, text); }});
    ConnectProject();
    SetCaption();
    CreateHistoryActions();
    CreateImportAction();
    CreatePreviewAction();
    new SiteEmbedCommand(*this, dialogs_, opener_, [this] { return FinishEditing(); }); // the window owns it
    AddTargetSpreadCommands(*menuTreePage_, *editor_);
    ListTemplates();
    // Sets copied in or removed while the program runs show in the list;
    // the project's set stays marked. The window owns the watcher.
    new TemplateFolderWatcher(this, [this] {
        ListTemplates();
        MarkTemplateEntry(FromCp1252(document_->GetFileSetting(fsTemplate)));
    });
    forwardSettings_ = true;
    // The tree has the focus after start-up, so that the keyboard starts
    // where the menu is built.
    menuTreePage_->treeView()->setFocus();
    menuTreePage_->EnableItemControls(false);
    RestoreFormSettings();
}

Tmainform::~Tmainform()
{
    // Windows of our own that close with us hand the focus back while the
    // window is half torn down: no focus change may reach it any more.
    disconnect(qApp, nullptr, this, nullptr);
    // The inspector drives controls of the pages, and the pages watch the
    // document, so they go first.
    inspector_.reset();
    // The preview follows the tree page and the document.
    delete preview_;
    delete pages_;
    libraries_.Unload();
    delete questions_;
    project_.reset();
}

void Tmainform::ConnectProject()
{
    questions_->SetEditFinisher([this] { return FinishEditing(); });
    connect(project_.get(), &Project::modifiedChanged, this, &Tmainform::UpdateSaveCommand);
    connect(project_.get(), &Project::fileNameChanged, this, &Tmainform::SetCaption);
    connect(project_.get(), &Project::replaced, this, &Tmainform::ShowNewDocument);
    // Whatever is typed but not yet taken counts as unsaved work.
    for (QLineEdit* edit : {menuTreePage_->menulink(), menuTreePage_->linktarget(), layoutPage_->Controls().editor}) {
        connect(edit, &QLineEdit::textChanged, this, &Tmainform::UpdateSaveCommand);
    }
    connect(qApp, &QApplication::focusChanged, this, &Tmainform::UpdateSaveCommand);
    UpdateSaveCommand();
}

QLineEdit* Tmainform::efilename() const
{
    return generalPage_->efilename();
}
QLineEdit* Tmainform::feedit() const
{
    return generalPage_->feedit();
}
QListWidget* Tmainform::lbTemplates() const
{
    return generalPage_->lbTemplates();
}
QPushButton* Tmainform::Button2() const
{
    return generalPage_->Button2();
}

QAction* Tmainform::AddCommand(Command command, const QString& caption, const QString& hint, CommandImage image,
                               const QKeySequence& key, std::function<void(Tmainform&)> handler)
{
    QAction* action = toolBar_->addAction(images_[image], caption);
    action->setShortcut(key);
    action->setToolTip(HintWithKey(hint, key));
    // Reachable with Tab like every other control.
    toolBar_->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
    // The toolbar takes no focus, so what is still being typed in the tree or
    // the layout editor is taken first: every command sees it and New, Open
    // and closing ask about it.
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        if (FinishEditing())
            handler(*this);
    });
    commands_[command] = action;
    return action;
}

void Tmainform::CreateCommands()
{
    toolBar_ = addToolBar(QStringLiteral("Befehle"));
    toolBar_->setObjectName(QStringLiteral("CommandBar"));
    toolBar_->setAccessibleName(QStringLiteral("Befehle"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->toggleViewAction()->setEnabled(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setIconSize(ToolbarImageSize);

    AddCommand(cmdExit, QStringLiteral("Beenden"), QStringLiteral("Programm beenden"), ciExit,
               StandardKey(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)), &Tmainform::ExitClick);
    toolBar_->addSeparator();
    AddCommand(cmdNew, QStringLiteral("Neu"), QStringLiteral("Neu"), ciNew, QKeySequence::New, &Tmainform::NewClick);
    AddCommand(cmdOpen, QStringLiteral("Öffnen"), QStringLiteral("Öffnen..."), ciOpen, QKeySequence::Open,
               &Tmainform::OpenClick);
    AddCommand(cmdSave, QStringLiteral("Speichern"), QStringLiteral("Speichern"), ciSave, QKeySequence::Save,
               &Tmainform::SaveClick);
    AddCommand(cmdSaveAs, QStringLiteral("Speichern als"), QStringLiteral("Speichern unter..."), ciSaveAs,
               StandardKey(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
               &Tmainform::SaveAsClick);
    toolBar_->addSeparator();
    AddCommand(cmdGenerate, QStringLiteral("Quellcode erstellen"), QStringLiteral("Menü erstellen"), ciGenerate,
               QKeySequence(Qt::Key_F9), [](Tmainform& form) { form.generation_->Generate(); });
    AddCommand(cmdOpenMenu, QStringLiteral("Menü öffnen"), QStringLiteral("Menü anzeigen"), ciOpenMenu,
               QKeySequence(Qt::Key_F5), [](Tmainform& form) { form.generation_->OpenMenu(); });
    versionSeparator_ = toolBar_->addSeparator();
    AddCommand(cmdVersionCheck, QStringLiteral("Version prüfen"), QStringLiteral("Versionskontrolle"), ciVersionCheck,
               QKeySequence(), &Tmainform::VersionCheckClick);
    toolBar_->addSeparator();
    AddCommand(cmdInfo, QStringLiteral("Info"), QStringLiteral("Info"), ciInfo, QKeySequence(Qt::Key_F1),
               &Tmainform::InfoClick);
}

void Tmainform::CreateFlatHint()
{
    auto* flatHint = new TFlatHint(this); // the window owns it
    // The theme's tooltip colours, so that a dark theme gets light text on
    // a dark box.
    flatHint->SetColor(TFlatHint::ColorBackground, palette().color(QPalette::ToolTipBase));
    flatHint->SetColor(TFlatHint::ColorBorder, palette().color(QPalette::ToolTipText));
    flatHint->SetColor(TFlatHint::ColorArrowBackground, palette().color(QPalette::Highlight));
    flatHint->SetColor(TFlatHint::ColorArrow, palette().color(QPalette::HighlightedText));
    // The theme's tooltip font, so that a user's larger font reaches the
    // hints too; the width limit was meant for an 8-point font (11 pixels)
    // and grows with a larger one.
    constexpr int DesignHintFontPixels = 11;
    const QFont hintFont = QToolTip::font();
    const int pixels = QFontInfo(hintFont).pixelSize();
    if (pixels > DesignHintFontPixels)
        flatHint->SetMaxHintWidth(flatHint->MaxHintWidth() * pixels / DesignHintFontPixels);
    flatHint->SetFont(hintFont);
}

bool Tmainform::FinishEditing()
{
    menuTreePage_->treeView()->finishEditing();
    menuTreePage_->ApplyPendingLink();
    return inspector_->CommitEditor();
}

bool Tmainform::EditPending() const
{
    return menuTreePage_->treeView()->editing() || menuTreePage_->LinkPending() || inspector_->EditPending();
}

void Tmainform::CreateHistoryActions()
{
    undo_ = new QAction(QStringLiteral("Rückgängig"), this);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = new QAction(QStringLiteral("Wiederholen"), this);
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QUndoStack& history = editor_->History();
    const auto named = [](QAction* action, const QString& verb, const QString& step) {
        action->setText(step.isEmpty() ? verb : verb + QStringLiteral(": ") + step);
    };
    connect(&history, &QUndoStack::undoTextChanged, undo_,
            [this, named](const QString& step) { named(undo_, QStringLiteral("Rückgängig"), step); });
    connect(&history, &QUndoStack::redoTextChanged, redo_,
            [this, named](const QString& step) { named(redo_, QStringLiteral("Wiederholen"), step); });
    connect(&history, &QUndoStack::canUndoChanged, undo_, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, redo_, &QAction::setEnabled);
    undo_->setEnabled(false);
    redo_->setEnabled(false);
    connect(undo_, &QAction::triggered, this, [this] {
        if (FinishEditing())
            editor_->Undo();
    });
    connect(redo_, &QAction::triggered, this, [this] {
        if (FinishEditing())
            editor_->Redo();
    });
    connect(editor_, &DocumentEditor::stepped, this, &Tmainform::ShowHistoryStep);
    addAction(undo_);
    addAction(redo_);
    menuTreePage_->addHistoryActions(undo_, redo_);
}

void Tmainform::CreateImportAction()
{
    import_ = new QAction(QStringLiteral("Menü &importieren..."), this);
    connect(import_, &QAction::triggered, this, [this] {
        if (FinishEditing())
            ImportClick();
    });
    menuTreePage_->addWindowAction(import_);
}

void Tmainform::CreatePreviewAction()
{
    previewAction_ = new QAction(QStringLiteral("&Vorschau"), this);
    previewAction_->setShortcut(QKeySequence(Qt::Key_F12));
    connect(previewAction_, &QAction::triggered, this, [this] {
        if (FinishEditing())
            PreviewClick();
    });
    addAction(previewAction_);
    menuTreePage_->addWindowAction(previewAction_);
}

void Tmainform::ShowHistoryStep(MenuNode* item)
{
    forwardSettings_ = false;
    MarkTemplateEntry(FromCp1252(document_->GetFileSetting(fsTemplate)));
    for (auto [edit, index] : {std::pair{efilename(), fsFilename}, std::pair{feedit(), fsFileExt}}) {
        const QString text = FromCp1252(document_->GetFileSetting(index));
        if (edit->text() != text)
            edit->setText(text);
    }
    forwardSettings_ = true;
    inspector_->Reload();
    menuTreePage_->ShowSelectedLink();
    if (item)
        menuTreePage_->SelectNode(*item);
    variablesPage_->reselectCurrent();
}

void Tmainform::CreatePages()
{
    pages_ = new QTabWidget;
    pages_->setDocumentMode(true);
    menuTreePage_ = new MenuTreePage(*editor_, dialogs_);
    menuTreePage_->setOutputFileNameSource([this] { return efilename()->text(); });
    pages_->addTab(menuTreePage_, QStringLiteral("Menüstruktur"));

    settingsPages_ = new QTabWidget;
    settingsPages_->setDocumentMode(true);
    generalPage_ = new GeneralPage;
    settingsPages_->addTab(generalPage_, QStringLiteral("Allgemein"));
    layoutPage_ = new LayoutPage;
    settingsPages_->addTab(layoutPage_, QStringLiteral("Layout"));
    variablesPage_ = new VariablesPage(*editor_, dialogs_);
    settingsPages_->addTab(variablesPage_, QStringLiteral("eigene Variablen"));
    pages_->addTab(settingsPages_, QStringLiteral("Menüeinstellungen"));
    pages_->setCurrentWidget(menuTreePage_);
    setCentralWidget(pages_);
    ConnectSettingControls();
    CreateWindowKeys();
}

void Tmainform::CreateWindowKeys()
{
    auto* pageKeys = new PageKeys(this, pages_); // the window owns it
    pageKeys->setFirstControl(menuTreePage_, menuTreePage_->treeView());
    pageKeys->setFirstControl(generalPage_, efilename());
    pageKeys->setFirstControl(layoutPage_, layoutPage_->Controls().tree);
    pageKeys->setFirstControl(variablesPage_, variablesPage_->listView());
    AddContextMenuKey(this);
}

void Tmainform::ConnectSettingControls()
{
    for (QLineEdit* edit : {efilename(), feedit()}) {
        connect(edit, &QLineEdit::textChanged, this,
                [this, edit](const QString& text) { SettingChanged(Tag(edit), text); });
    }
    connect(Button2(), &QPushButton::clicked, this, &Tmainform::Button2Click);
    // A click applies the template again even on the entry already selected;
    // selecting an entry with the keyboard applies it as well. (A mouse press
    // selects before the click; the click alone applies then.)
    connect(lbTemplates(), &QListWidget::itemClicked, this, &Tmainform::ApplySelectedTemplate);
    connect(lbTemplates(), &QListWidget::itemSelectionChanged, this, [this] {
        if (!fillingTemplateList_ && QGuiApplication::mouseButtons() == Qt::NoButton &&
            !lbTemplates()->selectedItems().isEmpty())
            ApplySelectedTemplate();
    });
}

void Tmainform::SettingChanged(int index, const QString& text)
{
    if (!forwardSettings_)
        return;
    // The project stores file names in Windows-1252: a name it cannot hold
    // would name another file ("?" for each such character).
    if (const QString odd = CharactersOutsideCodePage(text); !odd.isEmpty()) {
        auto* edit = index == fsFilename ? efilename() : feedit();
        forwardSettings_ = false;
        edit->setText(FromCp1252(document_->GetFileSetting(index)));
        forwardSettings_ = true;
        dialogs_.Message(this, QStringLiteral("Das Projekt kann Dateinamen mit den Zeichen „") + odd +
                                   QStringLiteral("“ nicht speichern. Bitte wählen Sie einen anderen Namen."));
        return;
    }
    editor_->SetFileSetting(index, text);
}

void Tmainform::UpdateSaveCommand()
{
    // Called while the window is still being built.
    if (!inspector_ || !project_)
        return;
    const bool unsaved = project_->Modified() || EditPending();
    QAction* save = commands_[cmdSave];
    // Told on every change of the document (each variable a load reads): the
    // title and the toolbar change only when the state does.
    if (save->isEnabled() == unsaved && isWindowModified() == unsaved)
        return;
    save->setEnabled(unsaved);
    save->setIcon(images_[unsaved ? ciSave : ciSaveDisabled]);
    setWindowModified(unsaved);
}

void Tmainform::ListTemplates()
{
    fillingTemplateList_ = true;
    lbTemplates()->clear();
    // A set in several folders is listed once; the first folder's is used.
    QStringList names;
    for (const std::string& folder : TemplateSearchPath())
        ListSubdirectories(FromCp1252(folder), names, true);
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    lbTemplates()->addItems(names);
    fillingTemplateList_ = false;
}

void Tmainform::ApplySelectedTemplate()
{
    const QListWidgetItem* item = lbTemplates()->currentItem();
    const QString name = item && item->isSelected() ? item->text() : QString();
    editor_->ApplyTemplate(name);
    variablesPage_->reselectCurrent();
}

void Tmainform::SelectTemplate(const QString& name)
{
    MarkTemplateEntry(name);
    ApplySelectedTemplate();
}

void Tmainform::MarkTemplateEntry(const QString& name)
{
    fillingTemplateList_ = true;
    QListWidget* list = lbTemplates();
    list->clearSelection();
    list->setCurrentRow(-1);
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().compare(name, Qt::CaseInsensitive) == 0) {
            list->setCurrentRow(row);
            break;
        }
    }
    fillingTemplateList_ = false;
}

void Tmainform::ShowDocumentSettings()
{
    // The project applied its template set's rows when it was opened.
    forwardSettings_ = false;
    MarkTemplateEntry(FromCp1252(document_->GetFileSetting(fsTemplate)));
    efilename()->setText(FromCp1252(document_->GetFileSetting(fsFilename)));
    feedit()->setText(FromCp1252(document_->GetFileSetting(fsFileExt)));
    forwardSettings_ = true;
    variablesPage_->reselectCurrent();
    inspector_->Reload();
}

void Tmainform::SetCaption()
{
    const QString& fileName = ProjectFileName();
    setWindowTitle(fileName.isEmpty() ? QStringLiteral("[*]") + programTitle_
                                      : FileNameOnly(fileName) + QStringLiteral("[*] - ") + programTitle_);
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    if (questions_->SaveIfModified() == SaveOutcome::Cancelled) {
        event->ignore();
        return;
    }
    StoreFormSettings();
    if (preview_)
        preview_->close();
    project_->Close();
    event->accept();
}

} // namespace tw
