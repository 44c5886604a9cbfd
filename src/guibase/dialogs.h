#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace tw {

enum class Answer { Yes, No, Cancel };

// What a save dialog returned: the chosen path and the 1-based index of the
// file type that was selected when it was accepted.
struct SaveChoice {
    QString path;
    int filterIndex = 1;
};

// Called while a save dialog is open whenever the user picks another file
// type: receives the text of the file-name box and the new 1-based type and
// returns the text the box is to show.
using FileTypeChangeHandler = std::function<QString(const QString& nameBoxText, int fileType)>;

// Everything a save dialog is set up with.
struct SaveRequest {
    QString filter;
    int filterIndex = 1;
    QString fileName;
    // Appended (without dot) when the user types a name without extension.
    QString defaultSuffix;
    FileTypeChangeHandler onFileTypeChange;
};

// Every dialog and message box of the desktop program goes through this
// interface, so tests can replace it with scripted answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Plain message box titled with the program title, OK button.
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // Confirmation box "Bestätigung" with "&Ja", "&Nein" and, when
    // cancellable, "Abbrechen".
    virtual Answer Confirm(QWidget* parent, const QString& text, bool cancellable) = 0;
    // Confirmation box "Bestätigung" with buttons of its own; the index of
    // the button chosen, or -1 when the box was closed otherwise.
    virtual int Choose(QWidget* parent, const QString& text, const QStringList& buttons) = 0;
    // Confirmation box "Bestätigung" with "&Ja" and "&Nein" before files are
    // deleted: "&Nein" is the default. details, when not empty, fills the
    // box's section that the user can unfold.
    virtual Answer ConfirmDeletion(QWidget* parent, const QString& text, const QString& details) = 0;
    // Filters are written "Beschreibung|*.a;*.b|..." as in the program's texts.
    virtual std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& initialDir,
                                            const QString& fileName) = 0;
    // A save dialog with default extension and, when given, a handler for
    // changes of the file type while it is open.
    virtual std::optional<SaveChoice> SaveFile(QWidget* parent, const SaveRequest& request) = 0;
    // Returns the chosen colour as 0x00BBGGRR, or nothing when cancelled.
    virtual std::optional<unsigned> ChooseColor(QWidget* parent, unsigned initial) = 0;
    // Where a menu is imported from: a folder of web pages or a sitemap
    // file. Returns its path, or nothing when cancelled.
    virtual std::optional<QString> ChooseImportSource(QWidget* parent, const QString& initialDir) = 0;
    // A folder chosen in a folder dialog with this title; nothing when cancelled.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& title, const QString& initialDir) = 0;
};

} // namespace tw
