#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;

namespace tw {

class Dialogs;
class ShellOpener;
class SiteWindow;
class Tmainform;

// The main window's command "In Seiten schreiben…": its action in the
// toolbar and the tree's context menu, the window it opens, and the quiet
// note in the status line that, after an edit, the site's pages show an
// older menu until they are written again.
class SiteEmbedCommand : public QObject {
    Q_OBJECT
public:
    // finishEditing takes what is still being typed; false keeps the window shut.
    SiteEmbedCommand(Tmainform& window, Dialogs& dialogs, ShellOpener& opener, std::function<bool()> finishEditing);

    QAction* Action() const { return action_; }
    // Null until the command first opens it.
    SiteWindow* Window() const;
    void Open();

    static QString StaleNote();

private:
    void NoteEdit();

    Tmainform& window_;
    Dialogs& dialogs_;
    ShellOpener& opener_;
    std::function<bool()> finishEditing_;
    QAction* action_ = nullptr;
    QPointer<SiteWindow> siteWindow_;
};

} // namespace tw
