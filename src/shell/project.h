#pragma once

#include "shell/fileidentity.h"
#include "shell/recoveryfiles.h"
#include "siteimport/siteimport.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace tw {

class DocumentEditor;
class RecoveryKeeper;
class TqzHTML;

// The whole life of the window's one project, without any window or
// question of its own: the document and its history, the project file's
// name, format and what it looked like when last loaded or saved, changes
// other programs make to it, and the recovery copy of unsaved work.
//
// Operations that can fail return whether they succeeded and add what the
// user should read to problems, one message each; the window decides how
// to show them.
class Project : public QObject {
    Q_OBJECT
public:
    explicit Project(QObject* parent = nullptr);
    ~Project() override;

    TqzHTML& Document() { return *document_; }
    DocumentEditor& Editor() { return *editor_; }
    const QString& FileName() const { return fileName_; }
    int Format() const { return format_; }
    bool Modified() const;
    // The project's files as they were last loaded or saved.
    const FileIdentity& Identity() const { return identity_; }

    // A new project; the items of an imported site, when given, become its menu.
    void StartNew(const ImportedSite& site = {});
    // Reads the menu of a site and makes it a new project; nothing is
    // replaced when the site gave no items.
    bool Import(const QString& source, QStringList* problems);
    // Loads a project file, the template set's rows included before the
    // history starts. A file that loads only in part is still opened, under
    // its name, so that the user sees what was read.
    bool Open(const QString& path, QStringList* problems);
    // Loads the project's file again after another program changed it. A
    // file that does not load leaves the project as it is.
    bool Reload(QStringList* problems);
    // A recovery copy becomes the project: modified, under the file name it
    // had, with the file as it was when the copy was made. A copy that does
    // not load leaves the project as it is.
    bool Restore(const RecoveryCopy& copy, QStringList* problems);
    // Writes the project; the caller has asked what there was to ask.
    bool SaveTo(const QString& path, int format, QStringList* problems);
    // The window closes: the items go.
    void Close();

    // path is the project's own file and it did not load completely.
    bool LoadedInPart(const QString& path) const { return !path.isEmpty() && path == incompleteFile_; }
    // path is the project's own file and another program changed it since
    // it was loaded or saved.
    bool ChangedElsewhere(const QString& path) const;
    // True once for each change on disk that diskChanged announced.
    bool TakeDiskChange();
    // Looks at the disk again a little later (the user is busy now).
    void CheckDiskLater() { diskCheck_.start(); }

    // Keeps a copy of unsaved work in folder, written at most every
    // interval; failures to write it go to report.
    void KeepRecoveryCopies(const QString& folder, int intervalMs, std::function<void(const QString&)> report);
    // Writes the copy now and waits for it: the program is about to end.
    void WriteRecoveryNow();
    // The copies that ended programs left behind, oldest first.
    std::vector<RecoveryFiles::Left> LeftBehind() const;
    // Waits until a copy being written is on disk.
    void WaitForRecoveryCopy();

signals:
    void modifiedChanged(bool modified);
    // The file name changed, or the project was saved or loaded.
    void fileNameChanged();
    // The document was replaced (New, Open, reload, restore): every view
    // shows it anew.
    void replaced();
    // Another program changed the project's files.
    void diskChanged();
    // Typed characters were stored as references (see DocumentEditor).
    void charactersEscaped();

private:
    void Replaced();
    void Watch(const FileIdentity& identity);
    void CheckDisk();

    std::unique_ptr<TqzHTML> document_;
    std::unique_ptr<DocumentEditor> editor_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    QString fileName_;
    int format_ = 1;
    // The project file whose last load failed; empty when it loaded.
    QString incompleteFile_;
    FileIdentity identity_;
    // The last change on disk that was announced.
    FileIdentity announced_;
    QFileSystemWatcher watcher_;
    // Changes on disk come in bursts (write, rename); they are looked at once
    // the burst is over, outside the watcher's signal.
    QTimer diskCheck_;
    bool writing_ = false;
};

} // namespace tw
