#pragma once

#include "guibase/dialogs.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace tw {

class Project;

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

// What the window asks and tells around the project's life: before work is
// replaced or written, about changes on disk and about recovery copies. The
// project itself asks nothing; its outcomes are shown here.
class ProjectQuestions : public QObject {
    Q_OBJECT
public:
    ProjectQuestions(Project& project, Dialogs& dialogs, QWidget* window);

    // Takes what the views still hold before the project is saved or
    // replaced; false when a view refused its value (it said so).
    void SetEditFinisher(std::function<bool()> finish) { finishEditing_ = std::move(finish); }
    bool FinishEditing();

    // Asks whether to save unsaved work. Only "Nein" discards it; declining
    // another format, cancelling a dialog or a failed save cancel. Without
    // unsaved work the answer is Discarded: nothing is lost by going on.
    SaveOutcome SaveIfModified();
    bool Save();
    bool SaveAs();
    void New();
    // "Öffnen": asks about unsaved work, then for the file.
    void OpenChosen();
    // Opens a project named outside the open dialog (command line, a drop, a
    // second start), after asking about unsaved work. A file that is not
    // there leaves the project as it is.
    void Open(const QString& path);
    // "Menü importieren...".
    void Import();
    // Offers the copies that ended programs left behind, oldest first; true
    // when one became the project.
    bool OfferRecovery();
    SharedSaveDialog& SaveDialog() { return sharedSaveDialog_; }

private:
    void Load(const QString& path);
    void Tell(const QStringList& problems);
    std::optional<SaveChoice> ShowSaveDialog(const QString& fileName, int format);
    bool ConfirmOverwrite(const QString& path);
    bool ConfirmFormatDepth(QString& fileName, int& format);
    // Before writing over the project's own file: asks when the file changed
    // behind the window's back or did not load completely. path and format
    // may be changed to "save under another name".
    bool MayWriteProjectFile(QString& path, int& format);
    bool SaveTo(const QString& path, int format);
    void AskAboutDiskChange();
    // Once a run: typed characters were stored as references.
    void TellAboutEscapes();

    Project& project_;
    Dialogs& dialogs_;
    QWidget* window_;
    std::function<bool()> finishEditing_;
    SharedSaveDialog sharedSaveDialog_;
    bool toldAboutEscapes_ = false;
    bool asking_ = false;
};

} // namespace tw
