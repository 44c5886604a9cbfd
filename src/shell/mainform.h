#pragma once

#include "guibase/dialogs.h"
#include "shell/cdialog.h"
#include "shell/toolbarimages.h"
#include "siteimport/siteimport.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QKeySequence;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace tw {

class DocumentEditor;
class GeneralPage;
class GenerationController;
class LayoutPage;
class MenuNode;
class MenuTreePage;
class PassingNotice;
class PreviewBuilder;
class Project;
class ProjectQuestions;
class ShellOpener;
class TqzHTML;
class VariablesPage;
class tOIC;

// The program's main window. It owns the one document of the run, the name
// and format of the project file, and the toolbar commands; it asks before
// unsaved changes are lost and keeps its position and column widths in the
// user's settings.
class Tmainform : public QMainWindow {
    Q_OBJECT
public:
    // programDir: the second place (after the shared directory) where the
    // optional About and version-check libraries are looked for. Files and
    // addresses leave the program through opener.
    Tmainform(Dialogs& dialogs, ShellOpener& opener, const QString& programDir, QWidget* parent = nullptr);
    ~Tmainform() override;

    // Toolbar commands, left to right.
    enum Command {
        cmdExit,
        cmdNew,
        cmdOpen,
        cmdSave,
        cmdSaveAs,
        cmdGenerate,
        cmdOpenMenu,
        cmdVersionCheck,
        cmdInfo,
        CommandCount
    };

    Project& CurrentProject() { return *project_; }
    ProjectQuestions& Questions() { return *questions_; }
    TqzHTML& Document();
    DocumentEditor& Editor();
    QAction* UndoAction() const { return undo_; }
    // "Menü importieren..." of the tree's context menu.
    QAction* ImportAction() const { return import_; }
    QAction* PreviewAction() const { return previewAction_; }
    // The preview window: null until "Vorschau" first opens it, and always
    // without Qt WebEngine.
    QWidget* Preview() const { return preview_; }
    // The text of the last passing confirmation, and where it is shown.
    const QString& LastNotice() const { return lastNotice_; }
    PassingNotice* Notice() const { return notice_; }
    const QString& ProjectFileName() const;
    int ProjectFormat() const;

    QAction* CommandAction(Command command) const { return commands_[command]; }
    QToolBar* CommandBar() const { return toolBar_; }
    QAction* VersionCheckSeparator() const { return versionSeparator_; }
    QTabWidget* Pages() const { return pages_; }
    QTabWidget* SettingsPages() const { return settingsPages_; }
    QLineEdit* efilename() const;
    QLineEdit* feedit() const;
    QListWidget* lbTemplates() const;
    QPushButton* Button2() const;
    MenuTreePage* menuTreePage() const { return menuTreePage_; }
    LayoutPage* layoutPage() const { return layoutPage_; }
    VariablesPage* variablesPage() const { return variablesPage_; }

    // Whether the window has work that is not saved: changes of the
    // document or values still being typed.
    void UpdateSaveCommand();
    void ShowDocumentSettings();
    void ListTemplates();
    void SelectTemplate(const QString& name);
    void ApplySelectedTemplate();

    // "Beenden": closes the window, which asks about unsaved changes first.
    void ExitClick() { close(); }
    void NewClick();
    // "Menü importieren...": a new project whose menu is read from a folder
    // of web pages or a sitemap, after asking about unsaved changes.
    void ImportClick();
    void OpenClick();
    // Opens a project named outside the open dialog (command line, a dropped
    // file, a second start) as "Öffnen" does, asking about unsaved changes first.
    void OpenProject(const QString& path);
    void SaveClick();
    void SaveAsClick();
    // "Vorschau" (a key and the tree's context menu, not the toolbar): the
    // preview window, or without Qt WebEngine the preview's main file in the
    // system's browser.
    void PreviewClick();
    void InfoClick();
    void VersionCheckClick();
    // "Durchsuchen...": chooses the output file name.
    void Button2Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectProject();
    void CreateCommands();
    void CreateHistoryActions();
    void CreateImportAction();
    // The views show the document that was just created, loaded or restored.
    void ShowNewDocument();
    void CreatePreviewAction();
    // After an undo or redo: the fields that do not follow the document by
    // themselves show it again, and the tree selects the item the step
    // concerned.
    void ShowHistoryStep(MenuNode* item);
    // A short confirmation below the toolbar that goes by itself.
    void ShowPassingNotice(const QString& text);
    // Selects the entry of the template list without applying it.
    void MarkTemplateEntry(const QString& name);
    void CreateFlatHint();
    QAction* AddCommand(Command command, const QString& caption, const QString& hint, CommandImage image,
                        const QKeySequence& key, std::function<void(Tmainform&)> handler);
    void CreatePages();
    // Keys that work wherever the focus is: the page keys and Shift+F10.
    void CreateWindowKeys();
    // Takes what is still being typed in the menu tree and in the layout
    // editor; false when the layout editor holds a value it refused.
    bool FinishEditing();
    // True while a value is typed but not yet taken into the document.
    bool EditPending() const;
    void ConnectSettingControls();
    void RestoreFormSettings();
    QPoint OnVisibleScreen(const QPoint& topLeft) const;
    void StoreFormSettings();
    // The project file's name, "[*]" for unsaved work, and the program title.
    void SetCaption();

    // Receives the changes of the three file-setting controls; forwards them
    // to the document except while the window fills the controls itself.
    void SettingChanged(int index, const QString& text);

    Dialogs& dialogs_;
    ShellOpener& opener_;
    QString programTitle_;
    MakerLibraries libraries_;
    std::unique_ptr<Project> project_;
    ProjectQuestions* questions_ = nullptr;
    TqzHTML* document_ = nullptr;
    DocumentEditor* editor_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* import_ = nullptr;
    QAction* previewAction_ = nullptr;
    GenerationController* generation_ = nullptr;
    std::unique_ptr<PreviewBuilder> previewBuilder_;
    QWidget* preview_ = nullptr;
    QString lastNotice_;
    PassingNotice* notice_ = nullptr;
    std::unique_ptr<tOIC> inspector_;

    std::array<QIcon, CommandImageCount> images_;
    QToolBar* toolBar_ = nullptr;
    std::array<QAction*, CommandCount> commands_{};
    QAction* versionSeparator_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QTabWidget* settingsPages_ = nullptr;
    GeneralPage* generalPage_ = nullptr;
    LayoutPage* layoutPage_ = nullptr;
    MenuTreePage* menuTreePage_ = nullptr;
    VariablesPage* variablesPage_ = nullptr;
    // Set while the window itself changes the template list.
    bool fillingTemplateList_ = false;
    bool forwardSettings_ = false;
};

} // namespace tw
