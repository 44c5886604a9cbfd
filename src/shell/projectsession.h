#pragma once

#include "guibase/dialogs.h"
#include "shell/fileidentity.h"
#include "siteimport/siteimport.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace tw {

class DocumentEditor;
class TqzHTML;

// The one save dialog of the window keeps the name and file type it was
// last set up with or accepted, for "Durchsuchen..." to start from.
struct SharedSaveDialog {
    QString fileName;
    int filterIndex = 1;
    std::optional<SaveChoice> Show(Dialogs& dialogs, QWidget* parent, const SaveRequest& request);
};

// How "save if modified" ended: the work was saved, the user said "Nein" to
// saving it, or the pending action is not to go ahead.
enum class SaveOutcome { Saved, Discarded, Cancelled };

// The life of the one project of the window, without any window of its own:
// the document, its history, the project file's name and format, whether
// the work is saved, and what the file looked like when it was last loaded
// or saved. Every way of replacing or leaving the document asks here first.
class ProjectSession : public QObject {
    Q_OBJECT
public:
    explicit ProjectSession(Dialogs& dialogs, QObject* parent = nullptr);
    ~ProjectSession() override;

    TqzHTML& Document() { return *document_; }
    DocumentEditor& Editor() { return *editor_; }
    const QString& FileName() const { return fileName_; }
    int Format() const { return format_; }
    bool Modified() const;

    // Where questions and dialogs appear.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // Takes what the views still hold before the document is saved or
    // replaced; false when a view refused its value (it said so).
    void SetEditFinisher(std::function<bool()> finish) { finishEditing_ = std::move(finish); }
    bool FinishEditing();

    // Asks whether to save unsaved work. Only "Nein" discards it; declining
    // another format, cancelling a dialog or a failed save cancel. Without
    // unsaved work the answer is Discarded: nothing is lost by going on.
    SaveOutcome SaveIfModified();
    bool Save();
    bool SaveAs();
    // A new project; the items of an imported site, when given, become its menu.
    void StartNew(const ImportedSite& site = {});
    // Opens a project named outside the open dialog, after asking about
    // unsaved work. A file that is not there leaves the project as it is.
    void Open(const QString& path);
    // Loads a project file chosen by the user; the caller has asked already.
    void Load(const QString& path);
    // A document kept for recovery becomes the project again: modified, under
    // the file name it had.
    void Restore(const std::string& binaryBytes, const QString& fileName, int format);
    bool ConfirmFormatDepth(QString& fileName, int& format);
    SharedSaveDialog& SaveDialog() { return sharedSaveDialog_; }

signals:
    void modifiedChanged(bool modified);
    // The file name changed, or the document was saved or loaded.
    void fileNameChanged();
    // The document was replaced (New, Open, reload, restore): every view
    // shows it anew.
    void replaced();

private:
    std::optional<SaveChoice> ShowSaveDialog(const QString& fileName, int format);
    bool ConfirmOverwrite(const QString& path);
    // Before writing over the project's own file: asks when the file changed
    // behind the window's back or did not load completely. path and format
    // may be changed to "save under another name".
    bool MayWriteProjectFile(QString& path, int& format);
    bool SaveTo(const QString& path, int format);
    void Watch();
    void CheckFileOnDisk();
    // Once a run: typed characters were stored as references.
    void TellAboutEscapes();

    Dialogs& dialogs_;
    QWidget* dialogParent_ = nullptr;
    std::function<bool()> finishEditing_;
    std::unique_ptr<TqzHTML> document_;
    std::unique_ptr<DocumentEditor> editor_;
    QString fileName_;
    int format_ = 1;
    // The project file whose last load failed; empty when it loaded.
    QString incompleteFile_;
    FileIdentity identity_;
    // The last change on disk the user was told about.
    FileIdentity announced_;
    SharedSaveDialog sharedSaveDialog_;
    bool toldAboutEscapes_ = false;
    QFileSystemWatcher watcher_;
    // Changes on disk come in bursts (write, rename); they are looked at once
    // the burst is over, outside the watcher's signal.
    QTimer diskCheck_;
    bool writing_ = false;
    bool asking_ = false;
};

} // namespace tw
