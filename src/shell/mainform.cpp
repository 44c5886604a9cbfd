#include "shell/mainform.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "generator/templatesdir.h"
#include "inspector/oic.h"
#include "inspector/tflathintunit.h"
#include "shell/cfile.h"
#include "shell/csetting.h"
#include "shell/fmxutils.h"
#include "shell/generalpage.h"
#include "shell/layoutpage.h"
#include "shell/menutreepage.h"
#include "shell/projectfilenames.h"
#include "shell/variablespage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>

namespace tw {
namespace {

constexpr int ClientWidth = 460;
constexpr int ClientHeight = 565;

} // namespace

void Tmainform::MessageBoxSink::ShowMessage(const std::string& text)
{
    owner_.dialogs_.Message(&owner_, FromCp1252(text));
}

Tmainform::Tmainform(Dialogs& dialogs, const QString& programDir, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs), messageSink_(*this), scopedSink_(messageSink_),
      programTitle_(QCoreApplication::applicationName()), libraries_(programDir), images_(CommandImages(*style()))
{
    setFixedSize(ClientWidth, ClientHeight);
    CreateFlatHint();
    SetProgramCaption();
    CreateCommands();
    libraries_.LoadInfoLibrary();
    const bool canCheckVersion = libraries_.LoadUpdateLibrary();
    commands_[cmdVersionCheck]->setVisible(canCheckVersion);
    versionSeparator_->setVisible(canCheckVersion);

    document_ = std::make_unique<TqzHTML>([this](bool modified) { DocumentChanged(modified); });
    CreatePages();
    inspector_ = std::make_unique<tOIC>(layoutPage_->Controls(), dialogs_, *document_);
    ListTemplates();
    forwardSettings_ = true;
    // No control has the focus after start-up.
    setFocus();
    menuTreePage_->EnableItemControls(false);
    RestoreFormSettings();
}

Tmainform::~Tmainform()
{
    // The inspector drives controls of the pages, and the pages watch the
    // document, so they go first.
    inspector_.reset();
    delete pages_;
    libraries_.Unload();
    document_.reset();
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
                               void (Tmainform::*handler)())
{
    QAction* action = toolBar_->addAction(images_[image], caption);
    action->setToolTip(hint);
    // The toolbar takes no focus, so what is still being typed in the tree or
    // the layout editor is taken first: every command sees it and New, Open
    // and closing ask about it.
    connect(action, &QAction::triggered, this, [this, handler] {
        if (FinishEditing())
            (this->*handler)();
    });
    commands_[command] = action;
    return action;
}

void Tmainform::CreateCommands()
{
    toolBar_ = addToolBar(QStringLiteral("Befehle"));
    toolBar_->setObjectName(QStringLiteral("CommandBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->toggleViewAction()->setEnabled(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);

    AddCommand(cmdExit, QStringLiteral("Beenden"), QStringLiteral("Programm beenden"), ciExit, &Tmainform::ExitClick);
    toolBar_->addSeparator();
    AddCommand(cmdNew, QStringLiteral("Neu"), QStringLiteral("Neu"), ciNew, &Tmainform::NewClick);
    AddCommand(cmdOpen, QStringLiteral("Öffnen"), QStringLiteral("Öffnen..."), ciOpen, &Tmainform::OpenClick);
    AddCommand(cmdSave, QStringLiteral("Speichern"), QStringLiteral("Speichern"), ciSave, &Tmainform::SaveClick);
    AddCommand(cmdSaveAs, QStringLiteral("Speichern als"), QStringLiteral("Speichern unter..."), ciSaveAs,
               &Tmainform::SaveAsClick);
    toolBar_->addSeparator();
    AddCommand(cmdGenerate, QStringLiteral("Quellcode erstellen"), QStringLiteral("Menü erstellen"), ciGenerate,
               &Tmainform::GenerateClick);
    AddCommand(cmdOpenMenu, QStringLiteral("Menü öffnen"), QStringLiteral("Menü anzeigen"), ciOpenMenu,
               &Tmainform::OpenMenuClick);
    versionSeparator_ = toolBar_->addSeparator();
    AddCommand(cmdVersionCheck, QStringLiteral("Version prüfen"), QStringLiteral("Versionskontrolle"), ciVersionCheck,
               &Tmainform::VersionCheckClick);
    toolBar_->addSeparator();
    AddCommand(cmdInfo, QStringLiteral("Info"), QStringLiteral("Info"), ciInfo, &Tmainform::InfoClick);
}

void Tmainform::CreateFlatHint()
{
    FlatHint1 = new TFlatHint(this);
    FlatHint1->SetColor(TFlatHint::ColorArrowBackground, palette().color(QPalette::Highlight));
    FlatHint1->SetColor(TFlatHint::ColorArrow, palette().color(QPalette::HighlightedText));
    // The hints were laid out for an 8-point font.
    QFont hintFont = font();
    hintFont.setPixelSize(11);
    FlatHint1->SetFont(hintFont);
}

bool Tmainform::FinishEditing()
{
    menuTreePage_->treeView()->finishEditing();
    return inspector_->CommitEditor();
}

void Tmainform::CreatePages()
{
    pages_ = new QTabWidget;
    pages_->setDocumentMode(true);
    menuTreePage_ = new MenuTreePage(*document_, dialogs_);
    menuTreePage_->setOutputFileNameSource([this] { return efilename()->text(); });
    pages_->addTab(menuTreePage_, QStringLiteral("Menüstruktur"));

    settingsPages_ = new QTabWidget;
    settingsPages_->setDocumentMode(true);
    generalPage_ = new GeneralPage;
    settingsPages_->addTab(generalPage_, QStringLiteral("Allgemein"));
    layoutPage_ = new LayoutPage;
    settingsPages_->addTab(layoutPage_, QStringLiteral("Layout"));
    variablesPage_ = new VariablesPage(*document_, dialogs_);
    settingsPages_->addTab(variablesPage_, QStringLiteral("eigene Variablen"));
    pages_->addTab(settingsPages_, QStringLiteral("Menüeinstellungen"));
    pages_->setCurrentWidget(menuTreePage_);
    setCentralWidget(pages_);
    ConnectSettingControls();
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
    if (forwardSettings_)
        document_->SetFileSetting(index, ToCp1252(text));
}

void Tmainform::DocumentChanged(bool modified)
{
    QAction* save = commands_[cmdSave];
    save->setEnabled(modified);
    save->setIcon(images_[modified ? ciSave : ciSaveDisabled]);
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
    LoadTemplateVarList(*document_, ToCp1252(name));
    SettingChanged(Tag(lbTemplates()), name);
    variablesPage_->reselectCurrent();
}

void Tmainform::SelectTemplate(const QString& name)
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
    ApplySelectedTemplate();
}

void Tmainform::ShowDocumentSettings()
{
    forwardSettings_ = false;
    SelectTemplate(FromCp1252(document_->GetFileSetting(fsTemplate)));
    efilename()->setText(FromCp1252(document_->GetFileSetting(fsFilename)));
    feedit()->setText(FromCp1252(document_->GetFileSetting(fsFileExt)));
    forwardSettings_ = true;
    inspector_->Reload();
}

void Tmainform::SetProgramCaption()
{
    setWindowTitle(programTitle_);
}

void Tmainform::SetCaption()
{
    setWindowTitle(FileNameOnly(ProjectFileName_) + QStringLiteral(" - ") + programTitle_);
}

void Tmainform::RestoreFormSettings()
{
    const FormSettings values = ReadFormSettings();
    if (values.Left || values.Top)
        move(values.Left.value_or(x()), values.Top.value_or(y()));
    if (values.LayoutWidth)
        inspector_->SetSplitPos(*values.LayoutWidth);
    const auto widths = variablesPage_->columnWidths();
    variablesPage_->setColumnWidths(values.ColVarNameWidth.value_or(widths.name),
                                    values.ColVarTextWidth.value_or(widths.value));
}

void Tmainform::StoreFormSettings() const
{
    FormSettings values;
    values.Left = x();
    values.Top = y();
    values.LayoutWidth = inspector_->SplitPos();
    const auto widths = variablesPage_->columnWidths();
    values.ColVarNameWidth = widths.name;
    values.ColVarTextWidth = widths.value;
    WriteFormSettings(values);
}

void Tmainform::closeEvent(QCloseEvent* event)
{
    if (!FinishEditing() || !QuerySaveChanges()) {
        event->ignore();
        return;
    }
    StoreFormSettings();
    document_->Tree().DeleteChildren(document_->Tree().Root());
    event->accept();
}

} // namespace tw
